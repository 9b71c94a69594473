// Keys mode and sampling mode collection.
#include "export/motion_collection.h"

#include <cmath>

#include "host/core_services.h"
#include "host/escape_key.h"
#include "host/item_record.h"
#include "panel/status_area.h"

namespace corvantide {

namespace {

constexpr std::int32_t kBehaviourByHostCode[] = {0, 1, 2, 2, 3, 4, 4, 2, 3, 5};

// Span mode byte of a host key -> shape of the file.
constexpr std::int8_t kSpanTcb = 0;
constexpr std::int8_t kSpanBezier = 1;
constexpr std::int8_t kSpanLinear = 2;
constexpr std::int8_t kSpanStepped = 3;
constexpr std::int32_t kShapeTcb = 0;
constexpr std::int32_t kShapeBezier = 2;
constexpr std::int32_t kShapeLinear = 3;
constexpr std::int32_t kShapeStepped = 4;

// World groups and the first channel each fills.
struct WorldGroup {
    std::int32_t group;
    int firstChannel;
};
constexpr WorldGroup kWorldGroups[] = {{kWorldPosition, 0}, {kWorldRotation, 3}, {kWorldScale, 6}};

// The progress step number shown; counts beyond 32 bits are refused before collecting.
std::int32_t Step(std::int64_t n) { return static_cast<std::int32_t>(n); }

constexpr int kFirstRotation = 3;
constexpr int kLastRotation = 5;
constexpr double kTurn = 6.283185307179586;

// The item's world values at `time`, groups in the order the host is asked.
void WorldValues(void* item, double time, double (&values)[kMotionChannels]) {
    for (const WorldGroup& world : kWorldGroups) {
        double out[3] = {0.0, 0.0, 0.0};
        GetChannels(item, world.group, time, out);
        for (int i = 0; i < 3; ++i) values[world.firstChannel + i] = out[i];
    }
}

// World values of the item at `time` into entry `entry` of every channel.
// At a host key (keys mode) every channel is included, whichever slots the
// key keys: the parents move all of them. Outside the keys each channel is
// Constant, as in a sampled file.
void FillWorldValues(void* item, double time, const ChannelBuffers& buffers, std::int64_t entry,
                     bool atHostKey) {
    double values[kMotionChannels];
    WorldValues(item, time, values);
    for (int c = 0; c < kMotionChannels; ++c) {
        EnvelopeKey& key = buffers.table[c][entry];
        key.value = values[c];
        if (atHostKey) {
            key.include = 1;
            key.behaviour = kConstantBehaviour;
        }
    }
}

// The file's behaviour code for a host behaviour code; Constant outside 0-9.
std::int32_t FileBehaviour(std::int16_t hostCode) {
    if (hostCode < 0 || hostCode > 9) return kConstantBehaviour;
    return kBehaviourByHostCode[hostCode];
}

// Entry k of channel c from host key k's own data (`key` is that record):
// value, span shape and parameters, behaviour and include.
void FillLocalKeyEntry(EnvelopeKey* entry, const void* item, const void* key, std::int64_t k, int channel) {
    *entry = EnvelopeKey{};
    entry->value = KeyValue(key, channel);
    entry->behaviour = FileBehaviour(ItemBehaviour(item, channel));
    switch (KeySpanMode(key, channel)) {
        case kSpanTcb:
            entry->shape = kShapeTcb;
            entry->p1 = KeyTension(key, channel);
            entry->p2 = KeyContinuity(key, channel);
            entry->p3 = KeyBias(key, channel);
            break;
        case kSpanBezier: {
            entry->shape = kShapeBezier;
            // A channel's first key has no incoming handle and its last no
            // outgoing one; an only key counts as first, so it keeps p5.
            const bool first = k == ItemFirstKey(item, channel);
            const bool last = !first && k == ItemLastKey(item, channel);
            if (!first)
                entry->p4 = static_cast<float>(entry->value + static_cast<double>(KeyInHandle(key, channel)));
            if (!last)
                entry->p5 = static_cast<float>(entry->value + static_cast<double>(KeyOutHandle(key, channel)));
            break;
        }
        case kSpanLinear:
            entry->shape = kShapeLinear;
            break;
        case kSpanStepped:
            entry->shape = kShapeStepped;
            break;
        default:
            entry->shape = kShapeTcb;
            break;
    }
    if (KeyHasSlot(key, channel)) entry->include = 1;
}

}  // namespace

bool CollectKeys(void* item, std::int32_t coordinates, std::int64_t keyCount, const ChannelBuffers& buffers,
                 const char* progressName) {
    const void* keys = ItemKeys(item);
    for (std::int64_t k = 0; k < keyCount; ++k) {
        if (EscapePressed()) return false;
        SetStatusText(progressName, Step(k + 1), Step(keyCount), kProgressComputing);
        const void* key = KeyAt(keys, k);
        if (coordinates == kLocalCoordinates) {
            for (int c = 0; c < kMotionChannels; ++c) {
                FillLocalKeyEntry(&buffers.table[c][k], item, key, k, c);
            }
        } else if (coordinates == kWorldCoordinates) {
            SetAnimationClock(KeyTime(key));
            UpdateFXInterface(kReevaluateScene);
            FillWorldValues(item, AnimationClock(), buffers, k, true);
        }
    }
    return true;
}

bool CollectFrames(void* item, std::int32_t coordinates, std::int64_t first, std::int64_t last,
                   const ChannelBuffers& buffers, const char* progressName) {
    const std::int64_t total = last - first + 1;
    for (std::int64_t frame = first, i = 1; frame <= last; ++frame, ++i) {
        if (EscapePressed()) return false;
        SetAnimationClock(static_cast<double>(frame));
        UpdateFXInterface(kReevaluateScene);
        SetStatusText(progressName, Step(i), Step(total), kProgressComputing);
        if (coordinates == kLocalCoordinates) {
            for (int c = 0; c < kMotionChannels; ++c) buffers.table[c][i - 1].value = ItemChannelValue(item, c);
        } else if (coordinates == kWorldCoordinates) {
            FillWorldValues(item, AnimationClock(), buffers, i - 1, false);
            for (int c = kFirstRotation; c <= kLastRotation && i > 1; ++c) {
                double& value = buffers.table[c][i - 1].value;
                value = NearestTurn(value, buffers.table[c][i - 2].value);
            }
        }
    }
    return true;
}

void CollectCurrentValues(void* item, std::int32_t coordinates, double (&values)[kMotionChannels]) {
    if (coordinates == kWorldCoordinates) {
        WorldValues(item, AnimationClock(), values);
        return;
    }
    for (int c = 0; c < kMotionChannels; ++c) values[c] = ItemChannelValue(item, c);
}

double NearestTurn(double angle, double previous) {
    const double turns = std::round((previous - angle) / kTurn);
    if (turns == 0.0 || !std::isfinite(turns)) return angle;
    return angle + turns * kTurn;
}

}  // namespace corvantide
