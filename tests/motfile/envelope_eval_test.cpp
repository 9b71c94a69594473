// Envelope values between and beyond keys, checked against hand computation.
#include "motfile/envelope_eval.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "motfile/motion_reader.h"
#include "motion_texts.h"

namespace corvantide_test {
namespace {

using corvantide::motfile::Envelope;
using corvantide::motfile::EvaluateEnvelope;
using corvantide::motfile::MotionKey;

MotionKey Key(double time, double value, int shape = 0, std::initializer_list<double> params = {}) {
    MotionKey key;
    key.time = time;
    key.value = value;
    key.shape = shape;
    std::size_t p = 0;
    for (double param : params) {
        key.params[p++] = param;
    }
    return key;
}

Envelope Curve(std::initializer_list<MotionKey> keys, int pre = 1, int post = 1) {
    Envelope envelope;
    envelope.keys = keys;
    envelope.preBehaviour = pre;
    envelope.postBehaviour = post;
    return envelope;
}

TEST(EnvelopeSpans, LinearAndSteppedSpansFollowTheShapeOfTheKeyTheyEndAt) {
    const Envelope envelope = Curve({Key(0, 0, 4), Key(2, 4, 3), Key(3, 1, 4)});
    EXPECT_DOUBLE_EQ(1.0, EvaluateEnvelope(envelope, 0.5));    // linear span into key 1
    EXPECT_DOUBLE_EQ(4.0, EvaluateEnvelope(envelope, 2.999));  // stepped span holds key 1
    EXPECT_DOUBLE_EQ(1.0, EvaluateEnvelope(envelope, 3.0));    // the key's own value at its time
}

TEST(EnvelopeSpans, TcbWithEndKeysAloneIsAStraightLine) {
    const Envelope envelope = Curve({Key(0, 0), Key(1, 1)});
    EXPECT_DOUBLE_EQ(0.25, EvaluateEnvelope(envelope, 0.25));
    EXPECT_DOUBLE_EQ(0.5, EvaluateEnvelope(envelope, 0.5));
}

TEST(EnvelopeSpans, TcbTangentsComeFromNeighbourKeysScaledBySpanLength) {
    // Span 0..1: key 0 has no previous key (out = d = 2); key 1 sees key 2:
    // in = 1/2 * ((0 - 2) + 2) = 0. At u = 1/2: 0.5 * 2 + 0.125 * 2 = 1.25.
    EXPECT_DOUBLE_EQ(1.25, EvaluateEnvelope(Curve({Key(0, 0), Key(1, 2), Key(2, 0)}), 0.5));

    // Span 1..2 of 0, 2, 1: out of key 1 = 1/2 * ((2 - 0) + (1 - 2)) = 0.5,
    // in of key 2 = d = -1: 1 + 0.5 + 0.125 * 0.5 + 0.125 = 1.6875.
    EXPECT_DOUBLE_EQ(1.6875, EvaluateEnvelope(Curve({Key(0, 0), Key(1, 2), Key(2, 1)}), 1.5));
}

TEST(EnvelopeSpans, TensionFlattensAndBiasTiltsTheKeysTangent) {
    // Tension 1 on key 1: out = 0, so 1 + 0.5 + 0.125 = 1.625.
    EXPECT_DOUBLE_EQ(1.625, EvaluateEnvelope(Curve({Key(0, 0), Key(1, 2, 0, {1, 0, 0}), Key(2, 1)}), 1.5));
    // Bias 1 on key 1: a = 2, b = 0, out = 1/2 * 2 * 2 = 2: 1.5 + 0.25 + 0.125.
    EXPECT_DOUBLE_EQ(1.875, EvaluateEnvelope(Curve({Key(0, 0), Key(1, 2, 0, {0, 0, 1}), Key(2, 1)}), 1.5));
    // Continuity -1 on key 1: a = 0, b = 2, out = 1/2 * 2 * (1 - 2) = -1: 1.5 - 0.125 + 0.125.
    EXPECT_DOUBLE_EQ(1.5, EvaluateEnvelope(Curve({Key(0, 0), Key(1, 2, 0, {0, -1, 0}), Key(2, 1)}), 1.5));
}

TEST(EnvelopeSpans, BezierAndHermiteUseTheHandlesAsTangents) {
    // out = p5 of key 0 = 3, in = p4 of key 1 = 0: 0.5 + 0.125 * 3 = 0.875.
    const Envelope bezier = Curve({Key(0, 0, 2, {0, 0, 0, 0, 3}), Key(1, 1, 2, {0, 0, 0, 0, 0})});
    EXPECT_DOUBLE_EQ(0.875, EvaluateEnvelope(bezier, 0.5));
    const Envelope hermite = Curve({Key(0, 0, 1, {0, 0, 0, 0, 3}), Key(1, 1, 1, {0, 0, 0, 0, 0})});
    EXPECT_DOUBLE_EQ(0.875, EvaluateEnvelope(hermite, 0.5));

    // A next key at time 3 scales key 1's incoming handle 1.5 by 1/3:
    // 0.5 + 0.375 - 0.125 * 0.5 = 0.8125.
    const Envelope scaled =
        Curve({Key(0, 0, 2, {0, 0, 0, 0, 3}), Key(1, 1, 2, {0, 0, 0, 1.5, 0}), Key(3, 1, 2)});
    EXPECT_DOUBLE_EQ(0.8125, EvaluateEnvelope(scaled, 0.5));
}

TEST(EnvelopeSpans, TwoDimensionalBezierFollowsItsHandlesInTimeAndValue) {
    // Handles a third of the span in, flat: time is linear in the curve
    // parameter, and the value is 3 (1 - s) s^2 + s^3.
    const Envelope envelope = Curve({Key(0, 0, 5, {0, 0, 1.0 / 3, 0}), Key(1, 1, 5, {-1.0 / 3, 0, 0, 0})});
    EXPECT_NEAR(0.5, EvaluateEnvelope(envelope, 0.5), 1e-9);
    EXPECT_NEAR(0.15625, EvaluateEnvelope(envelope, 0.25), 1e-9);
    EXPECT_NEAR(0.84375, EvaluateEnvelope(envelope, 0.75), 1e-9);
}

class EnvelopeBehaviours : public testing::Test {
protected:
    // A linear ramp from 1 at time 1 to 3 at time 2.
    static double At(int pre, int post, double time) {
        return EvaluateEnvelope(Curve({Key(1, 1, 3), Key(2, 3, 3)}, pre, post), time);
    }
};

TEST_F(EnvelopeBehaviours, ResetGivesZeroAndConstantHoldsTheEndKey) {
    EXPECT_DOUBLE_EQ(0.0, At(0, 1, 0.5));
    EXPECT_DOUBLE_EQ(3.0, At(0, 1, 5.0));
    EXPECT_DOUBLE_EQ(1.0, At(1, 0, 0.5));
    EXPECT_DOUBLE_EQ(0.0, At(1, 0, 5.0));
}

TEST_F(EnvelopeBehaviours, RepeatWrapsTimeIntoTheKeyedRange) {
    EXPECT_DOUBLE_EQ(1.5, At(2, 2, 2.25));
    EXPECT_DOUBLE_EQ(1.5, At(2, 2, 5.25));
    EXPECT_DOUBLE_EQ(2.5, At(2, 2, 0.75));
}

TEST_F(EnvelopeBehaviours, OscillateMirrorsEveryOtherCycle) {
    EXPECT_DOUBLE_EQ(2.5, At(3, 3, 2.25));       // first cycle after: backwards
    EXPECT_DOUBLE_EQ(1.5, At(3, 3, 3.25));       // second: forwards again
    EXPECT_DOUBLE_EQ(1.5, At(3, 3, 0.75));       // first cycle before: backwards
    EXPECT_NEAR(3.0, At(3, 3, 2.000001), 1e-5);  // no jump at the last key
}

TEST_F(EnvelopeBehaviours, OffsetRepeatShiftsEachCycleByTheValueChange) {
    EXPECT_DOUBLE_EQ(3.5, At(4, 4, 2.25));
    EXPECT_DOUBLE_EQ(6.0, At(4, 4, 3.5));
    EXPECT_DOUBLE_EQ(0.0, At(4, 4, 0.5));
}

TEST_F(EnvelopeBehaviours, LinearExtendsAlongTheEndTangents) {
    EXPECT_DOUBLE_EQ(7.0, At(5, 5, 4.0));
    EXPECT_DOUBLE_EQ(-1.0, At(5, 5, 0.0));
    // TCB keys alone: out = in = d, the same slope.
    EXPECT_DOUBLE_EQ(7.0, EvaluateEnvelope(Curve({Key(1, 1), Key(2, 3)}, 5, 5), 4.0));
    // A stepped last span arrives flat.
    EXPECT_DOUBLE_EQ(3.0, EvaluateEnvelope(Curve({Key(1, 1), Key(2, 3, 4)}, 5, 5), 4.0));
}

TEST_F(EnvelopeBehaviours, OneKeyIsConstantWhateverItsBehavioursAndNoKeysAreZero) {
    for (int behaviour = 0; behaviour <= 5; ++behaviour) {  // Reset included
        EXPECT_DOUBLE_EQ(2.0, EvaluateEnvelope(Curve({Key(1, 2)}, behaviour, behaviour), -3.0));
        EXPECT_DOUBLE_EQ(2.0, EvaluateEnvelope(Curve({Key(1, 2)}, behaviour, behaviour), 9.0));
    }
    // Two keys at one time are not one key: Reset still gives 0 outside them.
    EXPECT_DOUBLE_EQ(0.0, EvaluateEnvelope(Curve({Key(1, 2), Key(1, 5)}, 0, 0), 9.0));
    EXPECT_DOUBLE_EQ(0.0, EvaluateEnvelope(Curve({}), 1.0));
    // Keys all at one time have no range to repeat over.
    EXPECT_DOUBLE_EQ(5.0, EvaluateEnvelope(Curve({Key(1, 2), Key(1, 5)}, 2, 2), 4.0));
}

TEST(EnvelopeOfAFile, EveryKeyOfAWrittenFileEvaluatesToItsOwnValue) {
    for (const std::string& text : {KeyedItemFile(), SampledCameraFile(), std::string(kZoomFile)}) {
        const auto result = corvantide::motfile::ParseMotionText(text);
        ASSERT_TRUE(result.ok) << result.error.reason;
        for (const Envelope& envelope : result.file.envelopes) {
            for (const MotionKey& key : envelope.keys) {
                EXPECT_DOUBLE_EQ(key.value, EvaluateEnvelope(envelope, key.time)) << key.line;
            }
        }
    }
}

}  // namespace
}  // namespace corvantide_test
