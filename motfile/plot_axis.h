// Axis ranges and tick labels for curve pictures.
#pragma once

#include <string>
#include <vector>

namespace corvantide::motfile {

struct Axis {
    double low = 0.0;
    double high = 1.0;
    std::vector<double> ticks;
    std::vector<std::string> labels;  // one per tick, same decimals for all
};

// A round step (1, 2, 2.5 or 5 times a power of ten) giving about `target`
// intervals over the range; low and high are widened to whole steps. A range
// of zero width is opened around its value.
Axis MakeAxis(double low, double high, int target);

// Fixed notation without locale; "-0" prints as "0".
std::string FormatFixed(double value, int decimals);

}  // namespace corvantide::motfile
