// corvantide-durable-bench: what putting a file on the disk before it
// replaces the destination costs a whole export (staging, writing, syncing
// the file, the move, syncing the folder), for a keyed export of 5 keys and
// a sampled export of 100,000 frames, each with and without the syncs. The
// ratios of the two are printed at the end of the same run.
//
// The files are written in the current folder: run it on the disk whose
// cost is wanted (a temporary folder in memory syncs for free).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "export/file_output.h"
#include "export/item_export.h"
#include "host/core_services.h"
#include "host/host_interface.h"
#include "host/text_buffer.h"
#include "settings/export_settings.h"
#include "sim_host.h"

extern "C" void InitCustomize(void* hostInterface, void* moduleRecord) noexcept;

namespace corvantide_bench {
namespace {

constexpr std::int32_t kKeyedKeys = 5;
constexpr std::int32_t kSampledFrames = 100000;

bool NoSync(void*) { return true; }
bool NoFolderSync(const char*) { return true; }

// One item exported again and again through the linked plug-in.
class ExportFixture {
public:
    ExportFixture(bool sampled, bool sync) {
        InitCustomize(host_.HostInterfaceRecord(), host_.ModuleRecord());
        host_.SendStartupPhase(2);
        host_.SendStartupPhase(4);
        item_ = host_.Scene().AddItem("Box");
        for (std::int32_t k = 0; k < kKeyedKeys; ++k) {
            host_.Scene()
                .AddKey(item_, 10.0 * k)
                .Set(0, 1.0 * k)
                .Set(3, 0.5 * k)
                .Set(7, 1.0 + k)
                .Span(0, k % 2 == 0 ? simhost::kSpanTcb : simhost::kSpanBezier);
        }
        settings_ = corvantide::GetOrCreateSettings(item_);
        corvantide::EnsurePathBuffer(&settings_->destinationPath);
        base_ = (std::filesystem::current_path() / (sampled ? "durable-sampled" : "durable-keyed")).string();
        corvantide::CopyText(settings_->destinationPath, corvantide::kPathCapacity, base_.c_str());
        settings_->freezeMotion = sampled ? 1 : 0;
        settings_->beginFrame = 1;
        settings_->endFrame = kSampledFrames;
        corvantide::FileOutput = corvantide::PlatformFileOperations();
        if (!sync) {
            corvantide::FileOutput.sync = NoSync;
            corvantide::FileOutput.syncFolder = NoFolderSync;
        }
    }
    ~ExportFixture() {
        corvantide::FileOutput = corvantide::PlatformFileOperations();
        std::filesystem::remove(base_ + ".mot");
        corvantide::HostRelease(settings_->destinationPath);
        corvantide::FreeInstanceData(item_);
        corvantide::HostInterfaceRecord = nullptr;
    }
    ExportFixture(const ExportFixture&) = delete;
    ExportFixture& operator=(const ExportFixture&) = delete;

    bool Export() { return corvantide::ExportItemMotion(item_) == corvantide::kExportDone; }

private:
    simhost::SimHost host_;
    void* item_ = nullptr;
    corvantide::ExportSettings* settings_ = nullptr;
    std::string base_;
};

// Each export replaces the file of the one before, as a user exporting again does.
void RunExport(benchmark::State& state, bool sampled, bool sync) {
    ExportFixture fixture(sampled, sync);
    for (auto _ : state) {
        if (!fixture.Export()) state.SkipWithError("export failed");
    }
}

void BM_Keyed5_Synced(benchmark::State& state) { RunExport(state, false, true); }
void BM_Keyed5_NotSynced(benchmark::State& state) { RunExport(state, false, false); }
void BM_Sampled100k_Synced(benchmark::State& state) { RunExport(state, true, true); }
void BM_Sampled100k_NotSynced(benchmark::State& state) { RunExport(state, true, false); }

// Repeated: the ratios use every repetition's iterations.
BENCHMARK(BM_Keyed5_Synced)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_Keyed5_NotSynced)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_Sampled100k_Synced)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_Sampled100k_NotSynced)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The console report, and the mean time of each benchmark kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
                Total& total = totals_[run.run_name.function_name];
                total.seconds += run.real_accumulated_time;
                total.iterations += static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const char* what, const std::string& synced, const std::string& notSynced) const {
        const auto a = totals_.find(synced);
        const auto b = totals_.find(notSynced);
        if (a == totals_.end() || b == totals_.end()) return;
        const double withSync = a->second.Mean();
        const double without = b->second.Mean();
        if (without <= 0.0) return;
        std::printf("%-34s synced / not synced = %.2f  (%.3f ms against %.3f ms per export)\n", what,
                    withSync / without, withSync * 1000.0, without * 1000.0);
    }

private:
    // Every repetition's iterations together.
    struct Total {
        double seconds = 0.0;
        double iterations = 0.0;
        double Mean() const { return iterations > 0.0 ? seconds / iterations : 0.0; }
    };
    std::map<std::string, Total> totals_;
};

}  // namespace
}  // namespace corvantide_bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    corvantide_bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nCost of the syncs, in this run:\n");
    reporter.PrintRatio("keyed export, 5 keys:", "BM_Keyed5_Synced", "BM_Keyed5_NotSynced");
    reporter.PrintRatio("sampled export, 100,000 frames:", "BM_Sampled100k_Synced", "BM_Sampled100k_NotSynced");
    benchmark::Shutdown();
    return 0;
}
