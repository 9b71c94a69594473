// Locale-free fixed-notation numbers.
#include "export/number_format.h"

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

struct DigitPairs {
    char text[200];
};

constexpr DigitPairs MakeDigitPairs() {
    DigitPairs pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs.text[2 * i] = static_cast<char>('0' + i / 10);
        pairs.text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}

constexpr DigitPairs kDigitPairs = MakeDigitPairs();

char* AppendPair(char* at, std::uint32_t pair) {
    std::memcpy(at, kDigitPairs.text + 2 * pair, 2);
    return at + 2;
}

// The integer part, at most 20 digits.
char* AppendInteger(char* at, std::uint64_t value) {
    char digits[20];
    char* const end = digits + sizeof digits;
    char* first = end;
    while (value >= 100) {
        first -= 2;
        std::memcpy(first, kDigitPairs.text + 2 * (value % 100), 2);
        value /= 100;
    }
    if (value >= 10) {
        first -= 2;
        std::memcpy(first, kDigitPairs.text + 2 * value, 2);
    } else {
        *--first = static_cast<char>('0' + value);
    }
    const auto length = static_cast<std::size_t>(end - first);
    std::memcpy(at, first, length);
    return at + length;
}

// Very large magnitudes, infinities and NaNs: exact as well, only slower.
char* AppendGeneral(char* at, double value) {
    return std::to_chars(at, at + kMaxFixedLength, value, std::chars_format::fixed, kDecimals).ptr;
}

}  // namespace

// value * 10^6 rounded half to even, computed exactly: the integer part is the
// mantissa shifted down; the fraction bits times 10^6 (at most 73 bits) give
// the six decimals, and what is shifted out of them decides the rounding.
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
        const int shift = -exponent;
        const std::uint64_t fraction = shift < 64 ? mantissa & ((std::uint64_t{1} << shift) - 1) : mantissa;
        integer = shift < 64 ? mantissa >> shift : 0;
        const Wide scaled = Wide{fraction} * kScale;
        decimals = static_cast<std::uint32_t>(scaled >> shift);
        const Wide rest = scaled - (Wide{decimals} << shift);
        const Wide half = Wide{1} << (shift - 1);
        // integer * 10^6 is even, so the decimals alone tell an even result.
        decimals += static_cast<std::uint32_t>(rest > half || (rest == half && (decimals & 1) != 0));
        if (decimals == kScale) {
            decimals = 0;
            ++integer;
        }
    }

    *at = '-';
    at += bits >> 63;
    at = AppendInteger(at, integer);
    *at++ = '.';
    at = AppendPair(at, decimals / 10000);
    at = AppendPair(at, decimals / 100 % 100);
    return AppendPair(at, decimals % 100);
}

char* AppendInt(char* at, std::int64_t value) { return std::to_chars(at, at + kMaxIntLength, value).ptr; }

}  // namespace corvantide
