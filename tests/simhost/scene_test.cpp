// The simulated host's scene: key records as the host lays them out, local
// evaluation at a frame, and world values through the parent chain.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "sim_scene.h"

namespace corvantide_test {
namespace {

using simhost::SimScene;

template <typename T>
T At(const void* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

double Local(void* item, int channel) {
    return At<double>(item, simhost::item_layout::kChannelValues + 8 * static_cast<std::size_t>(channel));
}
std::int32_t FirstKey(void* item, int c) {
    return At<std::int32_t>(item, simhost::item_layout::kFirstKey + 4 * static_cast<std::size_t>(c));
}
std::int32_t LastKey(void* item, int c) {
    return At<std::int32_t>(item, simhost::item_layout::kLastKey + 4 * static_cast<std::size_t>(c));
}
double KeyTime(void* item, int k) {
    const auto* keys = At<const unsigned char*>(item, simhost::item_layout::kKeys);
    return At<double>(keys + static_cast<std::size_t>(k) * simhost::key_layout::kRecordSize,
                      simhost::key_layout::kTime);
}

TEST(Scene, KeysStayInTimeOrderAndFirstAndLastKeysFollowTheFlags) {
    SimScene scene;
    void* box = scene.AddItem("Box");
    auto late = scene.AddKey(box, 20).Set(0, 2.0);
    scene.AddKey(box, 10).Set(1, 1.0);
    scene.AddKey(box, 0).Set(0, 0.0);
    late.Set(1, 5.0);  // the builder still reaches its key after insertions before it

    EXPECT_EQ(3, At<std::int32_t>(box, simhost::item_layout::kKeyCount));
    EXPECT_EQ(0.0, KeyTime(box, 0));
    EXPECT_EQ(10.0, KeyTime(box, 1));
    EXPECT_EQ(20.0, KeyTime(box, 2));
    EXPECT_EQ(2, late.Index());
    EXPECT_EQ(0, FirstKey(box, 0));
    EXPECT_EQ(2, LastKey(box, 0));
    EXPECT_EQ(1, FirstKey(box, 1));
    EXPECT_EQ(2, LastKey(box, 1));
    EXPECT_EQ(-1, FirstKey(box, 2));
    EXPECT_EQ(0x3u, At<std::uint32_t>(late.Record(), simhost::key_layout::kFlags));

    late.Flags(0x2);
    EXPECT_EQ(0, LastKey(box, 0));
    scene.SetFirstKey(box, 1, 7);
    scene.AddKey(box, -5).Set(1, 3.0);
    EXPECT_EQ(7, FirstKey(box, 1));  // pinned by the test, not recomputed
    EXPECT_EQ(3, LastKey(box, 1));
}

TEST(Scene, LinearAndSteppedSpansEvaluateExactlyAndEndsHold) {
    SimScene scene;
    void* box = scene.AddItem("Box");
    scene.AddKey(box, 0).Set(0, 0.0).Set(1, 1.0);
    scene.AddKey(box, 10).Set(0, 10.0).Span(0, simhost::kSpanLinear).Set(1, 2.0).Span(1, simhost::kSpanStepped);
    scene.AddKey(box, 20).Set(0, -10.0).Span(0, simhost::kSpanLinear);

    scene.Evaluate(2.5);
    EXPECT_EQ(2.5, Local(box, 0));
    EXPECT_EQ(1.0, Local(box, 1));
    scene.Evaluate(15);
    EXPECT_EQ(0.0, Local(box, 0));
    EXPECT_EQ(2.0, Local(box, 1));
    scene.Evaluate(-3);
    EXPECT_EQ(0.0, Local(box, 0));
    scene.Evaluate(99);
    EXPECT_EQ(-10.0, Local(box, 0));
    EXPECT_EQ(1.0, Local(box, 6));  // unkeyed scale rests at 1
}

TEST(Scene, TcbAndBezierSpansPassThroughTheirKeys) {
    SimScene scene;
    void* box = scene.AddItem("Box");
    scene.AddKey(box, 0).Set(0, 0.0).Set(1, 0.0).Handles(1, 0.0F, 1.0F);
    scene.AddKey(box, 10).Set(0, 10.0).Span(0, simhost::kSpanTcb).Set(1, 1.0).Span(1, simhost::kSpanBezier);
    scene.AddKey(box, 20).Set(0, 0.0).Span(0, simhost::kSpanTcb).Tcb(0, 1.0F, 0.0F, 0.0F);

    for (double frame : {0.0, 10.0, 20.0}) {
        scene.Evaluate(frame);
        EXPECT_EQ(frame == 10.0 ? 10.0 : 0.0, Local(box, 0)) << frame;
    }
    scene.Evaluate(5);
    EXPECT_NEAR(0.875, Local(box, 1), 1e-12);  // control values 0, 1, 1, 1
    EXPECT_GT(Local(box, 0), 5.0);             // eased towards the peak at 10
    EXPECT_LT(Local(box, 0), 10.0);
}

TEST(Scene, WorldValuesComposeTheParentsPositionRotationAndScale) {
    SimScene scene;
    void* rig = scene.AddItem("Rig");
    scene.SetRestValue(rig, 0, 1.0);
    scene.SetRestValue(rig, 3, std::numbers::pi / 2);  // heading a quarter turn
    for (int c = 6; c < 9; ++c) scene.SetRestValue(rig, c, 2.0);
    void* arm = scene.AddItem("Arm");
    ASSERT_TRUE(scene.SetParent(arm, rig));
    EXPECT_FALSE(scene.SetParent(rig, arm));  // no cycles
    scene.AddKey(arm, 0).Set(2, 1.0).Set(3, 0.25).Set(7, 3.0);

    double out[3];
    scene.WorldChannels(arm, 43, 0.0, out);
    EXPECT_NEAR(3.0, out[0], 1e-12);  // (0, 0, 1) scaled by 2, turned onto +X, moved by 1
    EXPECT_NEAR(0.0, out[1], 1e-12);
    EXPECT_NEAR(0.0, out[2], 1e-12);
    scene.WorldChannels(arm, 44, 0.0, out);
    EXPECT_NEAR(std::numbers::pi / 2 + 0.25, out[0], 1e-12);
    EXPECT_NEAR(0.0, out[1], 1e-12);
    EXPECT_NEAR(0.0, out[2], 1e-12);
    scene.WorldChannels(arm, 37, 0.0, out);
    EXPECT_EQ(2.0, out[0]);
    EXPECT_EQ(6.0, out[1]);

    // Under an unrotated parent the item's own angles pass unchanged.
    void* mover = scene.AddItem("Mover");
    scene.SetRestValue(mover, 0, 3.0);
    void* child = scene.AddItem("Child");
    scene.SetParent(child, mover);
    scene.AddKey(child, 0).Set(3, 4.0).Set(4, 2.0);
    scene.WorldChannels(child, 44, 0.0, out);
    EXPECT_EQ(4.0, out[0]);
    EXPECT_EQ(2.0, out[1]);
}

}  // namespace
}  // namespace corvantide_test
