// Strict, locale-independent parsing of the numbers a motion file holds.
#pragma once

#include <string>
#include <string_view>

namespace corvantide::motfile {

// A decimal in the writer's fixed notation: optional '-', digits, optionally
// '.' and digits ("-12.345678", "0"). On failure, reason says why (exponent,
// decimal comma, ...) and the result is false.
bool ParseFixedNumber(std::string_view text, double* value, std::string* reason);

// A decimal integer as "%d" prints it: optional '-', digits, no leading zeros.
bool ParseInteger(std::string_view text, int* value, std::string* reason);

}  // namespace corvantide::motfile
