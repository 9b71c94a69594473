// Host motion sampled frame by frame, over the written file's curves.
#include "motion_pictures.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "motfile/curve_plot.h"
#include "motfile/utf8_path.h"

namespace corvantide::cli {
namespace {

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
    motfile::PlotOptions options;
    options.title = motfile::Utf8Text(motfile::Utf8Path(written.path).filename());
    options.subtitle = Subtitle(written, motion, motion.stride);
    // Short legend texts: a single-envelope picture is narrow.
    options.curveLabel = "file";
    options.referenceLabel = "host, each frame";
    // Every frame goes in; the picture keeps the least and the greatest of
    // each pixel column, so a one-frame jump of the host still shows.
    for (const std::vector<motfile::CurveSample>& samples : motion.channels) {
        std::vector<motfile::CurveSample> dots;
        for (const motfile::CurveSample& sample : samples) {
            if (std::isfinite(sample.value) && std::isfinite(sample.time)) dots.push_back(sample);
        }
        options.reference.push_back(std::move(dots));
    }
    return motfile::PlotMotionSvg(file, options);
}

}  // namespace corvantide::cli
