// The host calls that load the current-item controls: when the panel is
// shown, when Setup Batch finishes and when the controls are disabled. Each
// sends the values in its own order and with its own byte count for the
// path text, and the host sees exactly those calls.
#include <cstdarg>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/interface_services.h"
#include "linked_plugin.h"
#include "panel_user.h"

namespace corvantide_test {
namespace {

std::vector<std::string>* ControlLog = nullptr;

std::string NameOf(const simhost::SimControl& control) {
    if (control.type == "String") {
        return &control == simhost::SimHost::Current().Ui().ControlOfType("String", 0) ? "path" : "batch path";
    }
    if (control.type == "AreaText") return "status";
    return control.label;
}

// Writes each value set, enable and disable into ControlLog, then hands the
// call on to the simulated host.
std::int32_t RecordingControlSet(std::int32_t code, void* handle, ...) {
    va_list arguments;
    va_start(arguments, handle);
    auto* control = simhost::SimHost::Current().Ui().IsControl(handle)
                        ? static_cast<simhost::SimControl*>(handle)
                        : nullptr;
    if (control != nullptr && ControlLog != nullptr) {
        va_list look;
        va_copy(look, arguments);
        const std::string name = NameOf(*control);
        if (code == corvantide::kControlValue && control->type == "String") {
            const char* text = va_arg(look, const char*);
            const std::int32_t count = va_arg(look, std::int32_t);
            ControlLog->push_back(name + " \"" + text + "\" " + std::to_string(count));
        } else if (code == corvantide::kControlValue && control->type != "AreaText") {
            ControlLog->push_back(name + " " + std::to_string(va_arg(look, std::int32_t)));
        } else if (code == corvantide::kControlEnable || code == corvantide::kControlDisable) {
            ControlLog->push_back((code == corvantide::kControlEnable ? "enable " : "disable ") + name);
        }
        va_end(look);
    }
    const std::int32_t result = simhost::SimHost::Current().Ui().ControlSet(code, handle, &arguments);
    va_end(arguments);
    return result;
}

class ControlLoading : public LinkedPlugin {
protected:
    void SetUp() override {
        LinkedPlugin::SetUp();
        host.SetContentDirectory("C:\\proj");
        arm = host.Scene().AddItem("Arm");
        ASSERT_EQ(1, host.BuildPanel());
        corvantide::ExportSettings* s = corvantide::FindSettings(arm);
        ASSERT_NE(nullptr, s);
        s->beginFrame = 5;
        s->endFrame = 25;
        s->frameOffset = 3;
        s->coordinates = 1;
        s->freezeMotion = 1;
        s->outputDisabled = 0;
        corvantide::HostApi.fxControlSet = RecordingControlSet;
        ControlLog = &log;
    }
    void TearDown() override {
        ControlLog = nullptr;
        for (void* item : host.Scene().Items()) host.SendMessage(simhost::kItemMessageCategory, item, 4);
        LinkedPlugin::TearDown();
    }

