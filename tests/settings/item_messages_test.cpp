// The host reports items added, selected and removed (category 11).
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using ItemMessages = PanelSession;

const char* const kCurrentItemControls[] = {
    "Begin Frame",   "End Frame", "Offset",           "Coordinates",           "Freeze Motion",
    "Motion Format", "Path",      simhost::kPathText, "Export Current Motion", "Disable All Output Operations"};

TEST_F(ItemMessages, RemovingItemsReleasesTheirBuffersAndRecords) {
    const std::size_t blocksAtStart = host.Memory().Outstanding();
    void* arm = host.Scene().AddItem("Arm", 0, "C:\\proj\\Objects\\Arm.lwo");
    void* leg = host.Scene().AddItem("Leg");
    void* bare = host.Scene().AddItem("Bare");
    OpenPanel();
    user.SelectItem(arm);
    user.AnswerRequester(true, "C:\\", "C:\\Arm");
    user.Press("Path");  // both buffers
    user.SelectItem(leg);
    user.TypePath("C:\\Leg");  // destination only
    // The spare pointer is never set by the plug-in; a block found there goes back too.
    SettingsOf(bare)->spareBuffer = host.Memory().Allocate(1024, 1);
    EXPECT_EQ(3u, host.InstanceBlocks());
    EXPECT_EQ(blocksAtStart + 4, host.Memory().Outstanding());

    user.ItemRemoved(arm);
    user.ItemRemoved(leg);
    user.ItemRemoved(bare);  // a record without buffers
    EXPECT_EQ(0u, host.InstanceBlocks());
    EXPECT_EQ(blocksAtStart, host.Memory().Outstanding());
    // An item that never had a record.
    void* stranger = host.Scene().AddItem("Stranger");
    EXPECT_EQ(0, host.SendMessage(11, stranger, 4));
    EXPECT_EQ(0, host.SendMessage(11, nullptr, 4));
}

TEST_F(ItemMessages, SelectingAnItemWithoutARecordCreatesOneWithTheScenesRange) {
    OpenPanel();
    host.iIn = 10;
    host.iOut = 50;
    void* arm = host.Scene().AddItem("Arm");
    user.SelectItem(arm);
    const corvantide::ExportSettings* s = SettingsOf(arm);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(10, s->beginFrame);
    EXPECT_EQ(50, s->endFrame);
    EXPECT_EQ(1, s->outputDisabled);
    EXPECT_EQ(arm, s->ownerItem);
    EXPECT_EQ(10, user.Value("Begin Frame"));
    EXPECT_EQ(50, user.Value("End Frame"));
}

TEST_F(ItemMessages, SelectingAnItemWithARecordNeverResetsItButRefreshesAndEnables) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.Type("End Frame", 90);
    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);  // disables: the host has no state
    EXPECT_FALSE(user.Enabled("Begin Frame"));
    host.SetStateRecordPresent(true);
    host.iOut = 10;
    user.SelectItem(arm);
    EXPECT_EQ(90, SettingsOf(arm)->endFrame);
    EXPECT_EQ(90, user.Value("End Frame"));
    for (const char* label : kCurrentItemControls) EXPECT_TRUE(user.Enabled(label)) << label;
    EXPECT_EQ(1u, host.InstanceBlocks());
}

TEST_F(ItemMessages, WithoutAHostStateAShownPanelIsDisabledAndAHiddenOneLeftAlone) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    ASSERT_EQ(1, host.BuildPanel());
    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);  // hidden: nothing at all
    EXPECT_TRUE(user.Enabled("Begin Frame"));
    EXPECT_EQ(0, user.Value("End Frame"));

    host.SetStateRecordPresent(true);
    user.ShowPanel();
    user.Toggle("Freeze Motion", true);
    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);
    for (const char* label : kCurrentItemControls) EXPECT_FALSE(user.Enabled(label)) << label;
    EXPECT_EQ(0, user.Value("Begin Frame"));
    EXPECT_EQ(60, user.Value("End Frame"));
    EXPECT_EQ(0, user.Value("Freeze Motion"));
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));
    EXPECT_EQ("", user.PathText());
    // The batch column and the status area are never disabled.
    for (const char* label : {"Batch Path", "Setup Batch", "Export Batch Motions", "Use Current Data",
                              "Use Batch Directory", simhost::kBatchPathText, simhost::kStatusArea}) {
        EXPECT_TRUE(user.Enabled(label)) << label;
    }
}

