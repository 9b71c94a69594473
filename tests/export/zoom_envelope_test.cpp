// A camera's zoom-factor file on its own.
#include <cstring>
#include <string>

#include "export/file_output.h"
#include "export/zoom_envelope.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

class ZoomEnvelope : public LinkedPlugin {};

TEST_F(ZoomEnvelope, KeysThatNeverKeyTheZoomHoldTheFirstKeysZoomFromItsTime) {
    host.dFPS = 10.0;
    void* cam = host.Scene().AddItem("Cam", 8);
    host.Scene().AddKey(cam, 5).Set(0, 1.0).Value(12, 1.75).Tcb(12, 0.5F, 0.5F, 0.5F);
    host.Scene().AddKey(cam, 10).Set(0, 2.0).Value(12, 6.0);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");

    EXPECT_EQ(1, corvantide::WriteZoomEnvelope(cam, settings));
    EXPECT_EQ(
        "{ Envelope\n  1\n  Key 1.750000 0.500000 0 0.000000 0.000000 0.000000 0 0 0\n  Behaviors 1 1\n}\n",
        Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ(std::vector<std::string>{"Cam_ZoomFactor.mot"}, Files());
    EXPECT_EQ(0, host.Escape().Polls());
    EXPECT_TRUE(host.Updates().empty());
}

TEST_F(ZoomEnvelope, ACameraOfOneKeyThatDoesNotKeyTheZoomHoldsThatKeysZoom) {
    host.dFPS = 10.0;
    void* cam = host.Scene().AddItem("Cam", 8);
    host.Scene().AddKey(cam, 5).Set(0, 1.0).Value(12, 1.5);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");

    EXPECT_EQ(1, corvantide::WriteZoomEnvelope(cam, settings));
    EXPECT_EQ(
        "{ Envelope\n  1\n  Key 1.500000 0.500000 0 0.000000 0.000000 0.000000 0 0 0\n  Behaviors 1 1\n}\n",
        Read("Cam_ZoomFactor.mot"));
}

TEST_F(ZoomEnvelope, OnlyTheKeysThatKeyTheZoomArePrinted) {
    host.dFPS = 25.0;
    void* cam = host.Scene().AddItem("Cam", 8);
    host.Scene().AddKey(cam, 5).Set(12, 0.75).Tcb(12, -1.0F, 0.5F, 0.0F);
    host.Scene().AddKey(cam, 10).Value(12, 9.0);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");
    settings->freezeMotion = 1;  // the zoom always comes from the keys
    settings->coordinates = 1;

    EXPECT_EQ(1, corvantide::WriteZoomEnvelope(cam, settings));
    EXPECT_EQ(
        "{ Envelope\n  1\n  Key 0.750000 0.200000 0 -1.000000 0.500000 0.000000 0 0 0\n  Behaviors 1 1\n}\n",
        Read("Cam_ZoomFactor.mot"));
}

TEST_F(ZoomEnvelope, AnItemThatIsNoCameraHasNoZoomFile) {
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(12, 2.0);
    EXPECT_EQ(1, corvantide::WriteZoomEnvelope(box, Prepare(box, "Box")));
    EXPECT_TRUE(Files().empty());
}

TEST_F(ZoomEnvelope, AZoomFileThatCannotBeOpenedMovedOrAllocatedIsAFailure) {
    void* cam = host.Scene().AddItem("Cam", 8);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");
    Write("Cam_ZoomFactor.mot", "older zoom");

    corvantide::FileOutput.open = [](const char*) -> void* { return nullptr; };
    EXPECT_EQ(0, corvantide::WriteZoomEnvelope(cam, settings));
    corvantide::FileOutput = corvantide::PlatformFileOperations();

    corvantide::FileOutput.replace = [](const char*, const char*) { return false; };
    EXPECT_EQ(0, corvantide::WriteZoomEnvelope(cam, settings));
    corvantide::FileOutput = corvantide::PlatformFileOperations();

    host.Memory().FailFrom(1);
    EXPECT_EQ(0, corvantide::WriteZoomEnvelope(cam, settings));
    host.Memory().StopFailing();
    EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ(std::vector<std::string>{"Cam_ZoomFactor.mot"}, Files());
}

TEST_F(ZoomEnvelope, ACameraWithoutSettingsOrDestinationOrRoomForTheZoomFileNameHasNoZoomFile) {
    void* cam = host.Scene().AddItem("Cam", 8);
    corvantide::ExportSettings* settings = Prepare(cam, "Cam");
    EXPECT_EQ(0, corvantide::WriteZoomEnvelope(cam, nullptr));
    char* destination = settings->destinationPath;
    settings->destinationPath = nullptr;
    EXPECT_EQ(0, corvantide::WriteZoomEnvelope(cam, settings));
    settings->destinationPath = destination;
    // 1009 characters and "_ZoomFactor.mot" do not fit a file name of 1023.
    const std::string tooLong(1009, 'c');
    std::memcpy(destination, tooLong.c_str(), tooLong.size() + 1);
    EXPECT_EQ(0, corvantide::WriteZoomEnvelope(cam, settings));
    EXPECT_TRUE(Files().empty());
}

}  // namespace
}  // namespace corvantide_test
