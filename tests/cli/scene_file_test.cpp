// A scene file becomes the host's items and key records as the file says.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "scene_build.h"
#include "scene_json.h"

namespace corvantide_test {
namespace {

using namespace corvantide::cli;
namespace layout = simhost::key_layout;

template <typename T>
T At(const void* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

constexpr char kScene[] = R"({
  "fps": 24, "firstFrame": 5, "lastFrame": 50, "contentDirectory": "C:\\proj",
  "items": [
    {"name": "Hand", "parent": "Arm", "keys": [{"frame": 0, "values": {"position.x": 1}}]},
    {"name": "Arm", "source": "Objects\\Arm.lwo", "rest": {"scale.y": 2, "bank": 90},
     "behaviours": {"heading": 4, "scale.z": 9},
     "keys": [
       {"frame": 12, "values": {"heading": 90, "position.y": {"value": 3, "span": "stepped"}},
        "span": "bezier", "handles": [-45, 45], "tcb": [0.5, -0.25, 1]},
       {"frame": 0, "values": {"heading": 0, "position.y": 1}, "keyed": ["heading"]}
     ]},
    {"name": "Cam", "type": "camera", "keys": [{"frame": 0, "values": {"zoom": {"value": 3.2, "tcb": [0.3, 0, 0]}}}]}
  ]
})";

class SceneFile : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(ParseSceneJson(kScene, &scene, &error)) << error;
        BuildScene(scene, host);
    }
    SceneDescription scene;
    simhost::SimHost host;
};

TEST_F(SceneFile, TheHostGetsTheRangeRateContentDirectoryAndItems) {
    EXPECT_EQ(24.0, host.dFPS);
    EXPECT_EQ(5, host.iIn);
    EXPECT_EQ(50, host.iOut);
    simhost::SimScene& items = host.Scene();
    ASSERT_EQ(3U, items.Items().size());
    void* arm = items.ItemByName("Arm");
    void* hand = items.ItemByName("Hand");
    ASSERT_NE(nullptr, arm);
    EXPECT_STREQ("Objects\\Arm.lwo", At<const char*>(arm, simhost::item_layout::kSourcePath));
    EXPECT_EQ(nullptr, At<const char*>(hand, simhost::item_layout::kSourcePath));
    EXPECT_EQ(8, At<std::int32_t>(items.ItemByName("Cam"), simhost::item_layout::kType));
    EXPECT_EQ(4, At<std::int16_t>(arm, simhost::item_layout::kBehaviour + 2 * 3));
    EXPECT_EQ(9, At<std::int16_t>(arm, simhost::item_layout::kBehaviour + 2 * 8));
    // The hand hangs from the arm, declared after it: world X = the arm's offset + its own.
    double world[3];
    items.WorldChannels(hand, 43, 0.0, world);
    double local[9];
    items.LocalChannels(hand, 0.0, local);
    EXPECT_DOUBLE_EQ(1.0, local[0]);
    EXPECT_NE(local[1], world[1]);  // the arm's Y position moves the hand
    items.LocalChannels(arm, 0.0, local);
    EXPECT_DOUBLE_EQ(2.0, local[7]);                     // rest value of an unkeyed channel
    EXPECT_NEAR(std::numbers::pi / 2, local[5], 1e-12);  // rotations are given in degrees
}

TEST_F(SceneFile, KeysAreInTimeOrderWithTheirSlotsSpansAndKeyedChannels) {
    simhost::SimScene& items = host.Scene();
    void* arm = items.ItemByName("Arm");
    ASSERT_EQ(2, items.KeyCount(arm));
    const void* first = items.Key(arm, 0).Record();
    const void* second = items.Key(arm, 1).Record();
    EXPECT_EQ(0.0, At<double>(first, layout::kTime));
    EXPECT_EQ(12.0, At<double>(second, layout::kTime));
    // The first key keys heading only; its position Y value is there, unkeyed.
    EXPECT_EQ(1U << 3, At<std::uint32_t>(first, layout::kFlags));
    EXPECT_EQ(1.0, At<double>(first, layout::kValue + 8 * 1));
    EXPECT_EQ((1U << 3) | (1U << 1), At<std::uint32_t>(second, layout::kFlags));
    EXPECT_NEAR(std::numbers::pi / 2, At<double>(second, layout::kValue + 8 * 3), 1e-12);
    EXPECT_EQ(1, At<std::int8_t>(second, layout::kSpanMode + 3));  // the key's bezier
    EXPECT_EQ(3, At<std::int8_t>(second, layout::kSpanMode + 1));  // the channel's own stepped
    EXPECT_NEAR(-std::numbers::pi / 4, At<float>(second, layout::kInHandle + 4 * 3), 1e-6);
    EXPECT_NEAR(std::numbers::pi / 4, At<float>(second, layout::kOutHandle + 4 * 3), 1e-6);
    EXPECT_FLOAT_EQ(0.5f, At<float>(second, layout::kTension + 4 * 3));
    EXPECT_FLOAT_EQ(-0.25f, At<float>(second, layout::kContinuity + 4 * 3));
    EXPECT_FLOAT_EQ(1.0f, At<float>(second, layout::kBias + 4 * 3));
    // Handles of a position channel stay in scene units.
    EXPECT_FLOAT_EQ(45.0f, At<float>(second, layout::kOutHandle + 4 * 1));
}

TEST_F(SceneFile, ACamerasZoomGoesIntoSlotTwelve) {
    void* cam = host.Scene().ItemByName("Cam");
    const void* key = host.Scene().Key(cam, 0).Record();
    EXPECT_EQ(1U << 12, At<std::uint32_t>(key, layout::kFlags));
    EXPECT_EQ(3.2, At<double>(key, layout::kValue + 8 * 12));
    EXPECT_FLOAT_EQ(0.3f, At<float>(key, layout::kTension + 4 * 12));
    EXPECT_EQ(3.2, host.Scene().KeyedValue(cam, 12, 30.0, 0.0));
}

}  // namespace
}  // namespace corvantide_test
