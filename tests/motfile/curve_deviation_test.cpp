// Measuring how far a file's curve is from motion sampled frame by frame.
#include "motfile/curve_deviation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "motfile/envelope_eval.h"

namespace corvantide_test {
namespace {

using namespace corvantide::motfile;

constexpr double kFps = 30.0;

MotionKey Key(double time, double value, int shape = kShapeTcb, double tension = 0, double continuity = 0,
              double bias = 0) {
    MotionKey key;
    key.time = time;
    key.value = value;
    key.shape = shape;
    key.params = {tension, continuity, bias, 0, 0, 0};
    return key;
}

double SixDecimals(double value) { return std::round(value * 1e6) / 1e6; }

// The curve as a file holds it: every number with six decimals.
Envelope Written(Envelope envelope) {
    for (MotionKey& key : envelope.keys) {
        key.value = SixDecimals(key.value);
        key.time = SixDecimals(key.time);
        for (double& param : key.params) param = SixDecimals(param);
    }
    return envelope;
}

std::vector<CurveSample> EveryFrame(const Envelope& envelope, int frames, double shift = 0.0) {
    std::vector<CurveSample> samples;
    for (int frame = 0; frame <= frames; ++frame) {
        const double time = frame / kFps;
        samples.push_back({time, EvaluateEnvelope(envelope, time) + shift});
    }
    return samples;
}

TEST(CurveDeviation, TheLargestDifferenceIsFoundWithTheSampleItOccursAt) {
    Envelope envelope;
    envelope.keys = {Key(0, 0, kShapeLinear), Key(1, 1, kShapeLinear)};
    const std::vector<CurveSample> samples = {{0.0, 0.0}, {0.25, 0.5}, {0.5, 0.5}, {0.75, 0.5}, {1.0, 1.25}};
    const CurveDeviation deviation = MeasureDeviation(envelope, samples);
    EXPECT_EQ(5U, deviation.compared);
    EXPECT_EQ(1U, deviation.at);  // 0.25 off, the first of two such
    EXPECT_DOUBLE_EQ(0.25, deviation.largest);
    EXPECT_FALSE(IsExact(deviation));

    // Frames without a host value are left out, and so are times outside the span asked for.
    const std::vector<CurveSample> gaps = {{0.0, NAN}, {0.5, 0.5}, {1.0, 9.0}};
    EXPECT_EQ(1U, MeasureDeviation(envelope, gaps, -HUGE_VAL, 0.9).compared);
    EXPECT_TRUE(IsExact(MeasureDeviation(envelope, gaps, -HUGE_VAL, 0.9)));
    EXPECT_EQ(0U, MeasureDeviation(envelope, {}).compared);
}

TEST(CurveDeviation, SixDecimalsOfTcbLinearAndSteppedKeysReadAsExactAndAShiftOfTheFifthDoesNot) {
    Envelope motion;
    motion.keys = {Key(0, 1.0 / 3),
                   Key(7 / kFps, -2.0 / 7, kShapeTcb, 0.3, -0.4, 0.25),
                   Key(13 / kFps, 5.0 / 9, kShapeTcb, -0.5, 0.5, -0.5),
                   Key(20 / kFps, 1.0 / 6, kShapeLinear),
                   Key(28 / kFps, 4.0 / 11, kShapeStepped),
                   Key(40 / kFps, -1.0 / 13, kShapeTcb, 0.7, 0.2, 0.1)};
    motion.preBehaviour = kBehaviourConstant;
    motion.postBehaviour = kBehaviourConstant;
    const Envelope file = Written(motion);
    EXPECT_TRUE(IsExact(MeasureDeviation(file, EveryFrame(motion, 45))));
    EXPECT_FALSE(IsExact(MeasureDeviation(file, EveryFrame(motion, 45, 0.00001))));
}

}  // namespace
}  // namespace corvantide_test
