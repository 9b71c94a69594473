// The user presses "Export Current Motion", and the panel is shown and
// hidden with and without a current item.
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using ExportCurrent = PanelSession;

TEST_F(ExportCurrent, EachMissingPrerequisiteHasItsMessageAndNothingIsExported) {
    void* arm = host.Scene().AddItem("Arm");
    ASSERT_EQ(1, host.BuildPanel());
    void* late = host.Scene().AddItem("Late");

    host.SetCurrentItem(late);  // no record
    user.Press("Export Current Motion");
    host.SetCurrentItem(arm);  // a record, no destination
    user.Press("Export Current Motion");
    user.Toggle("Disable All Output Operations", false);
    user.Press("Export Current Motion");  // still no destination
    user.TypePath("C:\\anim\\Arm");
    user.Toggle("Disable All Output Operations", true);
    user.Press("Export Current Motion");  // output disabled

    const auto& m = user.Messages();
    ASSERT_EQ(4u, m.size());
    EXPECT_EQ(1, m[0].first);
    EXPECT_EQ(1, m[0].lineCount);
    EXPECT_EQ("No data for current item.", m[0].line1);
    for (int i : {1, 2}) {
        EXPECT_EQ(1, m[i].first);
        EXPECT_EQ(2, m[i].lineCount);
        EXPECT_EQ("Destination path not selected.", m[i].line1);
        EXPECT_EQ("Select a destination path with base name and try again...", m[i].line2);
    }
    EXPECT_EQ(2, m[3].lineCount);
    EXPECT_EQ("Saving disabled on current item.", m[3].line1);
    EXPECT_EQ("Enable saving and try again...", m[3].line2);
    EXPECT_EQ(0x9400, host.Updates().back());
}

// The handler checks only that the item has a record, a destination buffer
// and output on: an empty path goes to the exporter, which refuses it in the
// status area, with no message box.
TEST_F(ExportCurrent, AReadyItemGoesToTheExporterWithoutAMessageEvenWithAnEmptyPath) {
    const ScratchDirectory scratch("export-current");
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.TypePath("");
    host.ClearUpdates();
    user.Press("Export Current Motion");
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_EQ("Info  Couldn't write .mot: the path has no file name; add one\n", user.StatusText());
    EXPECT_EQ(0x9400, host.Updates().back());
}

TEST_F(ExportCurrent, WithNoCurrentItemItOnlyAsksTheHostToRefresh) {
    OpenPanel();
    host.ClearUpdates();
    user.Press("Export Current Motion");
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_EQ(std::vector<std::int32_t>{0x9400}, host.Updates());
    host.SetStateRecordPresent(false);
    user.Press("Export Current Motion");
    EXPECT_TRUE(user.Messages().empty());
}

using ShowingThePanel = PanelSession;

TEST_F(ShowingThePanel, WithNoCurrentItemTheControlsShowNeutralValuesAndFreezeOn) {
    ASSERT_EQ(1, host.BuildPanel());
    host.ClearUpdates();
    user.ShowPanel();
    EXPECT_EQ(0, user.Value("Begin Frame"));
    EXPECT_EQ(60, user.Value("End Frame"));
    EXPECT_EQ(0, user.Value("Offset"));
    EXPECT_EQ(1, user.Value("Freeze Motion"));
    EXPECT_EQ("", user.PathText());
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));
    EXPECT_EQ("Local", user.ShownEntry("Coordinates"));
    EXPECT_EQ("Lightwave 6.x", user.ShownEntry("Motion Format"));
    EXPECT_TRUE(host.Updates().empty());  // the block callback asks for no refresh
}

TEST_F(ShowingThePanel, WithACurrentItemItShowsItsRecordAndWithoutARecordFreezeOff) {
    host.iIn = 10;
    host.iOut = 50;
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    ASSERT_EQ(1, host.BuildPanel());
    corvantide::ExportSettings* s = SettingsOf(arm);
    s->frameOffset = 4;
    s->coordinates = 1;
    s->freezeMotion = 1;
    user.ShowPanel();
    EXPECT_EQ(10, user.Value("Begin Frame"));
    EXPECT_EQ(50, user.Value("End Frame"));
    EXPECT_EQ(4, user.Value("Offset"));
    EXPECT_EQ("World", user.ShownEntry("Coordinates"));
    EXPECT_EQ(1, user.Value("Freeze Motion"));
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));

    void* late = host.Scene().AddItem("Late");
    host.SetCurrentItem(late);
    user.HidePanel();
    user.ShowPanel();
    EXPECT_EQ(0, user.Value("Freeze Motion"));
    EXPECT_EQ(60, user.Value("End Frame"));
    EXPECT_EQ(nullptr, SettingsOf(late));  // showing creates no record
}

TEST_F(ShowingThePanel, OnlyTheShownAndHiddenNotificationsCount) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    ASSERT_EQ(1, host.BuildPanel());
    simhost::SimBlock& block = *host.Ui().Blocks().back();
    EXPECT_EQ(0, block.callback(block.record, nullptr, nullptr, 0));
    EXPECT_EQ(0, block.callback(block.record, nullptr, nullptr, 0xc00000));
    EXPECT_EQ(0, user.Value("End Frame"));  // not refreshed
    user.ShowPanel();
    EXPECT_EQ(60, user.Value("End Frame"));
}

}  // namespace
}  // namespace corvantide_test
