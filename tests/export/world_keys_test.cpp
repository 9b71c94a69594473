// World values from an item's keys, as a user exports them from the panel,
// for the current item and in a batch: every channel is written at every
// key, whichever channels the key keys, so what the parents add is there at
// each key; outside the keys each channel is Constant; an item without keys
// holds its world values of frame 0, wherever the user left the clock.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "motfile/motion_reader.h"
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using corvantide::motfile::Envelope;
using corvantide::motfile::kBehaviourConstant;

constexpr double kFps = 30.0;
constexpr double kEighthTurn = 0.7853981633974483;  // 45 degrees
constexpr double kSixDecimals = 5e-7;
constexpr std::int32_t kWorldGroups[] = {43, 44, 37};  // position, rotation, scale
constexpr int kHeading = 3;
constexpr int kPitch = 4;
constexpr int kZoomSlot = 12;
constexpr double kClockLeftAt = 30.0;

class WorldKeys : public PanelSession {
protected:
    // A crane that travels 10 units along X and turns 45 degrees from frame 0 to 60.
    void SetUp() override {
        PanelSession::SetUp();
        host.dFPS = kFps;
        auto& scene = host.Scene();
        crane = scene.AddItem("Crane");
        scene.AddKey(crane, 0)
            .Set(0, 0.0)
            .Span(0, simhost::kSpanLinear)
            .Set(kHeading, 0.0)
            .Span(kHeading, simhost::kSpanLinear);
        scene.AddKey(crane, 60)
            .Set(0, 10.0)
            .Span(0, simhost::kSpanLinear)
            .Set(kHeading, kEighthTurn)
            .Span(kHeading, simhost::kSpanLinear);
    }

    // A head on the crane, two units ahead of it, that keys only its pitch.
    void* RotationOnlyHead() {
        void* head = OnTheCrane("Head");
        host.Scene().SetRestValue(head, 2, 2.0);
        host.Scene().AddKey(head, 0).Set(kPitch, -0.2);
        host.Scene().AddKey(head, 20).Set(kPitch, 0.3);
        host.Scene().AddKey(head, 45).Set(kPitch, 0.1);
        return head;
    }

    // A camera on the crane that keys its Z position, its pitch and its zoom.
    void* CraneCamera() {
        void* cam = OnTheCrane("Cam", simhost::item_layout::kCameraType);
        host.Scene().AddKey(cam, 0).Set(2, -5.0).Set(kPitch, -0.1).Set(kZoomSlot, 2.0);
        host.Scene().AddKey(cam, 30).Set(2, -3.0).Set(kPitch, 0.0).Set(kZoomSlot, 2.5);
        host.Scene().AddKey(cam, 60).Set(2, -2.0).Set(kPitch, 0.1).Set(kZoomSlot, 3.0);
        return cam;
    }

    void* OnTheCrane(const std::string& name, std::int32_t type = 0) {
        void* item = host.Scene().AddItem(name, type);
        EXPECT_TRUE(host.Scene().SetParent(item, crane));
        return item;
    }

    // The user makes `item` current and sets it to World values from its keys.
    void ChooseWorldKeys(void* item) {
        user.SelectItem(item);
        user.Choose("Coordinates", 1);
        user.Toggle("Freeze Motion", false);
    }

    void ExportCurrent(void* item, const std::string& name) {
        ChooseWorldKeys(item);
        user.Toggle("Disable All Output Operations", false);
        user.TypePath((directory / name).string());
        user.Press("Export Current Motion");
    }

    void ExportBatch() {
        fs::create_directories(directory / "out");
        user.TypeBatchPath((directory / "out").string());
        user.Toggle("Use Batch Directory", true);
        user.Toggle("Use Current Data", false);  // each item keeps its own choices
        user.Press("Setup Batch");
        user.Press("Export Batch Motions");
    }

