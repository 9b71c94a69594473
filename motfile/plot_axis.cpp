// Round axis steps and their labels.
#include "plot_axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace corvantide::motfile {
namespace {

// Labels never need more decimals than this for the steps MakeAxis picks
// over any range that can be drawn.
constexpr int kMaxDecimals = 9;
constexpr double kFlatFraction = 1e-9;
// More ticks than this means the range was not finite or sensible.
constexpr long long kMaxTicks = 64;

double RoundStep(double range, int target) {
    const double raw = range / std::max(target, 1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normal = raw / magnitude;
    const double factor = normal <= 1.0   ? 1.0
                          : normal <= 2.0 ? 2.0
                          : normal <= 2.5 ? 2.5
                          : normal <= 5.0 ? 5.0
                                          : 10.0;
    return factor * magnitude;
}

int DecimalsOf(double step) {
    for (int decimals = 0; decimals < kMaxDecimals; ++decimals) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * scaled) {
            return decimals;
        }
    }
    return kMaxDecimals;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc{}) {
        return "?";
    }
    std::string text(buffer, end);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

Axis MakeAxis(double low, double high, int target) {
    // Differences below this fraction of the values are rounding, not motion.
    const double scale = std::max(std::abs(low), std::abs(high));
    if (!(high - low > scale * kFlatFraction)) {
        low = (low + high) / 2;
        high = low;
        const double half = low != 0.0 ? std::abs(low) * 0.1 : 1.0;
        low -= half;
        high += half;
    }
    const double step = RoundStep(high - low, target);
    Axis axis;
    axis.low = std::floor(low / step + 1e-9) * step;
    axis.high = std::ceil(high / step - 1e-9) * step;
    const int decimals = DecimalsOf(step);
    const long long first = std::llround(axis.low / step);
    const long long last = std::llround(axis.high / step);
    for (long long i = first; i <= last && i - first < kMaxTicks; ++i) {
        const double tick = static_cast<double>(i) * step;
        axis.ticks.push_back(tick);
        axis.labels.push_back(FormatFixed(tick, decimals));
    }
    return axis;
}

}  // namespace corvantide::motfile
