// A person at the panel: random sequences of user actions and item messages
// against a random scene, through the simulated host with the plug-in's
// objects linked in and bound as the host binds the library. After each
// sequence every item is released (item message 4) and the host must have
// seen no violation (null handle, overrun, unknown block, open list), every
// allocation must be back, and every file written must read back.
//
// Files go to a directory of this process under the system's temporary
// directory, which is also the working directory. No text that can become a
// path starts with "/" or holds "..", so nothing is written outside it.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "entry/plugin_state.h"
#include "export/file_output.h"
#include "host/host_api.h"
#include "host/host_interface.h"
#include "motfile/motion_reader.h"
#include "panel_user.h"
#include "sim_host.h"

extern "C" void InitCustomize(void* hostInterface, void* moduleRecord) noexcept;

namespace {

namespace fs = std::filesystem;
using simhost::PanelUser;
using simhost::SimHost;

constexpr int kMaxItems = 6;
constexpr int kMaxKeys = 6;
constexpr int kMaxActions = 48;
// Long enough to pass every path limit (1023) and the batch texts' (255).
constexpr std::size_t kLongestText = 1100;
// The simulated host's memory: sampled ranges beyond a few hundred frames
// are refused, which keeps each run short.
constexpr std::uint64_t kHostBytes = 256 * 1024;

fs::path scratch;

void Fail(const std::string& what) {
    std::fprintf(stderr, "panel session: %s\n", what.c_str());
    std::abort();
}

void RemoveScratch() {
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(scratch, ignored);
}

void ClearScratch() {
    for (const auto& entry : fs::directory_iterator(scratch)) fs::remove_all(entry.path());
}

// Text from a small alphabet with separators, drive colons and dots, never
// ".." and never a leading "/": relative to the scratch directory it stays there.
std::string SafeText(FuzzedDataProvider& data, std::size_t longest = kLongestText) {
    static constexpr char kAlphabet[] = "abcXYZ019 _-.\\:/";
    std::string text;
    const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, longest);
    if (data.ConsumeBool()) {
        // One character repeated: the cheap way to reach every length limit.
        text.assign(length, data.PickValueInArray({'a', '\\', '_'}));
    } else {
        for (std::size_t i = 0; i < length && data.remaining_bytes() > 0; ++i) {
            text += kAlphabet[data.ConsumeIntegralInRange<std::size_t>(0, sizeof kAlphabet - 2)];
        }
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '.' && text[i - 1] == '.') text[i] = '_';
    }
    while (!text.empty() && text[0] == '/') text.erase(0, 1);
    if (data.ConsumeBool()) text += data.PickValueInArray({".lwo", ".LWO", ".mot", ""});
    return text;
}

// A path as the user would give it: in the scratch directory, or relative to it.
std::string SafePath(FuzzedDataProvider& data) {
    const std::string tail = SafeText(data);
    return data.ConsumeBool() ? (scratch / tail).string() : tail;
}

std::int32_t FrameNumber(FuzzedDataProvider& data) {
    if (data.ConsumeProbability<double>() < 0.1) {
        return data.PickValueInArray(
            {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), -1, 0});
    }
    return data.ConsumeIntegralInRange<std::int32_t>(-20, 300);
}

