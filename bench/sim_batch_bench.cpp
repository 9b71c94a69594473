// corvantide-sim-bench: a batch export through the simulated host's panel,
// for scenes of 1,000 and 4,000 items with five keys each, from the keys and
// every frame in Local values. The time per item must not grow with the
// scene: the ratio of the two batches (4 when it grows linearly) is printed
// at the end.
//
// Files go to in-memory operations that keep nothing, so the disk's syncs do
// not hide the host's own cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "export/file_output.h"
#include "host/host_interface.h"
#include "panel_user.h"
#include "sim_host.h"

extern "C" void InitCustomize(void* hostInterface, void* moduleRecord) noexcept;

namespace corvantide_bench {
namespace {

constexpr int kKeysPerItem = 5;
constexpr double kKeySpacing = 6.0;
constexpr std::int32_t kLastFrame = 24;

char fileToken = 0;  // what the discarding operations hand out as an open file

void* OpenNothing(const char*) { return &fileToken; }
bool WriteNothing(void*, const char*, std::size_t) { return true; }
bool CloseNothing(void*) { return true; }
bool ReplaceNothing(const char*, const char*) { return true; }
bool RemoveNothing(const char*) { return true; }
bool SyncNothing(void*) { return true; }
bool SyncNoFolder(const char*) { return true; }

// A scene of `items` items and the panel set up for a batch into one folder.
class BatchFixture {
public:
    BatchFixture(std::int64_t items, bool everyFrame) : user_(host_) {
        InitCustomize(host_.HostInterfaceRecord(), host_.ModuleRecord());
        host_.SendStartupPhase(2);
        host_.SendStartupPhase(4);
        host_.iIn = 0;
        host_.iOut = kLastFrame;
        for (std::int64_t i = 0; i < items; ++i) {
            void* item = host_.Scene().AddItem("Item" + std::to_string(i));
            for (int k = 0; k < kKeysPerItem; ++k) {
                host_.Scene()
                    .AddKey(item, kKeySpacing * k)
                    .Set(0, static_cast<double>(i) + 0.5 * k)
                    .Set(3, 0.05 * k)
                    .Set(7, 1.0 + 0.01 * k);
            }
        }
        corvantide::FileOutput = {OpenNothing,   WriteNothing, CloseNothing, ReplaceNothing,
                                  RemoveNothing, SyncNothing,  SyncNoFolder};
        host_.BuildPanel();
        user_.ShowPanel();
        user_.SelectItem(host_.Scene().Items().front());
        user_.Toggle("Freeze Motion", everyFrame);
        user_.TypeBatchPath("batch");
        user_.Toggle("Use Batch Directory", true);
        user_.Toggle("Use Current Data", true);
        user_.Press("Setup Batch");
    }
    ~BatchFixture() {
        corvantide::FileOutput = corvantide::PlatformFileOperations();
        corvantide::HostInterfaceRecord = nullptr;
    }
    BatchFixture(const BatchFixture&) = delete;
    BatchFixture& operator=(const BatchFixture&) = delete;

    bool Export() {
        host_.Ui().ClearStatusHistory();
        user_.Press("Export Batch Motions");
        return host_.Violations().empty();
    }

private:
    simhost::SimHost host_;
    simhost::PanelUser user_;
};

void RunBatch(benchmark::State& state, bool everyFrame) {
    BatchFixture fixture(state.range(0), everyFrame);
    for (auto _ : state) {
        if (!fixture.Export()) state.SkipWithError("the host saw a violation");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Batch_Keys(benchmark::State& state) { RunBatch(state, false); }
void BM_Batch_EveryFrame(benchmark::State& state) { RunBatch(state, true); }

BENCHMARK(BM_Batch_Keys)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_Batch_EveryFrame)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The console report, and each repetition's processor time per batch kept
// for the ratios: the time the batch itself ran, which other programs on a
// shared machine do not lengthen by taking the processor away; and the
// median of the repetitions, which one disturbed repetition does not move.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
                times_[run.run_name.function_name + "/" + run.run_name.args].push_back(
                    run.cpu_accumulated_time / static_cast<double>(run.iterations));
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const std::string& name) const {
        const double small = Median(name + "/1000");
        const double large = Median(name + "/4000");
        if (small <= 0.0 || large <= 0.0) return;
        std::printf("%-22s 4,000 / 1,000 items = %.2f  (%.1f ms against %.1f ms of processor time per batch)\n",
                    name.c_str(), large / small, large * 1000.0, small * 1000.0);
    }

private:
    double Median(const std::string& key) const {
        const auto found = times_.find(key);
        if (found == times_.end() || found->second.empty()) return 0.0;
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    std::map<std::string, std::vector<double>> times_;
};

}  // namespace
}  // namespace corvantide_bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    corvantide_bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    reporter.PrintRatio("BM_Batch_Keys");
    reporter.PrintRatio("BM_Batch_EveryFrame");
    benchmark::Shutdown();
    return 0;
}
