// The host sees its calls in the order it expects them: a handler sets its
// controls before it takes memory, an export writes its files before it gives
// its buffers back, and an abort puts the clock back and says so before it
// cleans up.
#include <algorithm>
#include <string>
#include <vector>

#include "export/file_output.h"
#include "host/item_record.h"
#include "host_journal.h"
#include "linked_plugin.h"
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

using Journal = std::vector<std::string>;

Journal Repeated(const std::string& call, int times) { return Journal(static_cast<std::size_t>(times), call); }

Journal Joined(std::initializer_list<Journal> parts) {
    Journal all;
    for (const Journal& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Journal Tail(const Journal& journal, std::size_t count) {
    return Journal(journal.end() - static_cast<std::ptrdiff_t>(std::min(count, journal.size())), journal.end());
}

using HandlerOrder = PanelSession;

TEST_F(HandlerOrder, ThePathButtonShowsTheChosenPathBeforeItAllocatesTheDestination) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.AnswerRequester(true, "C:\\anim", "C:\\anim\\Arm");
    host.StartJournal();
    user.Press("Path");
    EXPECT_EQ(
        (Journal{"allocate", "set String", "set Disable All Output Operations", "allocate", kRefreshUpdate}),
        host.Journal());
    EXPECT_EQ("C:\\anim\\Arm", TextOf(SettingsOf(arm)->destinationPath));
}

TEST_F(HandlerOrder, ThePathButtonPutsFieldAndToggleBackWhenTheDestinationCannotBeAllocated) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    user.Toggle("Disable All Output Operations", true);
    user.AnswerRequester(true, "C:\\anim", "C:\\anim\\Arm");
    host.Memory().FailFrom(2);  // the requester path is allocated, the destination is not
    user.Press("Path");
    host.Memory().StopFailing();
    EXPECT_EQ(nullptr, SettingsOf(arm)->destinationPath);
    EXPECT_EQ(1, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));
    EXPECT_EQ("", user.PathText());
}

// The panel shows at once what a typed path did to the item (output on).
TEST_F(HandlerOrder, ATypedPathEndsWithTheInterfaceRefresh) {
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    OpenPanel();
    host.StartJournal();
    user.TypePath("C:\\anim\\Arm");
    ASSERT_FALSE(host.Journal().empty());
    EXPECT_EQ(kRefreshUpdate, host.Journal().back());
    EXPECT_EQ(1, std::count(host.Journal().begin(), host.Journal().end(), kRefreshUpdate));
}

TEST_F(HandlerOrder, SetupBatchAllocatesAnItemsPathsBeforeItAsksForItsFileName) {
    host.Scene().AddItem("Arm", 0, "Objects\\Arm.lwo");
    OpenPanel();
    host.StartJournal();
    user.Press("Setup Batch");
    // The table of the files items are given, the item's two paths, its
    // source file's folder; the table is given back before the refresh.
    EXPECT_EQ((Journal{"set Use Batch Directory", "set Use Current Data", "allocate", "allocate", "allocate",
                       "FindFileName", "release", kRefreshUpdate}),
              host.Journal());
}

void* JournalOpen(const char* path) {
    simhost::SimHost::Current().Journal("open");
    return corvantide::PlatformFileOperations().open(path);
}
bool JournalClose(void* file) {
    simhost::SimHost::Current().Journal("close");
    return corvantide::PlatformFileOperations().close(file);
}
bool JournalRemove(const char* path) {
    simhost::SimHost::Current().Journal("remove");
    return corvantide::PlatformFileOperations().remove(path);
}

class ExportOrder : public LinkedPlugin {
protected:
    void SetUp() override {
        LinkedPlugin::SetUp();
        corvantide::FileOutput.open = JournalOpen;
        corvantide::FileOutput.close = JournalClose;
        corvantide::FileOutput.remove = JournalRemove;
    }
};

TEST_F(ExportOrder, AnAbortRestoresTheClockAndSaysSoBeforeItReleasesAndCloses) {
    void* box = host.Scene().AddItem("Box");
    corvantide::ExportSettings* settings = Prepare(box, "Box");
    settings->freezeMotion = 1;
    settings->beginFrame = 1;
    settings->endFrame = 5;
    host.Escape().PressAtProgress(2);
    host.StartJournal();

    EXPECT_EQ(-1, Export(box));

    EXPECT_EQ(Joined({{kReevaluateUpdate, "status Info  Motion File Generation Aborted."},
                      Repeated("release", 10),
                      {"close", "remove"}}),
              Tail(host.Journal(), 14));
    EXPECT_TRUE(Files().empty());
}

TEST_F(ExportOrder, ACamerasZoomFileIsWrittenBeforeItsBuffersAreReleased) {
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 0).Set(0, 1.0).Set(12, 2.0);
    Prepare(cam, "Cam");
    host.StartJournal();

    EXPECT_EQ(1, Export(cam));

    const Journal& journal = host.Journal();
    const auto firstOpen = std::find(journal.begin(), journal.end(), "open");
    const auto zoomOpen = std::find(firstOpen + 1, journal.end(), "open");
    ASSERT_NE(journal.end(), zoomOpen);
    EXPECT_EQ(0, std::count(journal.begin(), zoomOpen, "release"));
    EXPECT_EQ(Joined({Repeated("release", 10), {"status Info", kReevaluateUpdate}}), Tail(journal, 12));
    EXPECT_EQ((std::vector<std::string>{"Cam.mot", "Cam_ZoomFactor.mot"}), Files());
}

}  // namespace
}  // namespace corvantide_test
