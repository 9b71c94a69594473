// Fields of the host's item record that the panel and the batch read. The
// layout is the host's, so fields are read by offset.
#pragma once

#include <cstddef>

#include "host/record_access.h"

namespace corvantide {

namespace item_record {
inline constexpr std::size_t kName = 0x60;        // char*, NUL-terminated
inline constexpr std::size_t kSourcePath = 0x70;  // char* or null: the file the item came from
}  // namespace item_record

inline const char* ItemName(const void* item) {
    return item != nullptr ? ReadField<const char*>(item, item_record::kName) : nullptr;
}

inline const char* ItemSourcePath(const void* item) {
    return item != nullptr ? ReadField<const char*>(item, item_record::kSourcePath) : nullptr;
}

// The item-name suffix that is not part of a base name.
inline constexpr char kObjectSuffix[] = ".lwo";

}  // namespace corvantide
