// Faults injected one at a time into every export form: the host refuses
// its 1st, 2nd, ... allocation until the export completes, and the file
// system fails each open, write, close and move in turn. Every case ends
// with 0 (nothing written), the clock where it was, every host block given
// back, no temporary file, and the earlier files at the destination as they
// were. On Linux one more case hits a real file-size limit.
#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "export/envelope_key.h"
#include "export/file_output.h"
#include "export/item_export.h"
#include "host/item_record.h"
#include "linked_plugin.h"
#include "motfile/motion_reader.h"
#include "panel_user.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

using corvantide::ExportSettings;
using corvantide::FileOutput;

// The file operation of one kind that fails, counted from 0; -1: none.
struct InjectedFault {
    int open = -1, write = -1, close = -1, replace = -1;
};
InjectedFault fault;
std::map<std::string, int> operations;        // of each kind since the last reset
std::map<std::string, int> beforeSecondFile;  // the operations that made the first file

bool Due(const char* kind, int failAt) { return operations[kind]++ == failAt; }

void* CountedOpen(const char* path) {
    if (operations["open"] == 1) beforeSecondFile = operations;
    return Due("open", fault.open) ? nullptr : corvantide::PlatformFileOperations().open(path);
}
bool CountedWrite(void* file, const char* data, std::size_t size) {
    return !Due("write", fault.write) && corvantide::PlatformFileOperations().write(file, data, size);
}
bool CountedClose(void* file) {
    const bool closed = corvantide::PlatformFileOperations().close(file);
    return !Due("close", fault.close) && closed;
}
bool CountedReplace(const char* from, const char* to) {
    return !Due("replace", fault.replace) && corvantide::PlatformFileOperations().replace(from, to);
}

constexpr double kClock = 7.0;
// Batch files land in the test's directory: on Windows the batch directory is
// that directory; elsewhere a backslash is no separator, so "<dir>/b" makes
// files named "b\<item>.mot" in it.
#if defined(_WIN32)
constexpr char kBatchDirectory[] = "";
constexpr char kBatchFilePrefix[] = "";
#else
constexpr char kBatchDirectory[] = "b";
constexpr char kBatchFilePrefix[] = "b\\";
#endif
// Seven write chunks of text at least: a sampled key line is over 70 bytes.
constexpr int kSampledFrames =
    static_cast<int>(7 * corvantide::kWriteChunk / (corvantide::kMotionChannels * 70));
constexpr int kCameraKeys = 200;

class FaultSweep : public LinkedPlugin {
protected:
    void SetUp() override {
        LinkedPlugin::SetUp();
        FileOutput = {CountedOpen, CountedWrite, CountedClose, CountedReplace,
                      corvantide::PlatformFileOperations().remove};
        host.dAnim_Clock = kClock;
    }

    void* KeyedBox(std::int32_t coordinates) {
        void* parent = host.Scene().AddItem("Rig");
        host.Scene().AddKey(parent, 0).Set(0, 1.0).Set(4, 0.5);
        host.Scene().AddKey(parent, 40).Set(0, -3.0).Set(4, 1.5);
        void* box = host.Scene().AddItem("Box");
        host.Scene().SetParent(box, parent);
        for (int k = 0; k < 12; ++k) host.Scene().AddKey(box, 5.0 * k).Set(k % 9, 0.25 * k).Set(8, 1.0 + k);
        ExportSettings* settings = Prepare(box, "Box");
        settings->coordinates = coordinates;
        return box;
    }

    void* SampledBox(std::int32_t coordinates) {
        void* box = KeyedBox(coordinates);
        ExportSettings* settings = corvantide::FindSettings(box);
        settings->freezeMotion = 1;
        settings->beginFrame = 1;
        settings->endFrame = kSampledFrames;
        return box;
    }

    void* ZoomingCamera() {
        void* cam = host.Scene().AddItem("Cam", kCameraType);
        for (int k = 0; k < kCameraKeys; ++k)
            host.Scene().AddKey(cam, k).Set(0, 0.1 * k).Set(12, 1.0 + 0.01 * k);
        Prepare(cam, "Cam");
        return cam;
    }

    void WriteEarlierFiles(const std::vector<std::string>& files) {
        for (const std::string& file : files) Write(file, "earlier " + file);
    }

