// Channel names and quantities of the motion file's fixed channel order.
#include "motion_file.h"

#include <cstddef>

namespace corvantide::motfile {
namespace {

constexpr std::string_view kChannelNames[] = {
    "Position X", "Position Y", "Position Z", "Heading", "Pitch",
    "Bank",       "Scale X",    "Scale Y",    "Scale Z",
};
constexpr int kChannelNameCount = static_cast<int>(std::size(kChannelNames));
constexpr std::string_view kBehaviorNames[] = {"Reset", "Constant", "Repeat", "Oscillate", "Offset Repeat", "Linear"};
static_assert(std::size(kBehaviorNames) == kLastBehavior + 1);

}  // namespace

std::string_view ChannelName(MotionFileKind kind, int channel) {
    if (kind == MotionFileKind::kSingleEnvelope) {
        return "Zoom Factor";
    }
    if (channel < 0 || channel >= kChannelNameCount) {
        return "Channel";
    }
    return kChannelNames[channel];
}

std::string_view BehaviorName(int behavior) {
    return behavior >= 0 && behavior <= kLastBehavior ? kBehaviorNames[behavior] : "Unknown";
}

ChannelQuantity QuantityOf(MotionFileKind kind, int channel) {
    if (kind == MotionFileKind::kSingleEnvelope) {
        return ChannelQuantity::kZoom;
    }
    if (channel >= 0 && channel < 3) {
        return ChannelQuantity::kPosition;
    }
    if (channel >= 3 && channel < 6) {
        return ChannelQuantity::kRotation;
    }
    if (channel >= 6 && channel < 9) {
        return ChannelQuantity::kScale;
    }
    return ChannelQuantity::kOther;
}

}  // namespace corvantide::motfile
