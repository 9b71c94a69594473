// Host values frame by frame, for the pictures and the fidelity report.
#include "host_motion.h"

#include <limits>

#include "host/core_services.h"
#include "scene_description.h"

namespace corvantide::cli {
namespace {

// GetChannels groups of position, rotation and scale, in channel order.
constexpr std::int32_t kWorldGroups[] = {corvantide::kWorldPosition, corvantide::kWorldRotation,
                                         corvantide::kWorldScale};

std::int64_t Stride(std::int32_t first, std::int32_t last) {
    const std::int64_t frames = static_cast<std::int64_t>(last) - first + 1;
    return frames > kMaxComparedFrames ? (frames + kMaxComparedFrames - 1) / kMaxComparedFrames : 1;
}

// All motion channels of the item at one frame, Local or World.
void MotionValues(simhost::SimHost& host, const WrittenFile& written, double frame, double* values) {
    simhost::SimScene& scene = host.Scene();
    if (!written.record.world) {
        scene.LocalChannels(written.item, frame, values);
        return;
    }
    for (int group = 0; group < 3; ++group)
        scene.WorldChannels(written.item, kWorldGroups[group], frame, values + 3 * group);
}

}  // namespace

HostMotion SampleHostMotion(simhost::SimHost& host, const WrittenFile& written,
                            const motfile::MotionFile& file) {
    HostMotion motion;
    const bool sampled = written.record.sampled && !written.zoom;
    motion.first = sampled ? written.record.beginFrame : host.iIn;
    motion.last = sampled ? written.record.endFrame : host.iOut;
    motion.offset = sampled ? written.record.frameOffset : 0;
    motion.stride = Stride(motion.first, motion.last);
    motion.fps = host.dFPS;
    for (std::int64_t frame = motion.first; frame <= motion.last; frame += motion.stride)
        motion.frames.push_back(frame);

    motion.channels.resize(file.envelopes.size());
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t e = 0; e < file.envelopes.size(); ++e) {
        const int channel = file.envelopes[e].channel;
        if (written.zoom || (channel >= 0 && channel < kMotionChannels))
            motion.channels[e].reserve(motion.frames.size());
    }
    for (const std::int64_t frame : motion.frames) {
        const double at = static_cast<double>(frame);
        const double time = static_cast<double>(frame + motion.offset) / motion.fps;
        double values[kMotionChannels];
        if (written.zoom) {
            values[0] = host.Scene().KeyedValue(written.item, kZoomSlot, at, kNone);
        } else {
            MotionValues(host, written, at, values);
        }
        for (std::size_t e = 0; e < file.envelopes.size(); ++e) {
            const int channel = written.zoom ? 0 : file.envelopes[e].channel;
            if (channel < 0 || channel >= kMotionChannels || (written.zoom && e > 0)) continue;
            motion.channels[e].push_back({time, values[channel]});
        }
    }
    return motion;
}

}  // namespace corvantide::cli
