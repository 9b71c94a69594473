// Numbers as the motion file prints them, independent of the process locale.
//
// AppendFixed prints what C's "%f" (and "%lf") prints in the "C" locale: fixed
// notation, six decimals, round half to even on the exact binary value,
// "-" for negatives including -0.0, "inf"/"nan" with their sign. Below 2^64
// it works on the double's bits with integer arithmetic; larger magnitudes
// take the library's general conversion. No allocation, no locale.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvantide {

// Longest fixed text: "-", 309 integer digits of the largest double, ".", six
// decimals; rounded up.
inline constexpr std::size_t kMaxFixedLength = 320;
// "-9223372036854775808".
inline constexpr std::size_t kMaxIntLength = 20;

// Writes the number at `at`, which must have kMaxFixedLength bytes of room.
// Returns the end of the text; no NUL is written.
char* AppendFixed(char* at, double value);
// Writes a signed decimal at `at`, which must have kMaxIntLength bytes of room.
char* AppendInt(char* at, std::int64_t value);

}  // namespace corvantide
