// File names Windows can hold. A name is the part of a path after its last
// "\" or "/" (or after a drive's "X:"); Windows refuses the characters
// < > : " / \ | ? * and the control characters in it, and takes CON, PRN,
// AUX, NUL, COM1 to COM9 and LPT1 to LPT9 before a first "." for devices.
// Host text is stepped by character: in a double-byte code page a letter's
// second byte may be 0x5C or 0x7C. [interface thread]
#pragma once

#include <cstddef>

namespace corvantide {

enum class NameFault {
    kNone,
    kNoName,     // the path ends in a separator, or is empty
    kForbidden,  // a character Windows refuses; NameCheck::character holds it
    kDevice,     // the name of a device
};

struct NameCheck {
    NameFault fault;
    unsigned char character;  // the refused character, with kForbidden
};

// Offset of the name part of `path` (NUL-terminated, not null).
std::size_t NamePartOffset(const char* path);

// Whether the name part of `path` names a file Windows can hold.
NameCheck CheckFileName(const char* path);

// The item-name ending that is not part of a base name.
inline constexpr char kObjectSuffix[] = ".lwo";

// Drops one ending ".lwo" (any letter case) from a NUL-terminated name (not
// null), in whole characters.
void DropObjectSuffix(char* name);

// Turns an item's name into a file name in place: every refused character
// becomes "_", and a device name gets a "_" appended. False, with `name`
// unchanged, when that "_" does not fit `capacity` bytes.
bool MakeFileName(char* name, std::size_t capacity);

}  // namespace corvantide