void BuildScene(FuzzedDataProvider& data, SimHost& host) {
    simhost::SimScene& scene = host.Scene();
    const int items = data.ConsumeIntegralInRange<int>(0, kMaxItems);
    std::vector<std::string> sources;
    for (int i = 0; i < items; ++i) {
        const std::int32_t type = data.ConsumeBool() ? 8 : 0;  // 8: camera
        const std::string name = SafeText(data);
        const int sourceKind = data.ConsumeIntegralInRange<int>(0, 2);
        const std::string source =
            sourceKind == 1 ? SafeText(data) : (scratch / ("s/" + SafeText(data, 64))).string();
        void* item = scene.AddItem(name, type, sourceKind == 0 ? nullptr : source.c_str());
        if (i > 0 && data.ConsumeBool()) {
            scene.SetParent(
                item, scene.Items()[data.ConsumeIntegralInRange<std::size_t>(0, scene.Items().size() - 1)]);
        }
        for (int c = 0; c < simhost::kChannels; ++c) {
            if (data.ConsumeBool())
                scene.SetBehaviour(item, c, data.ConsumeIntegralInRange<std::int16_t>(-1, 11));
        }
        const int keys = data.ConsumeIntegralInRange<int>(0, kMaxKeys);
        for (int k = 0; k < keys; ++k) {
            simhost::KeyBuilder key =
                scene.AddKey(item, data.ConsumeFloatingPointInRange<double>(-50.0, 400.0));
            const int slots = data.ConsumeIntegralInRange<int>(0, 4);
            for (int s = 0; s < slots; ++s) {
                const int slot = data.PickValueInArray({0, 1, 2, 3, 4, 5, 6, 7, 8, 12});
                key.Set(slot, data.ConsumeFloatingPointInRange<double>(-1e6, 1e6));
                key.Span(slot, data.ConsumeIntegralInRange<std::int8_t>(-1, 4));
                key.Tcb(slot, data.ConsumeFloatingPointInRange<float>(-1.0F, 1.0F),
                        data.ConsumeFloatingPointInRange<float>(-1.0F, 1.0F),
                        data.ConsumeFloatingPointInRange<float>(-1.0F, 1.0F));
                key.Handles(slot, data.ConsumeFloatingPointInRange<float>(-10.0F, 10.0F),
                            data.ConsumeFloatingPointInRange<float>(-10.0F, 10.0F));
            }
        }
    }
}

void* SomeItem(FuzzedDataProvider& data, SimHost& host) {
    const auto& items = host.Scene().Items();
    if (items.empty() || data.ConsumeIntegralInRange<int>(0, 7) == 0) return nullptr;
    return items[data.ConsumeIntegralInRange<std::size_t>(0, items.size() - 1)];
}

void QueueAnswer(FuzzedDataProvider& data, SimHost& host) {
    simhost::RequesterAnswer answer;
    answer.accept = data.ConsumeIntegralInRange<int>(0, 3) != 0;
    answer.directory = SafePath(data);
    answer.result = SafePath(data);
    answer.unterminated = data.ConsumeIntegralInRange<int>(0, 7) == 0;
    host.Ui().QueueRequesterAnswer(answer);
}

