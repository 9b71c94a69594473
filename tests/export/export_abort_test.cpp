// The user presses Escape during an export: the export stops, the clock
// goes back, and whatever file was at the destination stays as it was.
#include "export/file_output.h"
#include "export/item_export.h"
#include "host/item_record.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

constexpr char kAborted[] =
    "Info  Motion File Generation Aborted.\nSaving Motion Frame: 0 of 0.   (ESC to Abort)";

void Tap() { simhost::SimHost::Current().Escape().Tap(); }

class ExportAbort : public LinkedPlugin {
protected:
    void* SampledBox(std::int32_t first, std::int32_t last) {
        void* box = host.Scene().AddItem("Box");
        corvantide::ExportSettings* settings = Prepare(box, "Box");
        settings->freezeMotion = 1;
        settings->beginFrame = first;
        settings->endFrame = last;
        return box;
    }
};

TEST_F(ExportAbort, EscapeHeldWhenTheExportStartsAbortsBeforeTheFirstFrame) {
    void* box = SampledBox(1, 5);
    Write("Box.mot", "an older export");
    host.dAnim_Clock = 12.0;
    host.Escape().Hold();

    EXPECT_EQ(-1, Export(box));

    EXPECT_EQ("an older export", Read("Box.mot"));
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
    EXPECT_EQ(12.0, host.dAnim_Clock);
    EXPECT_EQ(std::vector<std::int32_t>{32}, host.Updates());
    EXPECT_EQ(0, host.Escape().ProgressLines());
    EXPECT_EQ(kAborted, Status());
}

TEST_F(ExportAbort, EscapeInTheMiddleStopsAtTheNextFrameAndRestoresTheClock) {
    void* box = SampledBox(1, 10);
    host.dAnim_Clock = 3.5;
    host.Escape().PressAtProgress(2);

    EXPECT_EQ(-1, Export(box));

    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(2, host.Escape().ProgressLines());
    EXPECT_EQ(3, host.Escape().Polls());  // frames 1 to 3: the press is seen at once
    EXPECT_EQ(3.5, host.dAnim_Clock);
    EXPECT_EQ((std::vector<std::int32_t>{32, 32, 32}), host.Updates());
    EXPECT_EQ(kAborted, Status());
}

TEST_F(ExportAbort, AnAbortedCameraGetsNoZoomFile) {
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 0).Set(0, 1.0).Set(12, 2.0);
    Prepare(cam, "Cam");
    host.Escape().Hold();

    EXPECT_EQ(-1, Export(cam));
    EXPECT_TRUE(Files().empty());
}

// The exporter forgets no press: that is for the user's action as a whole
// (the buttons), not for each item of a batch run.
TEST_F(ExportAbort, APressBeforeTheExportIsSeenByItsFirstPoll) {
    void* box = SampledBox(1, 3);
    Write("Box.mot", "an older export");
    host.Escape().Tap();

    EXPECT_EQ(-1, Export(box));
    EXPECT_EQ("an older export", Read("Box.mot"));
    EXPECT_EQ(1, host.Escape().Polls());
}

// A quick tap while a camera's files are made durable, moved into place or
// the zoom file is written: the export polls no more, so the next item of
// the run sees the press and stops before touching its file.
TEST_F(ExportAbort, ATapWhileAFileIsFinishedIsSeenByTheNextItem) {
    using corvantide::FileOutput;
    struct Moment {
        const char* what;
        void (*arrange)();
    };
    static const Moment moments[] = {
        {"sync", [] { FileOutput.sync = [](void* file) { return Tap(), corvantide::SyncFileData(file); }; }},
        {"move",
         [] {
             FileOutput.replace = [](const char* from, const char* to) {
                 return Tap(), corvantide::PlatformFileOperations().replace(from, to);
             };
         }},
        {"folder sync",
         [] {
             FileOutput.syncFolder = [](const char* path) { return Tap(), corvantide::SyncFolderOf(path); };
         }},
        {"zoom file",
         [] {
             FileOutput.open = [](const char* path) {
                 static int opens = 0;
                 if (++opens % 2 == 0) Tap();  // the camera's second file
                 return corvantide::PlatformFileOperations().open(path);
             };
         }},
    };
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 0).Set(0, 1.0).Set(12, 2.0);
    Prepare(cam, "Cam");
    void* box = SampledBox(1, 3);
    for (const Moment& moment : moments) {
        Write("Box.mot", "an older export");
        host.Escape().Reset();
        moment.arrange();
        EXPECT_EQ(1, Export(cam)) << moment.what;  // its last poll came before
        corvantide::FileOutput = corvantide::PlatformFileOperations();
        EXPECT_EQ(-1, Export(box)) << moment.what;
        EXPECT_EQ("an older export", Read("Box.mot")) << moment.what;
        EXPECT_EQ(kAborted, Status()) << moment.what;
    }
}

}  // namespace
}  // namespace corvantide_test
