// Names Windows can hold.
#include "export/file_names.h"

#include <cstring>

#include "host/host_characters.h"
#include "host/text_buffer.h"

namespace corvantide {

namespace {

constexpr char kReplacement = '_';
constexpr const char* kDeviceNames[] = {"CON", "PRN", "AUX", "NUL"};
constexpr const char* kNumberedDevices[] = {"COM", "LPT"};

bool IsRefused(unsigned char c) { return c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameLettersIgnoringCase(const char* text, const char* upper, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (UpperAscii(text[i]) != upper[i]) return false;
    }
    return true;
}

// The part before the first "." (or the whole name) is a device's name.
bool IsDeviceName(const char* name) {
    const char* dot = std::strchr(name, '.');
    const std::size_t stem = dot != nullptr ? static_cast<std::size_t>(dot - name) : std::strlen(name);
    if (stem == 3) {
        for (const char* device : kDeviceNames) {
            if (SameLettersIgnoringCase(name, device, 3)) return true;
        }
    }
    if (stem == 4 && name[3] >= '1' && name[3] <= '9') {
        for (const char* device : kNumberedDevices) {
            if (SameLettersIgnoringCase(name, device, 3)) return true;
        }
    }
    return false;
}

// A drive's "X:" at the start: its letter is one byte.
bool StartsWithDrive(const char* path) {
    return path[0] != '\0' && NextHostCharacter(path) == path + 1 && path[1] == ':';
}

}  // namespace

std::size_t NamePartOffset(const char* path) {
    const std::size_t folder = FolderPartLength(path, std::strlen(path), IsPathSeparator);
    if (folder == 0 && StartsWithDrive(path)) return 2;
    return folder;
}

NameCheck CheckFileName(const char* path) {
    const char* name = path + NamePartOffset(path);
    if (*name == '\0') return {NameFault::kNoName, 0};
    for (const char* at = name; *at != '\0'; at = NextHostCharacter(at)) {
        // A letter of two bytes is never refused, whatever its second byte.
        if (NextHostCharacter(at) == at + 1 && IsRefused(static_cast<unsigned char>(*at))) {
            return {NameFault::kForbidden, static_cast<unsigned char>(*at)};
        }
    }
    if (IsDeviceName(name)) return {NameFault::kDevice, 0};
    return {NameFault::kNone, 0};
}

void DropObjectSuffix(char* name) {
    if (!EndsWithIgnoreCase(name, kObjectSuffix)) return;
    const std::size_t start = std::strlen(name) - (sizeof kObjectSuffix - 1);
    if (StartsHostCharacter(name, start)) name[start] = '\0';
}

bool MakeFileName(char* name, std::size_t capacity) {
    const std::size_t length = std::strlen(name);
    const bool device = IsDeviceName(name);
    if (device && length + 2 > capacity) return false;
    for (std::size_t at = 0; name[at] != '\0';) {
        const std::size_t next = static_cast<std::size_t>(NextHostCharacter(name + at) - name);
        if (next == at + 1 && IsRefused(static_cast<unsigned char>(name[at]))) name[at] = kReplacement;
        at = next;
    }
    if (device) {
        name[length] = kReplacement;
        name[length + 1] = '\0';
    }
    return true;
}

}  // namespace corvantide
