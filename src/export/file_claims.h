// Which item claimed a file: Setup Batch gives no two items one file, and a
// batch run writes no file twice. A file is known by a key: its composed
// name with ASCII letters folded, as Windows compares names, or the
// identity of a file on the disk. The table lives in a block of the host's
// allocator. [interface thread]
#pragma once

#include <cstdint>

namespace corvantide {

struct FileKey {
    std::uint64_t high;
    std::uint64_t low;
    bool operator==(const FileKey&) const = default;
};

struct ClaimSlot {
    FileKey key;
    const void* item;  // null: the slot is free
};

struct FileClaims {
    ClaimSlot* slots;  // host block, or null
    std::uint32_t capacity;
    std::uint32_t used;
};

// The key of the file name base + suffix: ASCII letters without case, "/"
// as "\", stepped by host character.
FileKey NameKey(const char* base, const char* suffix);

// Room for at most `most` claims, from the host's allocator. False (and no
// table) when it cannot be had.
bool BeginFileClaims(FileClaims* claims, std::int64_t most);
// The item that claimed `key` before, or null, and then `item` (not null)
// claims it. Past the `most` claims of BeginFileClaims nothing is claimed.
const void* ClaimFile(FileClaims* claims, const FileKey& key, const void* item);
// The item that claimed `key`, or null; nothing is claimed.
const void* FindClaim(const FileClaims* claims, const FileKey& key);
// Releases the table.
void EndFileClaims(FileClaims* claims);

}  // namespace corvantide
