// Locale-free fixed-notation numbers.
#include "export/number_format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

namespace corvantide {

namespace {

constexpr int kDecimals = 6;
constexpr std::uint32_t kScale = 1000000;  // 10^kDecimals

__extension__ typedef unsigned __int128 Wide;

// A double is mantissa * 2^exponent; below 2^64 its integer part fits 64 bits.
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075;  // bias 1023 plus the 52 fraction bits
constexpr int kLargestFastExponent = 11;
// Beyond this many fraction bits the value is below 2^-75, far from half a millionth.
constexpr int kWidestFraction = 127;
// A mantissa below 2^44 times 10^6 fits 64 bits.
constexpr std::uint64_t kNarrowMantissaLimit = std::uint64_t{1} << 44;

// scaled / 2^shift rounded half to even, for shift 1 to the width less one:
// the quotient with the first bit shifted out of it, and whether any later
// bit is set.
template <typename Unsigned>
Unsigned RoundedShift(Unsigned scaled, int shift) {
    const Unsigned doubled = scaled >> (shift - 1);
    const bool sticky = (scaled & ((Unsigned{1} << (shift - 1)) - 1)) != 0;
    const Unsigned quotient = doubled >> 1;
    return quotient + static_cast<Unsigned>((doubled & 1) != 0 && (sticky || (quotient & 1) != 0));
}

static_assert(std::endian::native == std::endian::little, "digit words are stored lowest byte first");

constexpr std::uint64_t kEightDigitsLimit = 100000000;

// The eight decimal digits of value < 10^8 as the byte values 0 to 9, the
// first digit in the lowest byte: the value is split into halves of four
// digits, each half into pairs, each pair into digits, all lanes at once.
std::uint64_t EightDigits(std::uint32_t value) {
    const std::uint64_t halves = value / 10000 | std::uint64_t{value % 10000} << 32;
    const std::uint64_t hundreds = (halves * 10486 >> 20) & 0x0000007F0000007F;  // each half / 100
    const std::uint64_t pairs = ((halves - 100 * hundreds) << 16) + hundreds;
    const std::uint64_t tens = (pairs * 103 >> 10) & 0x000F000F000F000F;  // each pair / 10
    return tens + ((pairs - 10 * tens) << 8);
}

constexpr std::uint64_t kDigitZeros = 0x3030303030303030;  // '0' in every byte

// The eight digits of value < 10^8, leading zeros kept.
char* AppendEightDigits(char* at, std::uint32_t value) {
    const std::uint64_t text = EightDigits(value) | kDigitZeros;
    std::memcpy(at, &text, sizeof text);
    return at + sizeof text;
}

// The integer part, at most 20 digits: the digits above the last eight
// first. Below 10^8 the digit word is stored whole with its leading zeros
// shifted out; `at` has room for its eight bytes.
char* AppendInteger(char* at, std::uint64_t value) {
    if (value >= kEightDigitsLimit) {
        at = AppendInteger(at, value / kEightDigitsLimit);
        return AppendEightDigits(at, static_cast<std::uint32_t>(value % kEightDigitsLimit));
    }
    const std::uint64_t digits = EightDigits(static_cast<std::uint32_t>(value));
    const int leadingZeros = digits == 0 ? 7 : std::countr_zero(digits) / 8;
    const std::uint64_t text = (digits | kDigitZeros) >> (8 * leadingZeros);
    std::memcpy(at, &text, sizeof text);
    return at + (8 - leadingZeros);
}

// Very large magnitudes, infinities and NaNs: exact as well, only slower.
char* AppendGeneral(char* at, double value) {
    return std::to_chars(at, at + kMaxFixedLength, value, std::chars_format::fixed, kDecimals).ptr;
}

}  // namespace

// value * 10^6 rounded half to even, computed exactly. A value with fraction
// bits is mantissa / 2^shift. When mantissa * 10^6 fits 64 bits (floats do,
// once trailing zero bits are dropped) it is the value's millionths times
// 2^shift. Otherwise the integer part is the mantissa shifted down and the
// fraction bits times 10^6 (at most 73 bits) give the six decimals. Either
// way what is shifted out decides the rounding.
char* AppendFixed(char* at, double value) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> kMantissaBits) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
    if (biased != 0) mantissa |= std::uint64_t{1} << kMantissaBits;
    const int exponent = (biased == 0 ? 1 : biased) - kExponentBias;
    if (exponent > kLargestFastExponent) return AppendGeneral(at, value);

    std::uint64_t integer = 0;
    std::uint32_t decimals = 0;
    if (exponent >= 0) {
        integer = mantissa << exponent;
    } else if (-exponent <= kWidestFraction) {
        // The mantissa is not 0 here: zeros and subnormals have more fraction bits.
        const int zeros = std::min(std::countr_zero(mantissa), -exponent - 1);
        mantissa >>= zeros;
        const int shift = -exponent - zeros;
        if (mantissa < kNarrowMantissaLimit && shift < 64) {
            const std::uint64_t millionths = RoundedShift(mantissa * kScale, shift);
            integer = millionths / kScale;
            decimals = static_cast<std::uint32_t>(millionths % kScale);
        } else {
            const std::uint64_t fraction = shift < 64 ? mantissa & ((std::uint64_t{1} << shift) - 1) : mantissa;
            integer = shift < 64 ? mantissa >> shift : 0;
            // integer * 10^6 is even, so the decimals alone tell an even result.
            decimals = static_cast<std::uint32_t>(RoundedShift(Wide{fraction} * kScale, shift));
            if (decimals == kScale) {
                decimals = 0;
                ++integer;
            }
        }
    }

    *at = '-';
    at += bits >> 63;
    at = AppendInteger(at, integer);
    *at++ = '.';
    // Six digits: the word of 00dddddd without its two leading zeros.
    const std::uint64_t text = (EightDigits(decimals) | kDigitZeros) >> 16;
    std::memcpy(at, &text, kDecimals);
    return at + kDecimals;
}

char* AppendInt(char* at, std::int64_t value) { return std::to_chars(at, at + kMaxIntLength, value).ptr; }

}  // namespace corvantide
