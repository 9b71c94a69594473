// The linked plug-in fixture.
#include "linked_plugin.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "entry/plugin_state.h"
#include "export/file_output.h"
#include "export/item_export.h"
#include "host/core_services.h"
#include "host/host_api.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "host/text_buffer.h"
#include "panel/requester_scratch.h"

namespace corvantide_test {

const char kPlaceholder[] = "  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n";

std::string Header(int channels) { return "LWMO\n3\n\nNumChannels " + std::to_string(channels) + "\n"; }

std::string Channel(int channel, const std::string& body) {
    return "Channel " + std::to_string(channel) + "\n{ Envelope\n" + body + "}\n";
}

namespace {

// The counting heap the linked plug-in's own buffers come from.
struct OwnHeapCount {
    std::uint64_t made = 0;
    std::uint64_t failAt = 0;  // 0: never
    std::int64_t outstanding = 0;
};
OwnHeapCount ownHeap;

void* CountedOwnAllocate(std::size_t bytes) {
    if (++ownHeap.made == ownHeap.failAt) return nullptr;
    void* block = corvantide::PlatformScratchHeap().allocate(bytes);
    if (block != nullptr) ++ownHeap.outstanding;
    return block;
}

void CountedOwnRelease(void* block) {
    --ownHeap.outstanding;
    corvantide::PlatformScratchHeap().release(block);
}

}  // namespace

void LinkedPlugin::FailOwnAllocation(std::uint64_t n) { ownHeap.failAt = n == 0 ? 0 : ownHeap.made + n; }
std::uint64_t LinkedPlugin::OwnAllocationsMade() const { return ownHeap.made; }
std::int64_t LinkedPlugin::OwnBlocksOutstanding() const { return ownHeap.outstanding; }

void LinkedPlugin::SetUp() {
    ownHeap = OwnHeapCount{};
    corvantide::ScratchMemory = {CountedOwnAllocate, CountedOwnRelease};
    InitCustomize(host.HostInterfaceRecord(), host.ModuleRecord());
    host.SendStartupPhase(2);
    host.SendStartupPhase(4);
    corvantide::CreateBlock("Corvantide", "", nullptr);
    corvantide::PanelControls.statusArea = corvantide::CreateAreaText("", nullptr, 0, 0, 0, "");
    ASSERT_NE(nullptr, corvantide::PanelControls.statusArea);

    folder_ = std::make_unique<TestFolder>();
    directory = folder_->Path();
}

void LinkedPlugin::TearDown() {
    corvantide::FileOutput = corvantide::PlatformFileOperations();
    corvantide::ScratchMemory = corvantide::PlatformScratchHeap();
    host.Escape().Reset();
    for (void* item : prepared_) {
        auto* settings = corvantide::FindSettings(item);
        if (settings == nullptr) continue;
        corvantide::HostRelease(settings->destinationPath);
        corvantide::HostRelease(settings->requesterPath);
        corvantide::FreeInstanceData(item);
    }
    EXPECT_EQ(0u, host.Memory().Outstanding());
    EXPECT_EQ(0, ownHeap.outstanding) << "own blocks never given back";
    ExpectCleanHost();
    // The linked copy must not keep pointers into this host.
    corvantide::HostInterfaceRecord = nullptr;
    corvantide::ModuleRecordPointer = nullptr;
    corvantide::HostApi = corvantide::HostApiTable{};
    corvantide::PanelControls = corvantide::PanelControlTable{};
    folder_.reset();
}

corvantide::ExportSettings* LinkedPlugin::Prepare(void* item, const std::string& baseName) {
    corvantide::ExportSettings* settings = corvantide::GetOrCreateSettings(item);
    EXPECT_NE(nullptr, settings);
    if (settings == nullptr) return nullptr;
    prepared_.push_back(item);
    EXPECT_TRUE(corvantide::EnsurePathBuffer(&settings->destinationPath));
    EXPECT_TRUE(
        corvantide::CopyText(settings->destinationPath, corvantide::kPathCapacity, PathOf(baseName).c_str()));
    settings->outputDisabled = 0;
    return settings;
}

std::int32_t LinkedPlugin::Export(void* item) {
    const std::size_t before = host.Memory().Outstanding();
    const std::int32_t result = corvantide::ExportItemMotion(item);
    EXPECT_EQ(before, host.Memory().Outstanding()) << "host blocks not given back";
    EXPECT_TRUE(host.Memory().CheckGuards());
    return result;
}

std::string LinkedPlugin::Read(const std::string& fileName) const {
    std::ifstream in(directory / fileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool LinkedPlugin::Exists(const std::string& fileName) const {
    return std::filesystem::exists(directory / fileName);
}

void LinkedPlugin::Write(const std::string& fileName, const std::string& text) const {
    std::ofstream out(directory / fileName, std::ios::binary);
    out << text;
}

std::vector<std::string> LinkedPlugin::Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string LinkedPlugin::Status() {
    const auto& history = host.Ui().StatusHistory();
    return history.empty() ? std::string() : history.back();
}

void LinkedPlugin::ExpectCleanHost() {
    for (const std::string& finding : host.Audit()) ADD_FAILURE() << finding;
}

}  // namespace corvantide_test
