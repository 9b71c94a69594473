// Bounded text in fixed buffers.
//
// Every function takes the destination's capacity in bytes (at least 1) and
// leaves it NUL-terminated. Texts that name a file or directory are copied
// with CopyText, which refuses rather than cuts; CopyTextCut is for texts
// shown to the user only.
#pragma once

#include <cstddef>

namespace corvantide {

// Length of the text within its first `capacity` bytes; `capacity` when no
// terminator is found there (the text does not fit such a buffer).
std::size_t BoundedLength(const char* text, std::size_t capacity);

// Copies source into destination. False, with destination unchanged, when the
// source does not fit (or is null).
bool CopyText(char* destination, std::size_t capacity, const char* source);

// Copies as much of source as fits, in whole characters. A null source gives
// an empty text.
void CopyTextCut(char* destination, std::size_t capacity, const char* source);

// Joins the parts with one separator character between consecutive parts.
// No part may overlap the destination.
// False, with destination unchanged, when the result does not fit.
bool JoinText(char* destination, std::size_t capacity, char separator, const char* const* parts,
              std::size_t partCount);

// True when text ends in suffix, comparing ASCII letters without regard to case.
bool EndsWithIgnoreCase(const char* text, const char* suffix);

}  // namespace corvantide
