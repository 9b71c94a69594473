// Guarded access to the host's service record.
#include "host/host_interface.h"

#include <cstring>

#include "host/plugin_limits.h"
#include "host/record_access.h"

namespace corvantide {

void* HostInterfaceRecord = nullptr;
void* ModuleRecordPointer = nullptr;

namespace {

template <typename Fn>
Fn ServiceAt(std::size_t offset) {
    if (HostInterfaceRecord == nullptr) return nullptr;
    return ReadField<Fn>(HostInterfaceRecord, offset);
}

}  // namespace

void* HostAllocate(std::uint64_t count, std::uint64_t size) {
    auto allocate = ServiceAt<AllocateFn>(host_interface::kAllocate);
    return allocate != nullptr ? allocate(count, size) : nullptr;
}

void HostRelease(void* block) {
    auto release = ServiceAt<ReleaseFn>(host_interface::kRelease);
    if (release != nullptr && block != nullptr) release(block);
}

void* HostLookup(const char* name) {
    auto lookup = ServiceAt<LookupFn>(host_interface::kLookup);
    return lookup != nullptr ? lookup(name) : nullptr;
}

void* HostPlatformLookup(const char* name) {
    auto lookup = ServiceAt<LookupFn>(host_interface::kPlatformLookup);
    return lookup != nullptr ? lookup(name) : nullptr;
}

std::uint64_t HostItemListRoot() {
    if (HostInterfaceRecord == nullptr) return 0;
    return ReadField<std::uint64_t>(HostInterfaceRecord, host_interface::kItemListRoot);
}

void* HostStateRecord() {
    if (HostInterfaceRecord == nullptr) return nullptr;
    return ReadField<void*>(HostInterfaceRecord, host_interface::kStateRecord);
}

void* HostCurrentItem() {
    void* state = HostStateRecord();
    if (state == nullptr) return nullptr;
    return ReadField<void*>(state, state_record::kCurrentItem);
}

const char* HostContentDirectory() {
    if (HostInterfaceRecord == nullptr) return "";
    const char* directory = FieldAddress(HostInterfaceRecord, host_interface::kContentDirectory);
    // A directory that fills its whole storage without a terminator is not trusted.
    if (std::memchr(directory, '\0', kContentDirectoryCapacity) == nullptr) return "";
    return directory;
}

}  // namespace corvantide
