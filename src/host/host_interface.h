// The host's service record handed to InitCustomize.
//
// Ownership: the host owns the record for the life of the process; the
// plug-in keeps the pointer and never frees it. Every accessor accepts a null
// record (the plug-in was never initialised) and yields the neutral result.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/plugin_limits.h"

namespace corvantide {

namespace host_interface {
inline constexpr std::size_t kAllocate = 0x18;             // void* (count, size), zero-filled or null
inline constexpr std::size_t kRelease = 0x20;              // void (block)
inline constexpr std::size_t kLookup = 0x40;               // void* (name): host functions and variables
inline constexpr std::size_t kPlatformLookup = 0x48;       // void* (name): "wp" platform functions
inline constexpr std::size_t kItemListRoot = 0xab08;       // 64-bit, passed as is to GetHierarchyList
inline constexpr std::size_t kStateRecord = 0x46ab8;       // pointer to the host state record, or null
inline constexpr std::size_t kContentDirectory = 0x6f1b8;  // NUL-terminated char array
}  // namespace host_interface

namespace state_record {
inline constexpr std::size_t kCurrentItem = 0x268;  // pointer to the current item, or null
}

// The two records InitCustomize receives; null until then.
extern void* HostInterfaceRecord;
extern void* ModuleRecordPointer;

using AllocateFn = void* (*)(std::uint64_t count, std::uint64_t size);
using ReleaseFn = void (*)(void* block);
using LookupFn = void* (*)(const char* name);

// Zero-filled block of count * size bytes from the host, or null (also when
// the service is missing).
void* HostAllocate(std::uint64_t count, std::uint64_t size);
// Returns a block to the host; null blocks are ignored.
void HostRelease(void* block);
// Address the host gives for a name, or null.
void* HostLookup(const char* name);
void* HostPlatformLookup(const char* name);
std::uint64_t HostItemListRoot();
// The host state record, or null when the host has none.
void* HostStateRecord();
// The current item, or null when there is no state record or no current item.
void* HostCurrentItem();
// The content directory as a bounded, NUL-terminated text; "" when unavailable.
// The result points into the host's record or at a static empty text.
const char* HostContentDirectory();

}  // namespace corvantide
