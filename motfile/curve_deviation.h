// How closely an envelope's curve follows motion sampled elsewhere (the
// host's own evaluation, frame by frame).
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "curve_plot.h"
#include "motion_file.h"

namespace corvantide::motfile {

// A file holds six decimals. Each number it carries is off by up to half a
// unit of the sixth decimal, and the curve between keys mixes several of
// them (a TCB tangent weighs up to four values), so a curve within this of
// the motion it was written from carries that motion exactly.
inline constexpr double kExactWithin = 0.000005;
// A time written with six decimals is off by up to this.
inline constexpr double kTimeRounding = 0.0000005;

struct CurveDeviation {
    std::size_t compared = 0;  // finite samples compared
    std::size_t at = 0;        // index of the sample with the largest difference (the first such)
    double largest = 0.0;      // |sample - curve| there, in the file's units
};

// Compares every sample from `from` to `to` seconds with the envelope's
// value at the sample's time; non-finite samples are skipped.
CurveDeviation MeasureDeviation(const Envelope& envelope, const std::vector<CurveSample>& samples,
                                double from = -HUGE_VAL, double to = HUGE_VAL);

inline bool IsExact(const CurveDeviation& deviation) { return deviation.largest <= kExactWithin; }

}  // namespace corvantide::motfile
