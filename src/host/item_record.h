// The host's item records and their 1872-byte key records, read by offset.
//
// Ownership: both belong to the host and are only read. The key array holds
// key-count records in host key order. [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/record_access.h"

namespace corvantide {

namespace item_record {
inline constexpr std::size_t kType = 0x54;           // 32-bit signed
inline constexpr std::size_t kName = 0x60;           // char*, NUL-terminated
inline constexpr std::size_t kSourcePath = 0x70;     // char* or null
inline constexpr std::size_t kKeys = 0xb8;           // key array
inline constexpr std::size_t kChannelValues = 1880;  // + 8c, double: local value last evaluated
inline constexpr std::size_t kLastKey = 5040;        // + 4c, int32: index of channel c's last key
inline constexpr std::size_t kFirstKey = 5168;       // + 4c, int32: index of channel c's first key
inline constexpr std::size_t kBehaviour = 5552;      // + 2c, int16: host behaviour code
inline constexpr std::size_t kKeyCount = 5792;       // int32
inline constexpr std::int32_t kCameraType = 8;
}  // namespace item_record

namespace key_record {
inline constexpr std::size_t kSize = 1872;
inline constexpr std::size_t kValue = 0;         // + 8s, double
inline constexpr std::size_t kTension = 256;     // + 4s, float
inline constexpr std::size_t kContinuity = 384;  // + 4s, float
inline constexpr std::size_t kBias = 512;        // + 4s, float
inline constexpr std::size_t kSpanMode = 704;    // + s, int8: 0 TCB, 1 Bezier, 2 linear, 3 stepped
inline constexpr std::size_t kInHandle = 768;    // + 4s, float, relative to the value
inline constexpr std::size_t kOutHandle = 896;   // + 4s, float, relative to the value
inline constexpr std::size_t kFlags = 1792;      // uint32: bit s set when slot s is keyed
inline constexpr std::size_t kTime = 1832;       // double, frames
inline constexpr int kZoomSlot = 12;             // a camera's zoom factor
}  // namespace key_record

// Readers of an item record: `item` is never null. The texts they return
// are the host's and may be null (an item without a name or source file).
inline std::int32_t ItemType(const void* item) { return ReadField<std::int32_t>(item, item_record::kType); }
inline bool IsCamera(const void* item) { return ItemType(item) == item_record::kCameraType; }
inline const char* ItemName(const void* item) { return ReadField<const char*>(item, item_record::kName); }
inline const char* ItemSourcePath(const void* item) {
    return ReadField<const char*>(item, item_record::kSourcePath);
}

// A key array the host left null counts as no keys at all.
inline const void* ItemKeys(const void* item) { return ReadField<const void*>(item, item_record::kKeys); }
inline std::int32_t ItemKeyCount(const void* item) {
    if (ItemKeys(item) == nullptr) return 0;
    return ReadField<std::int32_t>(item, item_record::kKeyCount);
}

inline double ItemChannelValue(const void* item, int channel) {
    return ReadField<double>(item, item_record::kChannelValues + 8 * static_cast<std::size_t>(channel));
}
inline std::int32_t ItemFirstKey(const void* item, int channel) {
    return ReadField<std::int32_t>(item, item_record::kFirstKey + 4 * static_cast<std::size_t>(channel));
}
inline std::int32_t ItemLastKey(const void* item, int channel) {
    return ReadField<std::int32_t>(item, item_record::kLastKey + 4 * static_cast<std::size_t>(channel));
}
inline std::int16_t ItemBehaviour(const void* item, int channel) {
    return ReadField<std::int16_t>(item, item_record::kBehaviour + 2 * static_cast<std::size_t>(channel));
}

inline const void* KeyAt(const void* keys, std::int64_t index) {
    return static_cast<const unsigned char*>(keys) + static_cast<std::size_t>(index) * key_record::kSize;
}
inline double KeyValue(const void* key, int slot) {
    return ReadField<double>(key, key_record::kValue + 8 * static_cast<std::size_t>(slot));
}
inline float KeyTension(const void* key, int slot) {
    return ReadField<float>(key, key_record::kTension + 4 * static_cast<std::size_t>(slot));
}
inline float KeyContinuity(const void* key, int slot) {
    return ReadField<float>(key, key_record::kContinuity + 4 * static_cast<std::size_t>(slot));
}
inline float KeyBias(const void* key, int slot) {
    return ReadField<float>(key, key_record::kBias + 4 * static_cast<std::size_t>(slot));
}
inline std::int8_t KeySpanMode(const void* key, int slot) {
    return ReadField<std::int8_t>(key, key_record::kSpanMode + static_cast<std::size_t>(slot));
}
inline float KeyInHandle(const void* key, int slot) {
    return ReadField<float>(key, key_record::kInHandle + 4 * static_cast<std::size_t>(slot));
}
inline float KeyOutHandle(const void* key, int slot) {
    return ReadField<float>(key, key_record::kOutHandle + 4 * static_cast<std::size_t>(slot));
}
inline std::uint32_t KeyFlags(const void* key) { return ReadField<std::uint32_t>(key, key_record::kFlags); }
inline bool KeyHasSlot(const void* key, int slot) { return (KeyFlags(key) >> slot & 1U) != 0; }
inline double KeyTime(const void* key) { return ReadField<double>(key, key_record::kTime); }

}  // namespace corvantide
