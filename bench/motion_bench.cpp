// corvantide-bench: the motion file writer against a plain fprintf("%lf")
// loop printing the same bytes and a single fwrite of those bytes (the
// floor), for a sampled export of 100,000 frames and a keyed export of
// 10,000 keys; and the host memory a 100,000-frame export takes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench_data.h"
#include "export/item_export.h"
#include "host/core_services.h"
#include "host/host_interface.h"
#include "host/text_buffer.h"
#include "settings/export_settings.h"
#include "sim_host.h"

extern "C" void InitCustomize(void* hostInterface, void* moduleRecord) noexcept;

namespace corvantide_bench {
namespace {

constexpr std::int64_t kSampledFrames = 100000;
constexpr std::int64_t kKeyedKeys = 10000;

std::string OutputPath(const char* name) {
    return (std::filesystem::temp_directory_path() / ("corvantide-bench-" + std::string(name))).string();
}

const MotionData& Sampled() {
    static const MotionData data = SampledData(kSampledFrames);
    return data;
}

const MotionData& Keyed() {
    static const MotionData data = KeyedData(kKeyedKeys);
    return data;
}

// Every run writes a new file, as an export does (it writes a temporary file
// and moves it into place): truncating the last run's file would time the
// file system's handling of the old blocks instead of the printing.
void RemoveUntimed(benchmark::State& state, const std::string& path) {
    state.PauseTiming();
    std::filesystem::remove(path);
    state.ResumeTiming();
}

std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void RunWriter(benchmark::State& state, const MotionData& data) {
    const std::string path = OutputPath("writer.mot");
    std::size_t bytes = 0;
    for (auto _ : state) {
        RemoveUntimed(state, path);
        if (!WriteWithWriter(data, path.c_str())) state.SkipWithError("cannot write");
    }
    bytes = static_cast<std::size_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
    std::filesystem::remove(path);
}

void RunFprintf(benchmark::State& state, const MotionData& data) {
    const std::string path = OutputPath("fprintf.mot");
    for (auto _ : state) {
        RemoveUntimed(state, path);
        if (!WriteWithFprintf(data, path.c_str())) state.SkipWithError("cannot write");
    }
    const std::string printed = ReadFile(path);
    if (printed != TextFromWriter(data)) state.SkipWithError("fprintf and the writer printed different bytes");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(printed.size()));
    std::filesystem::remove(path);
}

void RunFwrite(benchmark::State& state, const MotionData& data) {
    const std::string text = TextFromWriter(data);
    const std::string path = OutputPath("fwrite.mot");
    for (auto _ : state) {
        RemoveUntimed(state, path);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
            state.SkipWithError("cannot write");
        }
        if (file != nullptr) std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    std::filesystem::remove(path);
}

void RunFormatting(benchmark::State& state, const MotionData& data) {
    std::size_t bytes = 0;
    for (auto _ : state) bytes = FormatWithWriter(data);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_Sampled_Writer(benchmark::State& state) { RunWriter(state, Sampled()); }
void BM_Sampled_FormattingOnly(benchmark::State& state) { RunFormatting(state, Sampled()); }
void BM_Keyed_FormattingOnly(benchmark::State& state) { RunFormatting(state, Keyed()); }
void BM_Sampled_Fprintf(benchmark::State& state) { RunFprintf(state, Sampled()); }
void BM_Sampled_Fwrite(benchmark::State& state) { RunFwrite(state, Sampled()); }
void BM_Keyed_Writer(benchmark::State& state) { RunWriter(state, Keyed()); }
void BM_Keyed_Fprintf(benchmark::State& state) { RunFprintf(state, Keyed()); }
void BM_Keyed_Fwrite(benchmark::State& state) { RunFwrite(state, Keyed()); }

// A whole sampled export of 100,000 frames through the simulated host: the
// host blocks it holds at most, beyond the item's path buffer.
void BM_Sampled_ExportPeakMemory(benchmark::State& state) {
    simhost::SimHost host;
    InitCustomize(host.HostInterfaceRecord(), host.ModuleRecord());
    host.SendStartupPhase(2);
    host.SendStartupPhase(4);
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(0, 0.0).Set(3, 0.0).Span(0, simhost::kSpanLinear);
    host.Scene().AddKey(box, 50000).Set(0, 100.0).Set(3, 6.0).Span(0, simhost::kSpanTcb);
    host.Scene().AddKey(box, 100000).Set(0, -5.0).Span(0, simhost::kSpanBezier);
    corvantide::ExportSettings* settings = corvantide::GetOrCreateSettings(box);
    corvantide::EnsurePathBuffer(&settings->destinationPath);
    corvantide::CopyText(settings->destinationPath, corvantide::kPathCapacity, OutputPath("export").c_str());
    settings->freezeMotion = 1;
    settings->beginFrame = 1;
    settings->endFrame = static_cast<std::int32_t>(kSampledFrames);
    const std::uint64_t baseline = host.Memory().BytesOutstanding();
    for (auto _ : state) {
        if (corvantide::ExportItemMotion(box) != 1) state.SkipWithError("export failed");
    }
    state.counters["peak_host_bytes"] = static_cast<double>(host.Memory().PeakBytes() - baseline);
    state.counters["file_bytes"] =
        static_cast<double>(std::filesystem::file_size(OutputPath("export") + ".mot"));
    std::filesystem::remove(OutputPath("export") + ".mot");
    corvantide::HostRelease(settings->destinationPath);
    corvantide::FreeInstanceData(box);
    corvantide::HostInterfaceRecord = nullptr;
}

BENCHMARK(BM_Sampled_Writer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sampled_Fprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sampled_FormattingOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sampled_Fwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keyed_Writer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keyed_Fprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keyed_FormattingOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keyed_Fwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sampled_ExportPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace corvantide_bench

BENCHMARK_MAIN();
