// The host builds the panel: the block, its 18 controls and their layout.
#include <cstring>
#include <filesystem>

#include "panel/panel_session.h"
#include "panel_svg.h"

namespace corvantide_test {
namespace {

struct ExpectedControl {
    const char* type;
    const char* label;
    std::vector<std::int64_t> intArguments;
    std::vector<std::string> textArguments;
    std::int32_t width, height, x, y;
};

const std::vector<ExpectedControl> kLayout = {
    {"AreaText", "AreaText", {100, 50, 1}, {"Info"}, 245, 26, 5, 4},
    {"String", "", {70}, {}, 168, 17, 82, 34},
    {"Button", "Path", {0}, {}, 73, 17, 6, 33},
    {"Int", "Begin Frame", {0}, {}, 46, 17, 81, 54},
    {"Int", "End Frame", {0}, {}, 46, 17, 204, 54},
    {"Int", "Offset", {0}, {}, 46, 17, 81, 74},
    {"PopupList", "Motion Format", {100}, {}, 162, 17, 88, 120},
    {"Button", "Export Current Motion", {0}, {}, 245, 34, 5, 168},
    {"BooleanButton", "Disable All Output Operations", {0}, {}, 245, 17, 5, 145},
    {"String", "", {70}, {}, 161, 17, 349, 88},
    {"Button", "Batch Path", {0}, {}, 82, 17, 266, 88},
    {"BooleanButton", "Use Batch Directory", {0}, {}, 121, 17, 265, 118},
    {"BooleanButton", "Use Current Data", {0}, {}, 121, 17, 265, 138},
    {"Button", "Setup Batch", {0}, {}, 121, 17, 389, 118},
    {"Button", "Export Batch Motions", {0}, {}, 245, 34, 265, 168},
    {"SeparatorLine", "SeparatorLine", {100, 3, 2}, {}, 254, 17, 258, 74},
    {"BooleanButton", "Freeze Motion", {0}, {}, 113, 17, 137, 74},
    {"PopupList", "Coordinates", {100}, {}, 162, 17, 88, 100},
};

std::uint64_t BlockFlags(const simhost::SimBlock& block) {
    std::uint64_t flags = 0;
    std::memcpy(&flags, block.record + 16, sizeof flags);
    return flags;
}

using PanelLayout = PanelSession;

TEST_F(PanelLayout, BuildsTheCorvantideBlockWithEighteenControlsInTableOrder) {
    host.Ui().SetInitialBlockFlags(0x8000000000000105ull | 0x400000);
    ASSERT_EQ(1, host.BuildPanel());

    ASSERT_EQ(1u, host.Ui().Blocks().size());
    const simhost::SimBlock& block = *host.Ui().LastBlock();
    EXPECT_EQ("Corvantide", block.title);
    EXPECT_EQ(" ", block.second);
    EXPECT_EQ(0, block.third);
    EXPECT_NE(nullptr, block.callback);
    // Both notification bits set, the host's own bits kept.
    EXPECT_EQ(0x8000000000000105ull | 0xc00000, BlockFlags(block));

    const auto controls = host.Ui().Controls();
    ASSERT_EQ(kLayout.size(), controls.size());
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        SCOPED_TRACE(kLayout[i].label + std::string(" #") + std::to_string(i + 1));
        const simhost::SimControl& c = *controls[i];
        EXPECT_EQ(kLayout[i].type, c.type);
        EXPECT_EQ(kLayout[i].label, c.label);
        EXPECT_EQ(kLayout[i].intArguments, c.intArguments);
        EXPECT_EQ(kLayout[i].textArguments, c.textArguments);
        EXPECT_TRUE(c.sized && c.positioned);
        EXPECT_EQ(kLayout[i].width, c.width);
        EXPECT_EQ(kLayout[i].height, c.height);
        EXPECT_EQ(kLayout[i].x, c.x);
        EXPECT_EQ(kLayout[i].y, c.y);
        EXPECT_NE(nullptr, c.callback);
        EXPECT_TRUE(c.enabled);
    }
    EXPECT_EQ(std::vector<std::string>{"Lightwave 6.x"}, user.Entries("Motion Format"));
    EXPECT_EQ((std::vector<std::string>{"Local", "World"}), user.Entries("Coordinates"));
}

TEST_F(PanelLayout, AfterBuildingTheStatusIsIdleTheTogglesShowTheFlagsAndTheHostRefreshes) {
    ASSERT_EQ(1, host.BuildPanel());
    EXPECT_EQ("Info\nStatus: Idle", user.StatusText());
    EXPECT_EQ(1, user.Value("Use Current Data"));
    EXPECT_EQ(0, user.Value("Use Batch Directory"));
    ASSERT_FALSE(host.Updates().empty());
    EXPECT_EQ(0x9400, host.Updates().back());
    // The current-item controls wait for the panel to be shown.
    EXPECT_EQ(0, user.Value("End Frame"));
}

TEST_F(PanelLayout, EveryItemGetsARecordButAnEmptySceneBuildsNormally) {
    ASSERT_EQ(1, host.BuildPanel());
    EXPECT_EQ(0u, host.InstanceBlocks());
    EXPECT_EQ(18u, host.Ui().Controls().size());

    void* arm = host.Scene().AddItem("Arm");
    void* leg = host.Scene().AddItem("Leg");
    ASSERT_EQ(1, host.BuildPanel());
    EXPECT_EQ(2u, host.InstanceBlocks());
    EXPECT_NE(nullptr, SettingsOf(arm));
    EXPECT_NE(nullptr, SettingsOf(leg));
    EXPECT_EQ(0u, host.OpenHierarchyLists());
}

TEST_F(PanelLayout, ASecondBuildEmptiesTheBatchDirectoryAndShowsTheFlagsOfThatTime) {
    ASSERT_EQ(1, host.BuildPanel());
    user.AnswerRequester(true, "D:\\out", "D:\\out\\x");
    user.Press("Batch Path");
    user.Toggle("Use Batch Directory", true);
    user.Toggle("Use Current Data", false);
    EXPECT_EQ("D:\\out", user.BatchPathText());

    ASSERT_EQ(1, host.BuildPanel());
    EXPECT_EQ(2u, host.Ui().Blocks().size());
    EXPECT_EQ("", user.BatchPathText());
    EXPECT_EQ(1, user.Value("Use Batch Directory"));
    EXPECT_EQ(0, user.Value("Use Current Data"));
    // The emptied directory turns "Use Batch Directory" off at the next setup.
    host.Scene().AddItem("Arm");
    user.Press("Setup Batch");
    EXPECT_EQ(0, user.Value("Use Batch Directory"));
}

TEST(PanelWithoutBlock, NoControlIsCreatedAndNothingIsWrittenThroughIt) {
    simhost::SimHost bare;  // a host whose interface has no fxBlockCreate
    bare.FailLookups({"fxBlockCreate"});
    std::string error;
    ASSERT_TRUE(bare.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    EXPECT_EQ(1, bare.BuildPanel());
    EXPECT_TRUE(bare.Ui().Blocks().empty());
    EXPECT_TRUE(bare.Ui().Controls().empty());
    EXPECT_TRUE(bare.Audit().empty()) << bare.Audit().front();
}

TEST_F(PanelLayout, APictureOfTheBuiltPanelShowsEveryControl) {
    void* arm = host.Scene().AddItem("Arm.lwo");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.TypePath("C:\\anim\\Arm");
    const std::string svg = simhost::RenderPanelSvg(host.Ui(), 2.0);
    for (const char* text : {"Corvantide", "Begin Frame", "Export Batch Motions", "Lightwave 6.x", "Local",
                             "C:\\anim\\Arm", "Status: Idle", "Disable All Output Operations"}) {
        EXPECT_NE(std::string::npos, svg.find(text)) << text;
    }
    const TestFolder folder;
    const auto file = folder.Path() / "panel.svg";
    EXPECT_TRUE(simhost::WritePanelSvg(host.Ui(), file.string(), 2.0));
    EXPECT_TRUE(std::filesystem::exists(file));

    // Without a host state the current-item column is greyed.
    user.TypePath(std::string(1100, 'x'));
    host.SetStateRecordPresent(false);
    user.ItemAdded(arm);
    const std::string greyed = simhost::RenderPanelSvg(host.Ui(), 2.0);
    EXPECT_NE(std::string::npos, greyed.find("#9a9a9a"));
    EXPECT_NE(std::string::npos, greyed.find("Path not stored"));
    EXPECT_TRUE(simhost::WritePanelSvg(host.Ui(), (folder.Path() / "panel-greyed.svg").string(), 2.0));
}

}  // namespace
}  // namespace corvantide_test