    void* arm = nullptr;
    simhost::PanelUser user{host};
    std::vector<std::string> log;
};

using Calls = std::vector<std::string>;

TEST_F(ControlLoading, OnlyAnEndFrameBeforeTheBeginIsWrittenBackToItsField) {
    host.SetCurrentItem(arm);
    user.Type("End Frame", 30);
    user.Type("End Frame", 5);
    EXPECT_TRUE(log.empty()) << log.front();  // the field already shows what was stored
    user.Type("End Frame", 2);
    EXPECT_EQ(Calls{"End Frame 5"}, log);
}

TEST_F(ControlLoading, ABeginFrameAfterTheEndWritesTheEndAndThenTheBeginBack) {
    host.SetCurrentItem(arm);  // frames 5 to 25, offset 3
    user.Type("Begin Frame", 10);
    EXPECT_TRUE(log.empty()) << log.front();
    user.Type("Begin Frame", 30);
    EXPECT_EQ((Calls{"End Frame 25", "Begin Frame 25"}), log);

    log.clear();
    user.Type("Begin Frame", -10);  // -10 + 3 falls below frame 0
    user.Type("End Frame", -5);
    user.Type("Begin Frame", 2);  // after a negative end the range starts at 0
    EXPECT_EQ((Calls{"Offset 0", "End Frame -5", "Begin Frame 0"}), log);
}

TEST_F(ControlLoading, ShowingThePanelSendsTheOffsetFirstAndThePathWithItsBufferSize) {
    host.SetCurrentItem(arm);
    user.ShowPanel();
    EXPECT_EQ((Calls{"Offset 3", "Begin Frame 5", "End Frame 25", "Coordinates 1", "Freeze Motion 1",
                     "Motion Format 0", "path \"\" 1024", "Disable All Output Operations 0"}),
              log);

    log.clear();
    void* bare = host.Scene().AddItem("Bare");  // an item the panel builder never saw
    host.SetCurrentItem(bare);
    user.HidePanel();
    user.ShowPanel();
    EXPECT_EQ((Calls{"Offset 0", "Begin Frame 0", "End Frame 60", "Coordinates 0", "Freeze Motion 0",
                     "Motion Format 0", "path \"\" 1024", "Disable All Output Operations 1"}),
              log);

    log.clear();
    host.SetCurrentItem(nullptr);
    user.HidePanel();
    user.ShowPanel();
    EXPECT_EQ((Calls{"Offset 0", "Begin Frame 0", "End Frame 60", "Coordinates 0", "Freeze Motion 1",
                     "Motion Format 0", "path \"\" 1024", "Disable All Output Operations 1"}),
              log);
}

TEST_F(ControlLoading, SetupBatchSendsTheFramesFirstAndThePathWithItsLength) {
    host.SetCurrentItem(arm);
    user.ShowPanel();
    log.clear();
    user.Press("Setup Batch");
    EXPECT_EQ((Calls{"Use Batch Directory 0", "Begin Frame 5", "End Frame 25", "Offset 3", "Coordinates 1",
                     "Freeze Motion 1", "Motion Format 0", "path \"C:\\proj\\Arm\" 11",
                     "Disable All Output Operations 0"}),
              log);

    // Without a current record the closing refresh sends nothing.
    log.clear();
    host.SetCurrentItem(nullptr);
    user.Press("Setup Batch");
    EXPECT_EQ((Calls{"Use Batch Directory 0", "Use Current Data 0"}), log);
}

TEST_F(ControlLoading, AChosenPathIsSentWithItsTerminatorCounted) {
    host.SetCurrentItem(arm);
    user.AnswerRequester(true, "C:\\anim", "C:\\anim\\Arm");
    user.Press("Path");
    EXPECT_EQ((Calls{"path \"C:\\anim\\Arm\" 12", "Disable All Output Operations 0"}), log);

    log.clear();
    user.AnswerRequester(true, "C:\\batch", "");
    user.Press("Batch Path");
    EXPECT_EQ(Calls{"batch path \"C:\\batch\" 9"}, log);
}

TEST_F(ControlLoading, ANewCurrentItemEnablesAfterARefreshAndADisableSendsNeutralValuesFramesFirst) {
    user.ShowPanel();
    log.clear();
    user.SelectItem(arm);
    const Calls refresh{
        "Offset 3",        "Begin Frame 5",   "End Frame 25",   "Coordinates 1",
        "Freeze Motion 1", "Motion Format 0", "path \"\" 1024", "Disable All Output Operations 0"};
    Calls expected = refresh;
    for (const char* name :
         {"Offset", "Begin Frame", "End Frame", "Coordinates", "Freeze Motion", "Motion Format", "Path", "path",
          "Export Current Motion", "Disable All Output Operations"}) {
        expected.push_back(std::string("enable ") + name);
    }
    expected.insert(expected.end(), refresh.begin(), refresh.end());
    EXPECT_EQ(expected, log);

    log.clear();
    host.SetStateRecordPresent(false);
    host.SendMessage(simhost::kItemMessageCategory, arm, simhost::kItemCurrentMessage);
    host.SetStateRecordPresent(true);
    expected = {"Begin Frame 0",   "End Frame 60",    "Offset 0",       "Coordinates 0",
                "Freeze Motion 0", "Motion Format 0", "path \"\" 1024", "Disable All Output Operations 1"};
    for (const char* name :
         {"Begin Frame", "End Frame", "Coordinates", "Freeze Motion", "Motion Format", "Path", "path",
          "Export Current Motion", "Disable All Output Operations", "Offset"}) {
        expected.push_back(std::string("disable ") + name);
    }
    EXPECT_EQ(expected, log);
}

}  // namespace
}  // namespace corvantide_test