    // The documented end of a failed export.
    void ExpectNothingChanged(const std::vector<std::string>& files, const std::string& what) {
        std::vector<std::string> expected = files;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, Files()) << what;  // also: no temporary file
        for (const std::string& file : files) EXPECT_EQ("earlier " + file, Read(file)) << what;
        EXPECT_EQ(kClock, host.dAnim_Clock) << what;
    }

    void ExpectReadsBack(const std::string& file) {
        const auto read = corvantide::motfile::ParseMotionText(Read(file));
        EXPECT_TRUE(read.ok) << file << " line " << read.error.line << ": " << read.error.reason;
    }

    // Sweeps every fault of one kind ("allocation", "open", "write", "close"
    // or "replace") through one export.
    void Sweep(void* item, const std::vector<std::string>& files, const std::string& kind) {
        // A clean run first: how many allocations and operations it takes.
        WriteEarlierFiles(files);
        fault = InjectedFault{};
        operations.clear();
        const std::uint64_t allocationsBefore = host.Memory().AllocationsMade();
        ASSERT_EQ(1, Export(item));
        const std::uint64_t allocations = host.Memory().AllocationsMade() - allocationsBefore;
        const std::map<std::string, int> counts = operations;
        std::map<std::string, int> zoomFrom = beforeSecondFile;
        zoomFrom["replace"] = 1;
        for (const std::string& file : files) ExpectReadsBack(file);
        EXPECT_EQ(kClock, host.dAnim_Clock);
        ASSERT_GT(allocations, 0u);

        for (std::uint64_t n = 1; kind == "allocation" && n <= allocations + 1; ++n) {
            WriteEarlierFiles(files);
            host.Memory().FailFrom(n);
            const std::int32_t result = Export(item);
            host.Memory().StopFailing();
            if (n == allocations && files.size() > 1) {
                EXPECT_EQ(0, result) << "the zoom buffer, the last allocation";
                ExpectReadsBack(files[0]);
                EXPECT_EQ("earlier " + files[1], Read(files[1]));
            } else if (n <= allocations) {
                EXPECT_EQ(0, result) << "allocation " << n;
                ExpectNothingChanged(files, "allocation " + std::to_string(n));
            } else {
                EXPECT_EQ(1, result) << "every allocation granted";
            }
            ++faultsInjected;
        }

        if (kind != "allocation") {
            const int total = counts.count(kind) != 0 ? counts.at(kind) : 0;
            EXPECT_GT(total, 0) << "the export never does a " << kind;
            for (int i = 0; i < total; ++i) {
                WriteEarlierFiles(files);
                fault = InjectedFault{};
                operations.clear();
                const std::string what = kind + " " + std::to_string(i);
                if (kind == "open") fault.open = i;
                if (kind == "write") fault.write = i;
                if (kind == "close") fault.close = i;
                if (kind == "replace") fault.replace = i;
                EXPECT_EQ(0, Export(item)) << what;
                if (files.size() > 1 && i >= zoomFrom[kind]) {
                    // A camera's motion file is complete before its zoom file
                    // is begun, and moves into place when the zoom file
                    // fails; a zoom failure is still reported.
                    ExpectReadsBack(files[0]);
                    EXPECT_EQ("earlier " + files[1], Read(files[1]));
                    EXPECT_EQ(kClock, host.dAnim_Clock);
                } else {
                    ExpectNothingChanged(files, what);
                }
                ++faultsInjected;
            }
        }
        fault = InjectedFault{};
        EXPECT_GE(counts.at("write"), static_cast<int>(files.size()));
        RecordProperty("faults_injected", faultsInjected);
    }

    int faultsInjected = 0;
};

enum class Form { kKeyedLocal, kKeyedWorld, kSampledLocal, kSampledWorld, kCameraWithZoom };
constexpr const char* kFormNames[] = {"KeyedLocal", "KeyedWorld", "SampledLocal", "SampledWorld",
                                      "CameraWithZoom"};
constexpr const char* kFaultKinds[] = {"allocation", "open", "write", "close", "replace"};

class FaultSweepOf : public FaultSweep, public testing::WithParamInterface<std::tuple<Form, const char*>> {};

TEST_P(FaultSweepOf, EveryFaultOfTheKindFailsTheExportCleanly) {
    const auto [form, kind] = GetParam();
    switch (form) {
        case Form::kKeyedLocal:
            Sweep(KeyedBox(0), {"Box.mot"}, kind);
            break;
        case Form::kKeyedWorld:
            Sweep(KeyedBox(1), {"Box.mot"}, kind);
            break;
        case Form::kSampledLocal:
            Sweep(SampledBox(0), {"Box.mot"}, kind);
            break;
        case Form::kSampledWorld:
            Sweep(SampledBox(1), {"Box.mot"}, kind);
            break;
        case Form::kCameraWithZoom:
            Sweep(ZoomingCamera(), {"Cam.mot", "Cam_ZoomFactor.mot"}, kind);
            break;
    }
    // A sampled file takes seven writes at least: faults part-way through it.
    if (form == Form::kSampledLocal && std::string(kind) == "write") {
        EXPECT_GE(faultsInjected, 7);
    }
}

std::string SweepName(const testing::TestParamInfo<std::tuple<Form, const char*>>& sweep) {
    const Form form = std::get<0>(sweep.param);
    return std::string(kFormNames[static_cast<int>(form)]) + "_" + std::get<1>(sweep.param);
}

INSTANTIATE_TEST_SUITE_P(EveryFormAndFault, FaultSweepOf,
                         testing::Combine(testing::Values(Form::kKeyedLocal, Form::kKeyedWorld,
                                                          Form::kSampledLocal, Form::kSampledWorld,
                                                          Form::kCameraWithZoom),
                                          testing::ValuesIn(kFaultKinds)),
                         SweepName);

