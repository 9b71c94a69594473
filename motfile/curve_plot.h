// Pictures of a motion file's curves: one panel per envelope, as SVG text.
#pragma once

#include <string>
#include <vector>

#include "motion_file.h"

namespace corvantide::motfile {

struct CurveSample {
    double time = 0.0;   // seconds
    double value = 0.0;  // in the file's units (radians for rotations)
};

struct PlotOptions {
    std::string title;     // shown at the top, e.g. the file's name
    std::string subtitle;  // a second, quieter line; empty for a summary of the file
    // Optional samples drawn as dots over each envelope's curve, indexed like
    // the file's envelopes; missing or empty entries draw none.
    std::vector<std::vector<CurveSample>> reference;
    std::string curveLabel = "written file";
    std::string referenceLabel = "host evaluated, frame by frame";
};

std::string PlotMotionSvg(const MotionFile& file, const PlotOptions& options);

}  // namespace corvantide::motfile