// Every current-item control goes to its neutral value, each one starting
// from another value so that a value left alone shows.
TEST_F(ItemMessages, WithoutAHostStateEveryCurrentItemControlShowsItsNeutralValue) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.Type("End Frame", 90);
    user.Type("Begin Frame", 5);
    user.Type("Offset", 2);
    user.Choose("Coordinates", 1);
    user.Toggle("Freeze Motion", true);
    user.TypePath("C:\\Arm");  // turns output on: the toggle shows 0
    ASSERT_EQ(0, user.Value("Disable All Output Operations"));

    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);
    EXPECT_EQ(0, user.Value("Begin Frame"));
    EXPECT_EQ(60, user.Value("End Frame"));
    EXPECT_EQ(0, user.Value("Offset"));
    EXPECT_EQ(0, user.Value("Coordinates"));
    EXPECT_EQ(0, user.Value("Freeze Motion"));
    EXPECT_EQ(0, user.Value("Motion Format"));
    EXPECT_EQ("", user.PathText());
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));
    // The record itself keeps what the user gave it.
    EXPECT_EQ(0, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ(90, SettingsOf(arm)->endFrame);
}

TEST_F(ItemMessages, APanelShownThenHiddenIsLeftAloneWhenTheHostStateGoes) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.Type("End Frame", 90);
    user.TypePath("C:\\Arm");
    user.HidePanel();

    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);
    for (const char* label : kCurrentItemControls) EXPECT_TRUE(user.Enabled(label)) << label;
    EXPECT_EQ(90, user.Value("End Frame"));
    EXPECT_EQ("C:\\Arm", user.PathText());
    EXPECT_EQ(0, user.Value("Disable All Output Operations"));

    // Shown again, the panel follows the host once more.
    host.SetStateRecordPresent(true);
    user.ShowPanel();
    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);
    EXPECT_FALSE(user.Enabled("End Frame"));
}

// The record of a new item takes the scene's range from iIn and iOut; a
// host without them gives 0 to 0.
class ItemMessagesWithoutSceneRange : public PanelSession {
protected:
    void SetUp() override {
        host.FailLookups({"iIn", "iOut"});
        PanelSession::SetUp();
    }
};

TEST_F(ItemMessagesWithoutSceneRange, ANewRecordSpansFrameZeroAlone) {
    host.iIn = 10;
    host.iOut = 50;
    OpenPanel();
    void* arm = host.Scene().AddItem("Arm");
    user.SelectItem(arm);
    ASSERT_NE(nullptr, SettingsOf(arm));
    EXPECT_EQ(0, SettingsOf(arm)->beginFrame);
    EXPECT_EQ(0, SettingsOf(arm)->endFrame);
    EXPECT_EQ(0, user.Value("End Frame"));
}

TEST_F(ItemMessages, AReportForAnotherItemNeverResetsTheCurrentItemsRecord) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.Type("End Frame", 90);
    user.TypePath("C:\\Arm");
    void* late = host.Scene().AddItem("Late");
    user.ItemAdded(late);  // reported item has no record; the current one has
    EXPECT_EQ(90, SettingsOf(arm)->endFrame);
    EXPECT_EQ(0, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ(nullptr, SettingsOf(late));
}

TEST_F(ItemMessages, MessagesBeforeThePanelExistsOrWithoutACurrentItemTouchNoControl) {
    void* arm = host.Scene().AddItem("Arm");
    user.ItemAdded(arm);  // no current item: nothing created
    EXPECT_EQ(0u, host.InstanceBlocks());
    user.SelectItem(arm);  // no panel yet: a record, no control touched
    EXPECT_EQ(1u, host.InstanceBlocks());
    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);
    host.FailInstanceCreation(true);
    host.SetStateRecordPresent(true);
    void* leg = host.Scene().AddItem("Leg");
    user.SelectItem(leg);
    EXPECT_EQ(nullptr, SettingsOf(leg));
    EXPECT_EQ(0, host.SendMessage(11, arm, 0x100004));
    EXPECT_TRUE(host.Ui().Controls().empty());
}

}  // namespace
}  // namespace corvantide_test
