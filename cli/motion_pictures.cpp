// Host motion sampled frame by frame, over the written file's curves.
#include "motion_pictures.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>

#include "motfile/curve_plot.h"
#include "scene_description.h"

namespace corvantide::cli {
namespace {

// GetChannels groups of position, rotation and scale, by channel / 3.
constexpr std::int32_t kWorldGroups[] = {43, 44, 37};

// Beyond this many frames the dots would merge into a band; every nth is drawn.
constexpr std::int64_t kMaxDots = 600;

struct Sampling {
    std::int32_t first;
    std::int32_t last;
    std::int32_t offset;  // added to the frame for the written time
    std::int64_t stride;
};

std::int64_t Stride(std::int32_t first, std::int32_t last) {
    const std::int64_t frames = static_cast<std::int64_t>(last) - first + 1;
    return frames > kMaxDots ? (frames + kMaxDots - 1) / kMaxDots : 1;
}

// Keys mode writes keys at their own times: the scene's range shows them.
// Sampling mode writes the item's range, shifted by its offset.
Sampling SamplingOf(const simhost::SimHost& host, const WrittenFile& written) {
    if (written.record.sampled && !written.zoom) {
        return {written.record.beginFrame, written.record.endFrame, written.record.frameOffset, Stride(written.record.beginFrame, written.record.endFrame)};
    }
    return {host.iIn, host.iOut, 0, Stride(host.iIn, host.iOut)};
}

double HostValue(simhost::SimHost& host, const WrittenFile& written, int channel, double frame) {
    simhost::SimScene& scene = host.Scene();
    if (written.zoom) return scene.KeyedValue(written.item, kZoomSlot, frame, std::numeric_limits<double>::quiet_NaN());
    if (written.record.world) {
        double values[3];
        scene.WorldChannels(written.item, kWorldGroups[channel / 3], frame, values);
        return values[channel % 3];
    }
    double values[kMotionChannels];
    scene.LocalChannels(written.item, frame, values);
    return values[channel];
}

std::string Subtitle(const simhost::SimHost& host, const WrittenFile& written, const Sampling& sampling) {
    std::string mode;
    if (written.zoom) {
        mode = "zoom factor from the camera's keys";
    } else {
        mode = std::string(written.record.sampled ? "every frame sampled" : "from its keys") + ", " +
               (written.record.world ? "World" : "Local") + " values";
        if (written.record.sampled && sampling.offset != 0)
            mode += ", frame offset " + std::to_string(sampling.offset);
    }
    char fps[32];
    const auto end = std::to_chars(fps, fps + sizeof fps, host.dFPS).ptr;
    const std::string every = sampling.stride > 1 ? " (every " + std::to_string(sampling.stride) + " frames)" : "";
    return written.itemName + ": " + mode + ". Dots: the host at frames " + std::to_string(sampling.first) +
           " to " + std::to_string(sampling.last) + every + ", " + std::string(fps, end) + " fps";
}

}  // namespace

std::string MotionPictureSvg(simhost::SimHost& host, const WrittenFile& written, const motfile::MotionFile& file) {
    const Sampling sampling = SamplingOf(host, written);
    motfile::PlotOptions options;
    options.title = std::filesystem::path(written.path).filename().string();
    options.subtitle = Subtitle(host, written, sampling);
    // Short legend texts: a single-envelope picture is narrow.
    options.curveLabel = "file";
    options.referenceLabel = "host, each frame";
    for (const motfile::Envelope& envelope : file.envelopes) {
        std::vector<motfile::CurveSample> samples;
        const int channel = envelope.channel;
        const bool known = written.zoom || (channel >= 0 && channel < kMotionChannels);
        for (std::int64_t frame = sampling.first; known && frame <= sampling.last; frame += sampling.stride) {
            const double value = HostValue(host, written, channel, static_cast<double>(frame));
            if (!std::isfinite(value)) continue;
            samples.push_back({static_cast<double>(frame + sampling.offset) / host.dFPS, value});
        }
        options.reference.push_back(std::move(samples));
    }
    return motfile::PlotMotionSvg(file, options);
}

}  // namespace corvantide::cli
