// Envelope evaluation: Hermite spans with TCB or explicit tangents, linear,
// stepped and 2D Bezier spans; behaviours outside the keyed range.
#include "envelope_eval.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace corvantide::motfile {
namespace {

using Keys = std::vector<MotionKey>;

// A 2D Bezier handle this close to zero length in time is treated as nearly
// vertical, as receiving packages do, rather than dividing by it.
constexpr double kMinHandleTime = 1e-5;
constexpr double kSteepHandleFactor = 1e5;
// The curve parameter of a 2D Bezier span is found by bisection on time.
constexpr int kBisectionSteps = 60;
constexpr double kBisectionTolerance = 1e-10;

// Tension, continuity and bias of a key; a linear key bends a neighbouring
// curve like a TCB key with all zeros.
struct Tcb {
    double tension, continuity, bias;
};

Tcb TcbOf(const MotionKey& key) {
    if (key.shape != kShapeTcb) return {0.0, 0.0, 0.0};
    return {key.params[0], key.params[1], key.params[2]};
}

// Slope of a 2D Bezier handle (time and value offsets), in value per span.
double HandleSlope(double handleTime, double handleValue, double span) {
    return std::abs(handleTime) > kMinHandleTime ? handleValue * span / handleTime
                                                 : handleValue * span * kSteepHandleFactor;
}

// Outgoing tangent of key i on the span to key i + 1, in value per span.
double Outgoing(const Keys& keys, std::size_t i) {
    const MotionKey& k0 = keys[i];
    const MotionKey& k1 = keys[i + 1];
    const double span = k1.time - k0.time;
    const double d = k1.value - k0.value;
    const bool hasPrevious = i > 0;
    const double scale = hasPrevious ? span / (k1.time - keys[i - 1].time) : 1.0;
    switch (k0.shape) {
        case kShapeTcb:
        case kShapeLinear: {
            const auto [tension, continuity, bias] = TcbOf(k0);
            const double a = (1 - tension) * (1 + continuity) * (1 + bias);
            const double b = (1 - tension) * (1 - continuity) * (1 - bias);
            if (!hasPrevious) {
                return b * d;
            }
            return scale * (a * (k0.value - keys[i - 1].value) + b * d);
        }
        case kShapeHermite:
        case kShapeBezier:
            return k0.params[4] * scale;
        case kShapeBezier2D:
            return HandleSlope(k0.params[2], k0.params[3], span);
        default:
            return 0.0;  // stepped
    }
}

// Incoming tangent of key i + 1 on the span from key i, in value per span.
double Incoming(const Keys& keys, std::size_t i) {
    const MotionKey& k0 = keys[i];
    const MotionKey& k1 = keys[i + 1];
    const double span = k1.time - k0.time;
    const double d = k1.value - k0.value;
    const bool hasNext = i + 2 < keys.size();
    const double scale = hasNext ? span / (keys[i + 2].time - k0.time) : 1.0;
    switch (k1.shape) {
        case kShapeTcb:
        case kShapeLinear: {
            const auto [tension, continuity, bias] = TcbOf(k1);
            const double a = (1 - tension) * (1 - continuity) * (1 + bias);
            const double b = (1 - tension) * (1 + continuity) * (1 - bias);
            if (!hasNext) {
                return a * d;
            }
            return scale * (b * (keys[i + 2].value - k1.value) + a * d);
        }
        case kShapeHermite:
        case kShapeBezier:
            return k1.params[3] * scale;
        case kShapeBezier2D:
            return HandleSlope(k1.params[0], k1.params[1], span);
        default:
            return 0.0;
    }
}

double Bezier(double p0, double p1, double p2, double p3, double s) {
    const double r = 1 - s;
    return r * r * r * p0 + 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s * p3;
}

struct BezierSpan {
    double t[4];
    double v[4];
};

// Control points of the 2D Bezier span ending at key i + 1. A key of another
// shape contributes a handle a third of the way along its tangent.
BezierSpan Bezier2DSpan(const Keys& keys, std::size_t i) {
    const MotionKey& k0 = keys[i];
    const MotionKey& k1 = keys[i + 1];
    BezierSpan b{};
    b.t[0] = k0.time;
    b.v[0] = k0.value;
    if (k0.shape == kShapeBezier2D) {
        b.t[1] = k0.time + k0.params[2];
        b.v[1] = k0.value + k0.params[3];
    } else {
        b.t[1] = k0.time + (k1.time - k0.time) / 3;
        b.v[1] = k0.value + Outgoing(keys, i) / 3;
    }
    b.t[2] = k1.time + k1.params[0];
    b.v[2] = k1.value + k1.params[1];
    b.t[3] = k1.time;
    b.v[3] = k1.value;
    return b;
}

double EvaluateBezier2D(const Keys& keys, std::size_t i, double time) {
    const BezierSpan b = Bezier2DSpan(keys, i);
    double low = 0.0;
    double high = 1.0;
    double s = 0.5;
    for (int step = 0; step < kBisectionSteps; ++step) {
        s = (low + high) / 2;
        const double at = Bezier(b.t[0], b.t[1], b.t[2], b.t[3], s);
        if (std::abs(at - time) <= kBisectionTolerance) {
            break;
        }
        (at > time ? high : low) = s;
    }
    return Bezier(b.v[0], b.v[1], b.v[2], b.v[3], s);
}

// Value inside the keyed range [first key, last key].
double EvaluateInside(const Keys& keys, double time) {
    const auto next = std::lower_bound(keys.begin(), keys.end(), time,
                                       [](const MotionKey& key, double t) { return key.time < t; });
    if (next == keys.end()) {
        return keys.back().value;
    }
    if (next == keys.begin() || next->time == time) {
        return next->value;
    }
    const std::size_t i = static_cast<std::size_t>(next - keys.begin()) - 1;
    const MotionKey& k0 = keys[i];
    const MotionKey& k1 = keys[i + 1];
    const double u = (time - k0.time) / (k1.time - k0.time);
    switch (k1.shape) {
        case kShapeLinear:
            return k0.value + u * (k1.value - k0.value);
        case kShapeStepped:
            return k0.value;
        case kShapeBezier2D:
            return EvaluateBezier2D(keys, i, time);
        default: {
            const double h2 = 3 * u * u - 2 * u * u * u;
            const double h1 = 1 - h2;
            const double h4 = u * u * u - u * u;
            const double h3 = h4 - u * u + u;
            return h1 * k0.value + h2 * k1.value + h3 * Outgoing(keys, i) + h4 * Incoming(keys, i);
        }
    }
}

// Slope (value per second) of the curve where it leaves the first key or
// enters the last one, for the Linear behaviour.
double EndSlope(const Keys& keys, bool atStart) {
    const std::size_t i = atStart ? 0 : keys.size() - 2;
    const MotionKey& k0 = keys[i];
    const MotionKey& k1 = keys[i + 1];
    const double span = k1.time - k0.time;
    if (span <= 0) {
        return 0.0;
    }
    switch (k1.shape) {
        case kShapeLinear:
            return (k1.value - k0.value) / span;
        case kShapeStepped:
            return 0.0;
        case kShapeBezier2D: {
            const BezierSpan b = Bezier2DSpan(keys, i);
            const double dt = atStart ? b.t[1] - b.t[0] : b.t[3] - b.t[2];
            const double dv = atStart ? b.v[1] - b.v[0] : b.v[3] - b.v[2];
            return std::abs(dt) > kMinHandleTime ? dv / dt : (k1.value - k0.value) / span;
        }
        default:
            return (atStart ? Outgoing(keys, i) : Incoming(keys, i)) / span;
    }
}

}  // namespace