void Act(FuzzedDataProvider& data, SimHost& host, PanelUser& user, std::vector<void*>& everyItem) {
    static constexpr const char* kToggles[] = {"Freeze Motion", "Disable All Output Operations",
                                               "Use Batch Directory", "Use Current Data"};
    static constexpr const char* kNumbers[] = {"Begin Frame", "End Frame", "Offset"};
    static constexpr const char* kLabels[] = {"Begin Frame",
                                              "End Frame",
                                              "Offset",
                                              "Motion Format",
                                              "Coordinates",
                                              "Freeze Motion",
                                              "Path",
                                              "Batch Path",
                                              "Setup Batch",
                                              "Export Batch Motions",
                                              "Export Current Motion",
                                              "Use Batch Directory",
                                              "Use Current Data",
                                              "Disable All Output Operations",
                                              "SeparatorLine"};
    switch (data.ConsumeIntegralInRange<int>(0, 19)) {
        case 0:
            user.SelectItem(SomeItem(data, host));
            break;
        case 1:
            user.TypePath(SafePath(data));
            break;
        case 2:
            user.Type(data.PickValueInArray(kNumbers), FrameNumber(data));
            break;
        case 3:
            user.Toggle(data.PickValueInArray(kToggles), data.ConsumeBool());
            break;
        case 4:
            user.Choose("Coordinates", data.ConsumeIntegralInRange<std::int32_t>(-1, 2));
            break;
        case 5:
            user.Choose("Motion Format", data.ConsumeIntegralInRange<std::int32_t>(-1, 1));
            break;
        case 6:
            user.Press("Export Current Motion");
            break;
        case 7:
            QueueAnswer(data, host);
            user.Press("Path");
            break;
        case 8:
            user.TypeBatchPath(SafePath(data));
            break;
        case 9:
            QueueAnswer(data, host);
            user.Press("Batch Path");
            break;
        case 10:
            user.Press("Setup Batch");
            break;
        case 11:
            user.Press("Export Batch Motions");
            break;
        case 12:
            if (void* item = SomeItem(data, host)) user.ItemRemoved(item);
            break;
        case 13: {
            void* item = host.Scene().AddItem(SafeText(data), data.ConsumeBool() ? 8 : 0);
            everyItem.push_back(item);
            user.ItemAdded(item);
            break;
        }
        case 14:
            data.ConsumeBool() ? user.HidePanel() : user.ShowPanel();
            break;
        case 15:
            host.Escape().PressAtProgress(data.ConsumeIntegralInRange<std::int32_t>(0, 20));
            break;
        case 16:
            if (data.ConsumeBool())
                host.Memory().FailFrom(data.ConsumeIntegralInRange<std::uint64_t>(1, 30));
            else
                host.Memory().StopFailing();
            break;
        case 17:
            host.FailInstanceCreation(data.ConsumeBool());
            break;
        case 18:
            host.BuildPanel();
            user.ShowPanel();
            break;
        default:
            user.Notify(data.PickValueInArray(kLabels), data.ConsumeIntegral<std::uint64_t>());
            break;
    }
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every motion file written reads back; no temporary file is left.
void CheckFiles() {
    for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".tmp") == 0)
            Fail("temporary file left: " + name);
        const corvantide::motfile::ReadResult read =
            corvantide::motfile::ParseMotionText(FileText(entry.path()));
        if (!read.ok) Fail(name + " line " + std::to_string(read.error.line) + ": " + read.error.reason);
    }
}

// The linked plug-in keeps no pointer into a host that is gone.
void ForgetHost() {
    corvantide::HostInterfaceRecord = nullptr;
    corvantide::ModuleRecordPointer = nullptr;
    corvantide::HostApi = corvantide::HostApiTable{};
    corvantide::PanelControls = corvantide::PanelControlTable{};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratch = fs::temp_directory_path() / ("corvantide-fuzz-" + std::to_string(getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch / "s");
    fs::current_path(scratch);
    std::atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    ClearScratch();
    fs::create_directories(scratch / "s");
    {
        SimHost host;
        InitCustomize(host.HostInterfaceRecord(), host.ModuleRecord());
        host.SendStartupPhase(2);
        host.SendStartupPhase(4);
        host.Memory().LimitBytes(kHostBytes);
        host.SetContentDirectory(data.ConsumeBool() ? (scratch / "c").string() : "");
        host.iIn = FrameNumber(data);
        host.iOut = FrameNumber(data);
        host.dFPS = data.PickValueInArray({30.0, 24.0, 29.97, 0.0, -25.0});
        BuildScene(data, host);
        std::vector<void*> everyItem = host.Scene().Items();
        PanelUser user(host);
        for (void* item : everyItem) user.ItemAdded(item);
        host.BuildPanel();
        user.ShowPanel();

        const int actions = data.ConsumeIntegralInRange<int>(1, kMaxActions);
        for (int i = 0; i < actions && data.remaining_bytes() > 0; ++i) Act(data, host, user, everyItem);

        host.Memory().StopFailing();
        host.Escape().Reset();
        for (void* item : everyItem)
            host.SendMessage(simhost::kItemMessageCategory, item, simhost::kItemRemovedMessage);
        if (host.Memory().Outstanding() != 0) {
            Fail(std::to_string(host.Memory().Outstanding()) +
                 " host block(s) outstanding after every item went");
        }
        const std::vector<std::string> findings = host.Audit();
        if (!findings.empty()) Fail("host validator: " + findings.front());
        ForgetHost();
    }
    corvantide::FileOutput = corvantide::PlatformFileOperations();
    CheckFiles();
    return 0;
}
