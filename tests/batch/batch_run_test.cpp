// The user presses "Export Batch Motions".
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;

class BatchRun : public PanelSession {
protected:
    // Prepares an item by hand: selected, a path typed, every frame sampled.
    void* ReadyItem(const std::string& name, std::int32_t lastFrame = 9) {
        void* item = host.Scene().AddItem(name);
        user.SelectItem(item);
        user.TypePath((directory / name).string());
        user.Toggle("Freeze Motion", true);
        user.Type("Begin Frame", 0);
        user.Type("End Frame", lastFrame);
        return item;
    }
    bool Written(const std::string& name) const { return fs::exists(directory / (name + ".mot")); }
    std::vector<std::string> WrittenFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchDirectory scratch{"batch-" + CurrentTestName()};
    const fs::path& directory = scratch.Path();
};

TEST_F(BatchRun, AFreshSceneExportsNothing) {
    host.Scene().AddItem("Arm");
    host.Scene().AddItem("Leg");
    OpenPanel();
    host.ClearUpdates();
    user.Press("Export Batch Motions");
    EXPECT_TRUE(WrittenFiles().empty());
    EXPECT_EQ(std::vector<std::int32_t>{0x9400}, host.Updates());  // no export sampled anything
    EXPECT_EQ("Info\nStatus: Idle", user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchRun, WithoutAHierarchyListOnlyTheRefreshHappens) {
    OpenPanel();
    ReadyItem("Arm");
    host.SetHierarchyListUnavailable(true);
    host.ClearUpdates();
    user.Press("Export Batch Motions");
    EXPECT_FALSE(Written("Arm"));
    EXPECT_EQ(std::vector<std::int32_t>{0x9400}, host.Updates());
    ExpectCleanHost();
}

TEST_F(BatchRun, OnlyReadyItemsAreExportedInHierarchyOrder) {
    OpenPanel();
    ReadyItem("Arm");
    ReadyItem("Empty");
    user.TypePath("");  // a buffer with empty text is still ready
    void* off = ReadyItem("Off");
    user.Toggle("Disable All Output Operations", true);
    void* noPath = host.Scene().AddItem("NoPath");
    user.SelectItem(noPath);
    user.Toggle("Disable All Output Operations", false);  // enabled, but no destination buffer
    host.Scene().AddItem("NoRecord");                     // added after the panel, never given a record
    ReadyItem("Leg");
    const std::size_t records = host.InstanceBlocks();

    user.Press("Export Batch Motions");
    EXPECT_EQ(records, host.InstanceBlocks());  // the run creates no record
    EXPECT_EQ(nullptr, SettingsOf(host.Scene().ItemByName("NoRecord")));
    EXPECT_EQ(1, SettingsOf(off)->outputDisabled);
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_TRUE(Written("Arm"));
    EXPECT_TRUE(Written("Leg"));
    // "Empty", with an empty base name: no hidden file of no name, and the run says why.
    EXPECT_FALSE(fs::exists(directory / ".mot"));
    EXPECT_NE(std::string::npos, user.StatusText().find(".mot: the path has no file name; add one"));
    EXPECT_FALSE(Written("Off"));
    EXPECT_FALSE(Written("NoPath"));
    EXPECT_FALSE(Written("NoRecord"));
    ExpectCleanHost();
}

TEST_F(BatchRun, EscapeDuringTheThirdOfFiveItemsEndsTheRunAfterIt) {
    OpenPanel();
    const char* names[] = {"One", "Two", "Three", "Four", "Five"};
    for (const char* name : names) ReadyItem(name);
    // Ten sampled frames per item: the 25th progress line belongs to the third item.
    host.Escape().Reset();
    host.Escape().PressAtProgress(25);
    user.Press("Export Batch Motions");
    EXPECT_TRUE(Written("One"));
    EXPECT_TRUE(Written("Two"));
    EXPECT_FALSE(Written("Three"));  // aborted: no file, no temporary one
    EXPECT_EQ((std::vector<std::string>{"One.mot", "Two.mot"}), WrittenFiles());
    EXPECT_FALSE(Written("Four"));
    EXPECT_FALSE(Written("Five"));
    EXPECT_NE(std::string::npos, user.StatusText().find("Motion File Generation Aborted."));
    EXPECT_EQ(0, host.OpenHierarchyLists());
    ExpectCleanHost();
}

TEST_F(BatchRun, AfterSetupBatchEveryItemIsExported) {
    host.Scene().AddItem("Arm.lwo");
    host.Scene().AddItem("Leg");
    OpenPanel();
    // The composed paths use the host's backslash: on Linux that is part of the file name.
    user.TypeBatchPath((directory / "out").string());
    fs::create_directories(directory / "out");
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    user.Press("Export Batch Motions");
    const auto exported = [&](const std::string& name) {
        return fs::exists(directory / ("out\\" + name + ".mot")) ||
               fs::exists(directory / "out" / (name + ".mot"));
    };
    EXPECT_TRUE(exported("Arm"));
    EXPECT_TRUE(exported("Leg"));
    ExpectCleanHost();
}

}  // namespace
}  // namespace corvantide_test
