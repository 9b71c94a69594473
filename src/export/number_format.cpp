// Locale-free fixed-notation numbers.
#include "export/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace corvantide {

namespace {
constexpr int kDecimals = 6;
constexpr char kZero[] = "0.000000";
}  // namespace

char* AppendFixed(char* at, double value) {
    // Unset span parameters are the bulk of most files.
    if (value == 0.0 && !std::signbit(value)) {
        std::memcpy(at, kZero, sizeof kZero - 1);
        return at + (sizeof kZero - 1);
    }
    return std::to_chars(at, at + kMaxFixedLength, value, std::chars_format::fixed, kDecimals).ptr;
}

char* AppendInt(char* at, std::int64_t value) { return std::to_chars(at, at + kMaxIntLength, value).ptr; }

}  // namespace corvantide
