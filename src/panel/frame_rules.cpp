// Frame-range rules.
#include "panel/frame_rules.h"

namespace corvantide {

namespace {

// a + b wrapped to signed 32 bits.
std::int32_t WrappedFrameSum(std::int32_t a, std::int32_t b) {
    const std::uint32_t sum = static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b);
    return static_cast<std::int32_t>(sum);  // modular since C++20
}

}  // namespace

BeginFrameOutcome ApplyBeginFrame(ExportSettings& settings, std::int32_t typed) {
    BeginFrameOutcome outcome{false, false};
    settings.beginFrame = typed;
    if (typed > settings.endFrame) {
        settings.beginFrame = settings.endFrame < 0 ? 0 : settings.endFrame;
        outcome.clamped = true;
    }
    if (WrappedFrameSum(settings.beginFrame, settings.frameOffset) < 0) {
        settings.frameOffset = 0;
        outcome.offsetReset = true;
    }
    return outcome;
}

bool ApplyEndFrame(ExportSettings& settings, std::int32_t typed) {
    settings.endFrame = typed;
    if (typed >= settings.beginFrame) return false;
    settings.endFrame = settings.beginFrame;
    return true;
}

}  // namespace corvantide