    // A file of the test's folder, or of the batch folder (on Linux the
    // host's backslash is part of the batch file's name).
    std::string Text(const std::string& fileName) const {
        fs::path path = directory / fileName;
        if (fileName.starts_with("out\\") && !fs::exists(path)) path = directory / "out" / fileName.substr(4);
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<Envelope> Envelopes(const std::string& fileName) const {
        const auto read = corvantide::motfile::ParseMotionText(Text(fileName));
        EXPECT_TRUE(read.ok) << fileName << ": " << read.error.reason;
        return read.ok ? read.file.envelopes : std::vector<Envelope>{};
    }

    double World(void* item, int channel, double frame) {
        double out[3] = {0.0, 0.0, 0.0};
        host.Scene().WorldChannels(item, kWorldGroups[channel / 3], frame, out);
        return out[channel % 3];
    }

    // Every channel of the file has one key per host key, at the key's time,
    // holding the item's world value there, with no span data and Constant
    // behaviours.
    void ExpectEveryChannelAtEveryKey(const std::string& fileName, void* item, std::size_t channels,
                                      const std::vector<double>& keyFrames) {
        const std::vector<Envelope> envelopes = Envelopes(fileName);
        ASSERT_EQ(channels, envelopes.size()) << fileName;
        for (std::size_t c = 0; c < channels; ++c) {
            const Envelope& envelope = envelopes[c];
            ASSERT_EQ(keyFrames.size(), envelope.keys.size()) << fileName << " channel " << c;
            for (std::size_t k = 0; k < keyFrames.size(); ++k) {
                const auto& key = envelope.keys[k];
                EXPECT_NEAR(keyFrames[k] / kFps, key.time, kSixDecimals) << fileName << " channel " << c;
                EXPECT_NEAR(World(item, static_cast<int>(c), keyFrames[k]), key.value, kSixDecimals)
                    << fileName << " channel " << c << " at frame " << keyFrames[k];
                EXPECT_EQ(0, key.shape);
                for (double parameter : key.params) EXPECT_EQ(0.0, parameter);
            }
            EXPECT_EQ(kBehaviourConstant, envelope.preBehaviour) << fileName << " channel " << c;
            EXPECT_EQ(kBehaviourConstant, envelope.postBehaviour) << fileName << " channel " << c;
        }
    }

    ScratchDirectory scratch{"world-keys-" + CurrentTestName()};
    const fs::path& directory = scratch.Path();
    void* crane = nullptr;
};

TEST_F(WorldKeys, ARotationOnlyItemCarriesItsParentsTravelAndTurnAtEveryKey) {
    void* head = RotationOnlyHead();
    OpenPanel();
    host.dAnim_Clock = kClockLeftAt;

    ExportCurrent(head, "Head");

    ExpectEveryChannelAtEveryKey("Head.mot", head, 9, {0, 20, 45});
    const std::vector<Envelope> file = Envelopes("Head.mot");
    ASSERT_EQ(9u, file.size());
    // The head keys no position and no heading: both come from the crane.
    EXPECT_NEAR(kEighthTurn / 3, file[kHeading].keys[1].value, kSixDecimals);
    EXPECT_NEAR(kEighthTurn * 0.75, file[kHeading].keys[2].value, kSixDecimals);
    EXPECT_GT(file[0].keys[2].value, 7.5);  // travelled 7.5 units, and two ahead of the turned crane
    EXPECT_NEAR(0.3, file[kPitch].keys[1].value, kSixDecimals);
    EXPECT_EQ(kClockLeftAt, host.dAnim_Clock);
    EXPECT_EQ(std::string::npos, Text("Head.mot").find("Behaviors 0 0"));
}

TEST_F(WorldKeys, ACameraOnTheCraneKeysItsSixChannelsAndItsZoomFileIsTheOneOfItsKeys) {
    void* cam = CraneCamera();
    OpenPanel();

    ExportCurrent(cam, "Cam");
    user.Choose("Coordinates", 0);
    user.TypePath((directory / "CamLocal").string());
    user.Press("Export Current Motion");

    ExpectEveryChannelAtEveryKey("Cam.mot", cam, 6, {0, 30, 60});
    // At the last key the crane has travelled 10 units and turned 45 degrees;
    // the camera stands 2 units behind it.
    EXPECT_NEAR(10.0 - 2.0 * std::sin(kEighthTurn), Envelopes("Cam.mot")[0].keys[2].value, kSixDecimals);
    EXPECT_EQ(std::string::npos, Text("Cam.mot").find("Behaviors 0 0"));
    EXPECT_EQ(Text("CamLocal_ZoomFactor.mot"), Text("Cam_ZoomFactor.mot"));
    EXPECT_EQ(3u, Envelopes("Cam_ZoomFactor.mot").at(0).keys.size());
    // In Local values a channel the camera never keys still holds one key.
    const std::vector<Envelope> local = Envelopes("CamLocal.mot");
    ASSERT_EQ(6u, local.size());
    EXPECT_EQ(1u, local[0].keys.size());
    EXPECT_EQ(3u, local[2].keys.size());
}

TEST_F(WorldKeys, AnItemWithoutKeysHoldsItsWorldValuesOfFrameZeroAndTheClockStaysWhereTheUserLeftIt) {
    void* lamp = OnTheCrane("Lamp");
    host.Scene().SetRestValue(lamp, 1, 2.0);
    OpenPanel();
    host.dAnim_Clock = kClockLeftAt;  // the crane is 5 units along and turned 22.5 degrees here

    ExportCurrent(lamp, "Lamp");

    const std::vector<Envelope> file = Envelopes("Lamp.mot");
    ASSERT_EQ(9u, file.size());
    const double atFrameZero[] = {0.0, 2.0, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0};
    for (std::size_t c = 0; c < file.size(); ++c) {
        ASSERT_EQ(1u, file[c].keys.size()) << "channel " << c;
        EXPECT_EQ(0.0, file[c].keys[0].time);
        EXPECT_NEAR(atFrameZero[c], file[c].keys[0].value, kSixDecimals) << "channel " << c;
    }
    EXPECT_EQ(kClockLeftAt, host.dAnim_Clock);
    // The export moved the clock to frame 0 and back, each time re-evaluating the scene.
    const std::vector<std::int32_t>& updates = host.Updates();
    ASSERT_GE(updates.size(), 3u);
    EXPECT_EQ((std::vector<std::int32_t>{32, 32, 0x9400}),
              std::vector<std::int32_t>(updates.end() - 3, updates.end()));
}

TEST_F(WorldKeys, ABatchRunWritesEveryWorldChannelAtEveryKeyAndKeepsLocalFilesAsTheyWere) {
    void* head = RotationOnlyHead();
    void* cam = CraneCamera();
    void* lamp = OnTheCrane("Lamp");
    host.Scene().SetRestValue(lamp, 1, 2.0);
    OpenPanel();
    for (void* item : {head, cam, lamp}) ChooseWorldKeys(item);
    user.SelectItem(crane);
    user.Choose("Coordinates", 0);  // the crane itself in Local values
    user.Toggle("Freeze Motion", false);
    host.dAnim_Clock = kClockLeftAt;

    ExportBatch();

    ExpectEveryChannelAtEveryKey("out\\Head.mot", head, 9, {0, 20, 45});
    ExpectEveryChannelAtEveryKey("out\\Cam.mot", cam, 6, {0, 30, 60});
    const std::vector<Envelope> lampFile = Envelopes("out\\Lamp.mot");
    ASSERT_EQ(9u, lampFile.size());
    EXPECT_NEAR(0.0, lampFile[0].keys.at(0).value, kSixDecimals);  // not the 5 of the clock's frame
    EXPECT_NEAR(0.0, lampFile[kHeading].keys.at(0).value, kSixDecimals);
    for (const char* name : {"out\\Head.mot", "out\\Cam.mot", "out\\Lamp.mot", "out\\Crane.mot"})
        EXPECT_EQ(std::string::npos, Text(name).find("Behaviors 0 0")) << name;
    // In Local values the crane's keys decide its channels: Position Y, which
    // no key keys, holds one key.
    const std::vector<Envelope> craneFile = Envelopes("out\\Crane.mot");
    ASSERT_EQ(9u, craneFile.size());
    EXPECT_EQ(2u, craneFile[0].keys.size());
    EXPECT_EQ(1u, craneFile[1].keys.size());
    EXPECT_EQ(kClockLeftAt, host.dAnim_Clock);
}

}  // namespace
}  // namespace corvantide_test
