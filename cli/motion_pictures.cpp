// Host motion sampled frame by frame, over the written file's curves.
#include "motion_pictures.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "motfile/curve_plot.h"
#include "motfile/utf8_path.h"

namespace corvantide::cli {
namespace {

// Beyond this many frames the dots would merge into a band; every nth is drawn.
constexpr std::size_t kMaxDots = 600;

std::size_t Thinning(std::size_t samples) {
    return samples > kMaxDots ? (samples + kMaxDots - 1) / kMaxDots : 1;
}

std::string Subtitle(const WrittenFile& written, const HostMotion& motion, std::int64_t stride) {
    std::string mode;
    if (written.zoom) {
        mode = "zoom factor from the camera's keys";
    } else {
        mode = std::string(written.record.sampled ? "every frame sampled" : "from its keys") + ", " +
               (written.record.world ? "World" : "Local") + " values";
        if (written.record.sampled && motion.offset != 0)
            mode += ", frame offset " + std::to_string(motion.offset);
    }
    char fps[32];
    const auto end = std::to_chars(fps, fps + sizeof fps, motion.fps).ptr;
    const std::string every = stride > 1 ? " (every " + std::to_string(stride) + " frames)" : "";
    return written.itemName + ": " + mode + ". Dots: the host at frames " + std::to_string(motion.first) +
           " to " + std::to_string(motion.last) + every + ", " + std::string(fps, end) + " fps";
}

}  // namespace

std::string MotionPictureSvg(const WrittenFile& written, const motfile::MotionFile& file,
                             const HostMotion& motion) {
    const std::size_t thinning = Thinning(motion.frames.size());
    motfile::PlotOptions options;
    options.title = motfile::Utf8Text(motfile::Utf8Path(written.path).filename());
    options.subtitle = Subtitle(written, motion, motion.stride * static_cast<std::int64_t>(thinning));
    // Short legend texts: a single-envelope picture is narrow.
    options.curveLabel = "file";
    options.referenceLabel = "host, each frame";
    for (const std::vector<motfile::CurveSample>& samples : motion.channels) {
        std::vector<motfile::CurveSample> dots;
        for (std::size_t i = 0; i < samples.size(); i += thinning) {
            if (std::isfinite(samples[i].value) && std::isfinite(samples[i].time)) dots.push_back(samples[i]);
        }
        options.reference.push_back(std::move(dots));
    }
    return motfile::PlotMotionSvg(file, options);
}

}  // namespace corvantide::cli
