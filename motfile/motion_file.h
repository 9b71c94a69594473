// A motion file as read back: its envelopes, their keys and behaviours.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace corvantide::motfile {

// Span shape codes of a key line; a key's shape governs the span ending at it.
enum SpanShape : int {
    kShapeTcb = 0,
    kShapeHermite = 1,
    kShapeBezier = 2,
    kShapeLinear = 3,
    kShapeStepped = 4,
    kShapeBezier2D = 5,
};
inline constexpr int kLastShape = kShapeBezier2D;

// Pre/post behaviour codes of an envelope.
enum Behaviour : int {
    kBehaviourReset = 0,
    kBehaviourConstant = 1,
    kBehaviourRepeat = 2,
    kBehaviourOscillate = 3,
    kBehaviourOffsetRepeat = 4,
    kBehaviourLinear = 5,
};
inline constexpr int kLastBehaviour = kBehaviourLinear;

// One "Key value time shape p1 p2 p3 p4 p5 p6" line.
struct MotionKey {
    double value = 0.0;
    double time = 0.0;  // seconds
    int shape = kShapeTcb;
    std::array<double, 6> params{};  // p1 .. p6
    int line = 0;                    // 1-based line in the file, 0 when built in code
};

// One "{ Envelope" block.
struct Envelope {
    int channel = 0;  // the "Channel" number; 0 in a single-envelope file
    std::vector<MotionKey> keys;
    int preBehaviour = kBehaviourConstant;
    int postBehaviour = kBehaviourConstant;
    bool placeholder = false;  // the writer's body for a channel without keys
    int line = 0;              // line of "{ Envelope"
};

enum class MotionFileKind {
    kChannels,        // "LWMO" header and one envelope per channel
    kSingleEnvelope,  // one bare envelope, such as a camera's zoom-factor file
};

struct MotionFile {
    MotionFileKind kind = MotionFileKind::kChannels;
    std::vector<Envelope> envelopes;
};

// Display name of an envelope: "Position X" .. "Scale Z", "Zoom Factor".
std::string_view ChannelName(MotionFileKind kind, int channel);

// "Reset" .. "Linear"; "Unknown" for a code outside 0 to kLastBehaviour.
std::string_view BehaviourName(int behaviour);

// What a channel's values measure, for axis captions.
enum class ChannelQuantity { kPosition, kRotation, kScale, kZoom, kOther };
ChannelQuantity QuantityOf(MotionFileKind kind, int channel);

}  // namespace corvantide::motfile
