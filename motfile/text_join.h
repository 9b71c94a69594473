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

inline std::string Quote(std::string_view text) { return Join({"\"", text, "\""}); }

}  // namespace corvantide::motfile
