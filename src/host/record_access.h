// Reads and writes of host-owned records by byte offset.
//
// Host records are laid out by the host, not by this compiler, so no struct is
// overlaid on them: every field is copied in or out with memcpy at its offset,
// which is free of alignment and aliasing problems.
#pragma once

#include <cstddef>
#include <cstring>

namespace corvantide {

template <typename T>
T ReadField(const void* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof(T));
    return value;
}

template <typename T>
void WriteField(void* record, std::size_t offset, T value) {
    std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof(T));
}

inline char* FieldAddress(void* record, std::size_t offset) { return static_cast<char*>(record) + offset; }

}  // namespace corvantide
