// An item's name as a base name for its motion files.
#pragma once

#include <cstring>

#include "host/host_characters.h"
#include "host/text_buffer.h"

namespace corvantide {

// The item-name suffix that is not part of a base name.
inline constexpr char kObjectSuffix[] = ".lwo";

// Drops one ending ".lwo" (any letter case) from a NUL-terminated name.
inline void DropObjectSuffix(char* name) {
    if (!EndsWithIgnoreCase(name, kObjectSuffix)) return;
    const std::size_t start = std::strlen(name) - (sizeof kObjectSuffix - 1);
    if (StartsHostCharacter(name, start)) name[start] = '\0';
}

}  // namespace corvantide
