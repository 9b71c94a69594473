// Channel names and quantities of the motion file's fixed channel order.
#include "motion_file.h"

#include <cstddef>

namespace corvantide::motfile {
namespace {

constexpr std::string_view kChannelNames[] = {
    "Position X", "Position Y", "Position Z", "Heading", "Pitch", "Bank", "Scale X", "Scale Y", "Scale Z",
};
constexpr int kChannelNameCount = static_cast<int>(std::size(kChannelNames));
constexpr std::string_view kBehaviourNames[] = {"Reset",     "Constant",      "Repeat",
                                                "Oscillate", "Offset Repeat", "Linear"};
static_assert(std::size(kBehaviourNames) == kLastBehaviour + 1);

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

std::string_view BehaviourName(int behaviour) {
    return behaviour >= 0 && behaviour <= kLastBehaviour ? kBehaviourNames[behaviour] : "Unknown";
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
