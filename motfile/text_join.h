// Joins pieces of a message. Used instead of chains of string operator+,
// which GCC 12 misreports under -Wrestrict at -O3.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvantide::motfile {

inline std::string Join(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts) {
        size += part.size();
    }
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

// Text from a file as a message shows it: in quotes, every byte outside
// printable ASCII as \xNN (a terminal never sees a control byte), and at
// most kQuotedLimit bytes of it, the rest told by its length.
inline constexpr std::size_t kQuotedLimit = 48;

inline std::string Quote(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    const std::string_view shown = text.substr(0, kQuotedLimit);
    std::string quoted = "\"";
    for (const char c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xf];
        } else {
            quoted += c;
        }
    }
    if (shown.size() < text.size()) {
        quoted += "...\" (";
        quoted += std::to_string(text.size());
        quoted += " characters)";
        return quoted;
    }
    quoted += "\"";
    return quoted;
}

}  // namespace corvantide::motfile
