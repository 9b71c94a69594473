// Stepping through host text by character.
#include "host/host_characters.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace corvantide {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

namespace {

TextEncoding encoding = TextEncoding::kHostCodePage;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

// The bytes a UTF-8 lead byte announces; 1 for ASCII and for a stray byte.
int Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

}  // namespace

void SetTextEncoding(TextEncoding chosen) { encoding = chosen; }

TextEncoding CurrentTextEncoding() { return encoding; }

const char* NextHostCharacter(const char* at) {
    if (encoding == TextEncoding::kUtf8) {
        // A character cut short (by the terminator or a byte that does not
        // continue it) ends where its continuation bytes end.
        const int length = Utf8Length(static_cast<unsigned char>(*at));
        int step = 1;
        while (step < length && IsContinuation(at[step])) ++step;
        return at + step;
    }
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