#if !defined(_WIN32)
// A real file system that refuses to grow a file past a limit, in a child
// process: the export fails, and the parent finds the earlier file intact.
TEST_F(FaultSweep, AFileSizeLimitOfTheOperatingSystemFailsTheExportCleanly) {
    void* box = SampledBox(0);
    FileOutput = corvantide::PlatformFileOperations();
    WriteEarlierFiles({"Box.mot"});
    const std::size_t blocks = host.Memory().Outstanding();
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{50000, 50000};  // a fraction of the file
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::int32_t result = corvantide::ExportItemMotion(box);
        const bool clean = result == 0 && host.dAnim_Clock == kClock && host.Memory().Outstanding() == blocks &&
                           host.Memory().CheckGuards();
        _exit(clean ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "the export did not fail cleanly under the limit";
    ExpectNothingChanged({"Box.mot"}, "file-size limit");
}
#endif

// "Setup Batch" and "Export Batch Motions" pressed on the panel for five
// items, one of them a camera: each item's files are either its complete new
// files or its earlier ones, whatever fails.
class BatchFaultSweep : public FaultSweep {
protected:
    void SetUp() override {
        FaultSweep::SetUp();
        ASSERT_EQ(1, host.BuildPanel());
        user.ShowPanel();
        for (const char* name : {"Hips", "Spine", "Head", "Arm"}) {
            void* item = host.Scene().AddItem(name);
            for (int k = 0; k < 30; ++k) host.Scene().AddKey(item, k * 2.0).Set(k % 6, k * 0.5);
        }
        void* cam = host.Scene().AddItem("Shot", kCameraType);
        host.Scene().AddKey(cam, 0).Set(0, 1.0).Set(12, 2.0);
        host.Scene().AddKey(cam, 24).Set(0, 4.0).Set(12, 3.5);
        for (void* item : host.Scene().Items()) user.ItemAdded(item);
        user.SelectItem(host.Scene().Items().front());
        user.Toggle("Freeze Motion", true);
        user.Type("End Frame", 120);
        user.TypeBatchPath(PathOf(kBatchDirectory));
        user.Toggle("Use Batch Directory", true);
        user.Press("Setup Batch");
        for (const char* name : {"Hips", "Spine", "Head", "Arm", "Shot"})
            files.push_back(kBatchFilePrefix + std::string(name) + ".mot");
        files.push_back(kBatchFilePrefix + std::string("Shot_ZoomFactor.mot"));
    }

    void TearDown() override {
        for (void* item : host.Scene().Items()) host.SendMessage(simhost::kItemMessageCategory, item, 4);
        FaultSweep::TearDown();
    }

    // Each file holds either what a clean run wrote or its earlier text.
    void ExpectEachFileWholeOrEarlier(const std::string& what) {
        std::vector<std::string> expected = files;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, Files()) << what;
        for (const std::string& file : files) {
            const std::string text = Read(file);
            EXPECT_TRUE(text == "earlier " + file || text == cleanRun[file]) << what << ": " << file;
        }
        EXPECT_EQ(kClock, host.dAnim_Clock) << what;
    }

    void PressExportBatch() {
        const std::size_t blocks = host.Memory().Outstanding();
        user.Press("Export Batch Motions");
        EXPECT_EQ(blocks, host.Memory().Outstanding()) << "host blocks not given back";
        EXPECT_TRUE(host.Memory().CheckGuards());
    }

    simhost::PanelUser user{host};
    std::vector<std::string> files;
    std::map<std::string, std::string> cleanRun;
};

TEST_F(BatchFaultSweep, BatchOfFiveItemsViaThePanel) {
    WriteEarlierFiles(files);
    fault = InjectedFault{};
    operations.clear();
    const std::uint64_t allocationsBefore = host.Memory().AllocationsMade();
    PressExportBatch();
    const std::uint64_t allocations = host.Memory().AllocationsMade() - allocationsBefore;
    const int writes = operations["write"];
    for (const std::string& file : files) {
        cleanRun[file] = Read(file);
        ExpectReadsBack(file);
    }
    // The run's record of written files, five times a table and nine buffers, and the zoom buffer.
    ASSERT_EQ(52u, allocations);
    ASSERT_GE(writes, 6);

    for (std::uint64_t n = 1; n <= allocations; ++n) {
        WriteEarlierFiles(files);
        host.Memory().FailFrom(n);
        PressExportBatch();
        host.Memory().StopFailing();
        ExpectEachFileWholeOrEarlier("allocation " + std::to_string(n));
        // The camera comes last, and its zoom buffer after its motion file is complete.
        EXPECT_EQ(n < allocations ? "earlier " + files[4] : cleanRun[files[4]], Read(files[4]))
            << "allocation " << n;
    }
    for (int i = 0; i < writes; ++i) {
        WriteEarlierFiles(files);
        operations.clear();
        fault = InjectedFault{};
        fault.write = i;
        PressExportBatch();
        ExpectEachFileWholeOrEarlier("write " + std::to_string(i));
    }
    fault = InjectedFault{};
    RecordProperty("faults_injected", static_cast<int>(allocations) + writes);
}

}  // namespace
}  // namespace corvantide_test
