// Stepping through host text by character.
#include "host/host_characters.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace corvantide {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

const char* NextHostCharacter(const char* at) {
#if defined(_WIN32)
    // As CharNextExA does under the ANSI code page the host runs in.
    if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(*at)) && at[1] != '\0') return at + 2;
#endif
    return at + 1;
}

std::size_t FolderPartLength(const char* text, std::size_t length, bool (*isSeparator)(char)) {
    std::size_t folder = 0;
    const char* end = text + length;
    for (const char* at = text; at < end && *at != '\0'; at = NextHostCharacter(at)) {
        if (isSeparator(*at)) folder = static_cast<std::size_t>(at - text) + 1;
    }
    return folder;
}

bool StartsHostCharacter(const char* text, std::size_t offset) {
    return WholeCharactersWithin(text, offset) == offset;
}

std::size_t WholeCharactersWithin(const char* text, std::size_t limit) {
    std::size_t whole = 0;
    while (whole < limit && text[whole] != '\0') {
        const std::size_t end = static_cast<std::size_t>(NextHostCharacter(text + whole) - text);
        if (end > limit) break;
        whole = end;
    }
    return whole;
}

}  // namespace corvantide
