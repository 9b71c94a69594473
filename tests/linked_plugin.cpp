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

namespace corvantide_test {

const char kPlaceholder[] = "  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n";

std::string Header(int channels) { return "LWMO\n3\n\nNumChannels " + std::to_string(channels) + "\n"; }

std::string Channel(int channel, const std::string& body) {
    return "Channel " + std::to_string(channel) + "\n{ Envelope\n" + body + "}\n";
}

void LinkedPlugin::SetUp() {
    InitCustomize(host.HostInterfaceRecord(), host.ModuleRecord());
    host.SendStartupPhase(2);
    host.SendStartupPhase(4);
    corvantide::CreateBlock("Corvantide", "", nullptr);
    corvantide::PanelControls.statusArea = corvantide::CreateAreaText("", nullptr, 0, 0, 0, "");
    ASSERT_NE(nullptr, corvantide::PanelControls.statusArea);

    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    directory = std::filesystem::temp_directory_path() /
                ("corvantide-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    std::filesystem::create_directories(directory);
}

void LinkedPlugin::TearDown() {
    corvantide::FileOutput = corvantide::PlatformFileOperations();
    host.Escape().Reset();
    for (void* item : prepared_) {
        auto* settings = corvantide::FindSettings(item);
        if (settings == nullptr) continue;
        corvantide::HostRelease(settings->destinationPath);
        corvantide::HostRelease(settings->requesterPath);
        corvantide::FreeInstanceData(item);
    }
    EXPECT_EQ(0u, host.Memory().Outstanding());
    ExpectCleanHost();
    // The linked copy must not keep pointers into this host.
    corvantide::HostInterfaceRecord = nullptr;
    corvantide::ModuleRecordPointer = nullptr;
    corvantide::HostApi = corvantide::HostApiTable{};
    corvantide::PanelControls = corvantide::PanelControlTable{};
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
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
    const auto findings = host.Audit();
    EXPECT_TRUE(findings.empty()) << findings.front();
}

}  // namespace corvantide_test
