// What a batch run writes for each item: the host's own values where no key
// keys a channel, and world turns that stay continuous from frame to frame.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/item_record.h"
#include "motfile/motion_reader.h"
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

namespace fs = std::filesystem;
using corvantide::motfile::Envelope;

constexpr double kPi = 3.141592653589793;

class BatchMotion : public PanelSession {
protected:
    // Sets every item up for the batch directory and runs the batch.
    void SetupAndExport() {
        user.TypeBatchPath((directory / "out").string());
        fs::create_directories(directory / "out");
        user.Toggle("Use Batch Directory", true);
        user.Press("Setup Batch");
        user.Press("Export Batch Motions");
    }

    // The envelopes of a file the batch wrote into "out" (on Linux the
    // host's backslash is part of the file name).
    std::vector<Envelope> Envelopes(const std::string& fileName) {
        fs::path path = directory / ("out\\" + fileName);
        if (!fs::exists(path)) path = directory / "out" / fileName;
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const auto read = corvantide::motfile::ParseMotionText(text.str());
        EXPECT_TRUE(read.ok) << fileName << ": " << read.error.reason;
        return read.ok ? read.file.envelopes : std::vector<Envelope>{};
    }

    // A channel that holds one value: one key, at `time`, Constant both ways.
    static void ExpectHeld(const std::vector<Envelope>& envelopes, int channel, double value, double time) {
        ASSERT_LT(static_cast<std::size_t>(channel), envelopes.size());
        const Envelope& envelope = envelopes[static_cast<std::size_t>(channel)];
        EXPECT_FALSE(envelope.placeholder) << "channel " << channel;
        ASSERT_EQ(1u, envelope.keys.size()) << "channel " << channel;
        EXPECT_DOUBLE_EQ(value, envelope.keys[0].value) << "channel " << channel;
        EXPECT_DOUBLE_EQ(time, envelope.keys[0].time) << "channel " << channel;
        EXPECT_EQ(1, envelope.preBehaviour);
        EXPECT_EQ(1, envelope.postBehaviour);
    }

    ScratchDirectory scratch{"batch-motion-" + CurrentTestName()};
    const fs::path& directory = scratch.Path();
};

TEST_F(BatchMotion, ChannelsNoKeyKeysHoldTheItemsValuesInEveryFileOfTheRun) {
    host.dFPS = 10.0;
    auto& scene = host.Scene();
    void* arm = scene.AddItem("Arm");
    scene.SetRestValue(arm, 7, 2.0);
    scene.AddKey(arm, 5).Set(0, 1.0);
    scene.AddKey(arm, 15).Set(0, 3.0);
    void* prop = scene.AddItem("Prop");
    scene.SetRestValue(prop, 1, 4.5);
    void* cam = scene.AddItem("Cam", kCameraType);
    scene.AddKey(cam, 2).Set(0, 1.0).Value(12, 1.5);
    scene.AddKey(cam, 8).Set(0, 2.0).Value(12, 3.0);
    OpenPanel();
    user.SelectItem(arm);

    SetupAndExport();

    const auto armFile = Envelopes("Arm.mot");
    ASSERT_EQ(9u, armFile.size());
    EXPECT_EQ(2u, armFile[0].keys.size());
    ExpectHeld(armFile, 7, 2.0, 0.5);  // scale Y holds the arm's own 2, from its first key
    ExpectHeld(armFile, 8, 1.0, 0.5);
    const auto propFile = Envelopes("Prop.mot");
    ASSERT_EQ(9u, propFile.size());
    ExpectHeld(propFile, 1, 4.5, 0.0);  // a prop without keys stays where it stands
    ExpectHeld(propFile, 6, 1.0, 0.0);
    const auto camFile = Envelopes("Cam.mot");
    ASSERT_EQ(6u, camFile.size());
    ExpectHeld(camFile, 3, 0.0, 0.2);
    // The zoom is keyed by neither key: it holds the first key's zoom.
    const auto zoom = Envelopes("Cam_ZoomFactor.mot");
    ASSERT_EQ(1u, zoom.size());
    ExpectHeld(zoom, 0, 1.5, 0.2);
    ExpectCleanHost();
}

TEST_F(BatchMotion, WorldValuesSampledInABatchTurnNoWholeTurnBetweenFrames) {
    auto& scene = host.Scene();
    void* stand = scene.AddItem("Stand");
    scene.SetRestValue(stand, 3, 0.5);
    void* table = scene.AddItem("Table");
    scene.SetParent(table, stand);
    scene.AddKey(table, 0).Set(3, 2.5).Span(3, simhost::kSpanLinear);
    scene.AddKey(table, 20).Set(3, 9.5).Span(3, simhost::kSpanLinear);
    OpenPanel();
    user.SelectItem(table);
    user.Choose("Coordinates", 1);
    user.Toggle("Freeze Motion", true);
    user.Type("Begin Frame", 0);
    user.Type("End Frame", 20);

    SetupAndExport();

    const auto tableFile = Envelopes("Table.mot");
    ASSERT_EQ(9u, tableFile.size());
    const auto& headings = tableFile[3].keys;
    ASSERT_EQ(21u, headings.size());
    for (std::size_t f = 1; f < headings.size(); ++f) {
        EXPECT_LT(std::abs(headings[f].value - headings[f - 1].value), kPi) << "frame " << f;
    }
    EXPECT_NEAR(10.0, headings.back().value, 1e-5);
    ExpectCleanHost();
}

}  // namespace
}  // namespace corvantide_test
