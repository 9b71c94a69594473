// Rotations as the host hands them over: world values come from a transform,
// in a principal range, and a file sampled every frame must not turn the
// item a whole turn backwards between two frames.
#include <cmath>
#include <string>
#include <vector>

#include "export/motion_collection.h"
#include "linked_plugin.h"
#include "motfile/motion_reader.h"

namespace corvantide_test {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTurn = 2 * kPi;
constexpr int kHeading = 3;
constexpr int kLastFrame = 20;

class WorldRotation : public LinkedPlugin {
protected:
    // A turntable on a stand turned by 0.5 radians: its world heading runs
    // from 3.0 to 10.0 radians over 20 frames, 0.35 a frame, through 180
    // degrees at frame 1 and again at frame 19. The host works its world
    // values out of the turned transform, in the principal range.
    void* Turntable() {
        auto& scene = host.Scene();
        void* stand = scene.AddItem("Stand");
        scene.SetRestValue(stand, kHeading, 0.5);
        void* table = scene.AddItem("Turntable");
        scene.SetParent(table, stand);
        scene.AddKey(table, 0).Set(kHeading, 2.5).Span(kHeading, simhost::kSpanLinear);
        scene.AddKey(table, kLastFrame).Set(kHeading, 9.5).Span(kHeading, simhost::kSpanLinear);
        return table;
    }

    corvantide::ExportSettings* PrepareSampled(void* item, const std::string& name, std::int32_t coordinates) {
        corvantide::ExportSettings* settings = Prepare(item, name);
        settings->freezeMotion = 1;
        settings->coordinates = coordinates;
        settings->beginFrame = 0;
        settings->endFrame = kLastFrame;
        return settings;
    }

    std::vector<double> Headings(const std::string& fileName) {
        const auto read = corvantide::motfile::ParseMotionText(Read(fileName));
        EXPECT_TRUE(read.ok) << read.error.reason;
        std::vector<double> values;
        if (!read.ok) return values;
        for (const auto& key : read.file.envelopes[kHeading].keys) values.push_back(key.value);
        return values;
    }

    double HostWorldHeading(void* item, double frame) {
        double out[3] = {};
        host.Scene().WorldChannels(item, 44, frame, out);
        return out[0];
    }
};

TEST_F(WorldRotation, SampledWorldHeadingsStayWithinHalfATurnOfTheFrameBefore) {
    void* table = Turntable();
    PrepareSampled(table, "Table", 1);

    EXPECT_EQ(1, Export(table));

    const std::vector<double> written = Headings("Table.mot");
    ASSERT_EQ(std::size_t{kLastFrame + 1}, written.size());
    EXPECT_LT(HostWorldHeading(table, 2), 0.0);  // the host's own value has jumped
    for (int frame = 0; frame <= kLastFrame; ++frame) {
        const double hostValue = HostWorldHeading(table, frame);
        // The same orientation as the host's at the frame itself...
        EXPECT_NEAR(0.0, std::remainder(written[frame] - hostValue, kTurn), 1e-5) << "frame " << frame;
        // ...and no jump from the frame before.
        if (frame > 0) {
            EXPECT_LT(std::abs(written[frame] - written[frame - 1]), kPi) << "frame " << frame;
        }
        // The stand does not move: the item's own turn plus the stand's.
        EXPECT_NEAR(3.0 + 0.35 * frame, written[frame], 1e-5) << "frame " << frame;
    }
}

TEST_F(WorldRotation, LocalValuesAndWorldKeysAreWrittenAsTheHostGivesThem) {
    void* table = Turntable();
    PrepareSampled(table, "Local", 0);
    EXPECT_EQ(1, Export(table));
    corvantide::ExportSettings* keyed = Prepare(table, "Keys");
    keyed->freezeMotion = 0;
    keyed->coordinates = 1;
    EXPECT_EQ(1, Export(table));

    const std::vector<double> local = Headings("Local.mot");
    ASSERT_EQ(std::size_t{kLastFrame + 1}, local.size());
    EXPECT_NEAR(9.5, local.back(), 1e-6);  // past a whole turn, as the host holds it

    // Keys far apart may really turn further than half a turn: untouched.
    const std::vector<double> keys = Headings("Keys.mot");
    ASSERT_EQ(2u, keys.size());
    EXPECT_NEAR(3.0, keys[0], 1e-6);
    EXPECT_NEAR(HostWorldHeading(table, kLastFrame), keys[1], 1e-6);
    EXPECT_NEAR(10.0 - 2 * kTurn, keys[1], 1e-6);
}

TEST(NearestTurn, MovesByWholeTurnsToTheValueNearestThePreviousOne) {
    using corvantide::NearestTurn;
    EXPECT_DOUBLE_EQ(-3.0 + kTurn, NearestTurn(-3.0, 3.1));
    EXPECT_DOUBLE_EQ(3.0 - 2 * kTurn, NearestTurn(3.0, -9.0));
    EXPECT_DOUBLE_EQ(0.5, NearestTurn(0.5, 0.4));
    // Exactly half a turn apart rounds away from zero.
    EXPECT_DOUBLE_EQ(kTurn, NearestTurn(0.0, kPi));
    EXPECT_DOUBLE_EQ(-kTurn, NearestTurn(0.0, -kPi));
    // Nothing that is not a number is made into one, or the other way round.
    EXPECT_TRUE(std::isnan(NearestTurn(NAN, 1.0)));
    EXPECT_DOUBLE_EQ(1.0, NearestTurn(1.0, INFINITY));
}

}  // namespace
}  // namespace corvantide_test
