// The host's own motion for a written file: each channel's value at every
// frame the file covers, as the host evaluates it, at the time the file
// gives that frame.
#pragma once

#include <cstdint>
#include <vector>

#include "motfile/curve_plot.h"
#include "motfile/motion_file.h"
#include "session_runner.h"
#include "sim_host.h"

namespace corvantide::cli {

// Longer ranges are compared at every nth frame, so that a scene of a
// million frames still ends in seconds.
inline constexpr std::int64_t kMaxComparedFrames = 200000;

struct HostMotion {
    std::int32_t first = 0;  // host frames, first to last
    std::int32_t last = 0;
    std::int32_t offset = 0;  // added to a frame for the file's time (a sampled export's frame offset)
    std::int64_t stride = 1;  // frames between samples
    double fps = 0.0;
    // Host frame of each sample.
    std::vector<std::int64_t> frames;
    // Per envelope of the file, one sample per frame above (file time, host
    // value; NaN where the host has no value); empty for a channel the host
    // does not have.
    std::vector<std::vector<motfile::CurveSample>> channels;
};

// A keys export is shown over the scene's frame range (its keys are at their
// own times); a sampled one over the item's range. The host's scene must
// still hold the file's item.
HostMotion SampleHostMotion(simhost::SimHost& host, const WrittenFile& written,
                            const motfile::MotionFile& file);

}  // namespace corvantide::cli
