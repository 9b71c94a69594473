// Bounded text helpers: no write ever passes the capacity given.
#include "host/text_buffer.h"

#include <cstring>

#include "host/host_characters.h"

namespace corvantide {

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::size_t BoundedLength(const char* text, std::size_t capacity) {
    if (text == nullptr) return 0;
    const void* end = std::memchr(text, '\0', capacity);
    return end == nullptr ? capacity : static_cast<std::size_t>(static_cast<const char*>(end) - text);
}

bool CopyText(char* destination, std::size_t capacity, const char* source) {
    if (source == nullptr) return false;
    const std::size_t length = BoundedLength(source, capacity);
    if (length >= capacity) return false;
    std::memmove(destination, source, length);
    destination[length] = '\0';
    return true;
}

void CopyTextCut(char* destination, std::size_t capacity, const char* source) {
    if (source == nullptr) {
        destination[0] = '\0';
        return;
    }
    std::size_t length = BoundedLength(source, capacity);
    if (length >= capacity) length = WholeCharactersWithin(source, capacity - 1);
    std::memmove(destination, source, length);
    destination[length] = '\0';
}

bool JoinText(char* destination, std::size_t capacity, char separator, const char* const* parts,
              std::size_t partCount) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < partCount; ++i) {
        if (parts[i] == nullptr) return false;
        total += BoundedLength(parts[i], capacity) + (i > 0 ? 1 : 0);
        if (total >= capacity) return false;
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < partCount; ++i) {
        if (i > 0) destination[at++] = separator;
        const std::size_t length = std::strlen(parts[i]);
        std::memmove(destination + at, parts[i], length);
        at += length;
    }
    destination[at] = '\0';
    return true;
}

bool EndsWithIgnoreCase(const char* text, const char* suffix) {
    if (text == nullptr || suffix == nullptr) return false;
    const std::size_t textLength = std::strlen(text);
    const std::size_t suffixLength = std::strlen(suffix);
    if (suffixLength > textLength) return false;
    const char* tail = text + (textLength - suffixLength);
    for (std::size_t i = 0; i < suffixLength; ++i) {
        if (LowerAscii(tail[i]) != LowerAscii(suffix[i])) return false;
    }
    return true;
}

}  // namespace corvantide