double EvaluateEnvelope(const Envelope& envelope, double time) {
    const Keys& keys = envelope.keys;
    if (keys.empty()) {
        return 0.0;
    }
    const MotionKey& first = keys.front();
    const MotionKey& last = keys.back();
    const bool before = time < first.time;
    const bool after = time > last.time;
    if (!before && !after) {
        return EvaluateInside(keys, time);
    }
    const MotionKey& end = before ? first : last;
    // One key is a constant, whatever its behaviours say (Reset included).
    if (keys.size() == 1) {
        return end.value;
    }
    const int behaviour = before ? envelope.preBehaviour : envelope.postBehaviour;
    if (behaviour == kBehaviourReset) {
        return 0.0;
    }
    const double range = last.time - first.time;
    if (range <= 0) {
        return end.value;
    }
    switch (behaviour) {
        case kBehaviourRepeat:
        case kBehaviourOscillate:
        case kBehaviourOffsetRepeat: {
            const double cycle = std::floor((time - first.time) / range);
            double wrapped = time - cycle * range;
            if (behaviour == kBehaviourOscillate && std::fmod(cycle, 2.0) != 0.0) {
                wrapped = last.time - (wrapped - first.time);
            }
            // Rounding can leave the wrapped time a hair outside the range.
            wrapped = std::clamp(wrapped, first.time, last.time);
            const double offset =
                behaviour == kBehaviourOffsetRepeat ? cycle * (last.value - first.value) : 0.0;
            return EvaluateInside(keys, wrapped) + offset;
        }
        case kBehaviourLinear:
            return end.value + EndSlope(keys, before) * (time - end.time);
        default:
            return end.value;  // Constant
    }
}

}  // namespace corvantide::motfile
