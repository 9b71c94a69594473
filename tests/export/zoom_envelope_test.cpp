// A camera's zoom-factor file, written by the camera's export beside its
// motion file.
#include <cstring>
#include <string>

#include "export/file_output.h"
#include "host/item_record.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

class ZoomEnvelope : public LinkedPlugin {};

TEST_F(ZoomEnvelope, KeysThatNeverKeyTheZoomHoldTheFirstKeysZoomFromItsTime) {
    host.dFPS = 10.0;
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 5).Set(0, 1.0).Value(12, 1.75).Tcb(12, 0.5F, 0.5F, 0.5F);
    host.Scene().AddKey(cam, 10).Set(0, 2.0).Value(12, 6.0);
    Prepare(cam, "Cam");

    EXPECT_EQ(1, Export(cam));
    EXPECT_EQ(
        "{ Envelope\n  1\n  Key 1.750000 0.500000 0 0.000000 0.000000 0.000000 0 0 0\n  Behaviors 1 1\n}\n",
        Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ((std::vector<std::string>{"Cam.mot", "Cam_ZoomFactor.mot"}), Files());
    // The zoom file adds no poll and no move of the clock to the keys export's.
    EXPECT_EQ(2, host.Escape().Polls());
}

TEST_F(ZoomEnvelope, ACameraOfOneKeyThatDoesNotKeyTheZoomHoldsThatKeysZoom) {
    host.dFPS = 10.0;
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 5).Set(0, 1.0).Value(12, 1.5);
    Prepare(cam, "Cam");

    EXPECT_EQ(1, Export(cam));
    EXPECT_EQ(
        "{ Envelope\n  1\n  Key 1.500000 0.500000 0 0.000000 0.000000 0.000000 0 0 0\n  Behaviors 1 1\n}\n",
        Read("Cam_ZoomFactor.mot"));
}

TEST_F(ZoomEnvelope, OnlyTheKeysThatKeyTheZoomArePrinted) {
    host.dFPS = 25.0;
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 5).Set(12, 0.75).Tcb(12, -1.0F, 0.5F, 0.0F);
    host.Scene().AddKey(cam, 10).Value(12, 9.0);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");
    settings->freezeMotion = 1;  // the zoom always comes from the keys
    settings->coordinates = 1;
    settings->beginFrame = 0;
    settings->endFrame = 3;

    EXPECT_EQ(1, Export(cam));
    EXPECT_EQ(
        "{ Envelope\n  1\n  Key 0.750000 0.200000 0 -1.000000 0.500000 0.000000 0 0 0\n  Behaviors 1 1\n}\n",
        Read("Cam_ZoomFactor.mot"));
}

TEST_F(ZoomEnvelope, AnItemThatIsNoCameraHasNoZoomFile) {
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(12, 2.0);
    Prepare(box, "Box");
    EXPECT_EQ(1, Export(box));
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
}

// The camera's motion file is complete: it moves into place, and the zoom
// file that failed keeps its earlier text.
TEST_F(ZoomEnvelope, AZoomFileThatCannotBeOpenedMovedOrAllocatedIsAFailure) {
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    Prepare(cam, "Cam");
    Write("Cam_ZoomFactor.mot", "older zoom");

    corvantide::FileOutput.open = [](const char* path) -> void* {
        static int opens = 0;
        return ++opens % 2 == 0 ? nullptr : corvantide::PlatformFileOperations().open(path);
    };
    EXPECT_EQ(0, Export(cam));
    corvantide::FileOutput = corvantide::PlatformFileOperations();

    corvantide::FileOutput.replace = [](const char* from, const char* to) {
        const std::string target(to);
        return target.find("_ZoomFactor") == std::string::npos &&
               corvantide::PlatformFileOperations().replace(from, to);
    };
    EXPECT_EQ(0, Export(cam));
    corvantide::FileOutput = corvantide::PlatformFileOperations();

    host.Memory().FailFrom(1);  // a camera without keys: the zoom buffer is its one block
    EXPECT_EQ(0, Export(cam));
    host.Memory().StopFailing();
    EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ("LWMO", Read("Cam.mot").substr(0, 4));
    EXPECT_EQ((std::vector<std::string>{"Cam.mot", "Cam_ZoomFactor.mot"}), Files());
}

TEST_F(ZoomEnvelope, ACameraWithoutSettingsOrDestinationOrRoomForTheZoomFileNameHasNoZoomFile) {
    void* bare = host.Scene().AddItem("Bare", kCameraType);
    EXPECT_EQ(1, Export(bare));  // no settings: nothing to write
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");
    char* destination = settings->destinationPath;
    settings->destinationPath = nullptr;
    EXPECT_EQ(0, Export(cam));
    settings->destinationPath = destination;
    // 1009 characters and "_ZoomFactor.mot" do not fit a file name of 1023:
    // neither file is written.
    const std::string tooLong = PathOf(std::string(1009 - PathOf("").size(), 'c'));
    std::memcpy(destination, tooLong.c_str(), tooLong.size() + 1);
    EXPECT_EQ(0, Export(cam));
    EXPECT_TRUE(Files().empty());
}

}  // namespace
}  // namespace corvantide_test
