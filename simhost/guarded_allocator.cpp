// Guarded, counting allocator of the simulated host.
#include "guarded_allocator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__SANITIZE_ADDRESS__)
#define SIMHOST_POISONS_GUARDS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SIMHOST_POISONS_GUARDS 1
#endif
#endif
#if defined(SIMHOST_POISONS_GUARDS)
#include <sanitizer/asan_interface.h>
#endif

namespace simhost {

namespace {
constexpr std::uint64_t kLargestBlock = std::uint64_t{1} << 40;

// Under AddressSanitizer a block's guard bytes are poisoned as well, so that
// a read past the block is reported where it happens; without it, only a
// write past the block is found, when the guard is checked.
void SealGuard([[maybe_unused]] const unsigned char* guard) {
#if defined(SIMHOST_POISONS_GUARDS)
    ASAN_POISON_MEMORY_REGION(guard, GuardedAllocator::kGuardSize);
#endif
}

void OpenGuard([[maybe_unused]] const unsigned char* guard) {
#if defined(SIMHOST_POISONS_GUARDS)
    ASAN_UNPOISON_MEMORY_REGION(guard, GuardedAllocator::kGuardSize);
#endif
}
}  // namespace

GuardedAllocator::~GuardedAllocator() {
    for (auto& [block, size] : blocks_) {
        OpenGuard(static_cast<const unsigned char*>(block) + size);
        std::free(const_cast<void*>(block));
    }
}

void* GuardedAllocator::Allocate(std::uint64_t count, std::uint64_t size) {
    ++made_;
    if (failFrom_ != 0 && made_ >= failFrom_) return nullptr;
    if (size != 0 && count > kLargestBlock / size) {
        report_("allocate(" + std::to_string(count) + ", " + std::to_string(size) +
                ") asks for an impossible size");
        return nullptr;
    }
    const std::uint64_t bytes = count * size;
    if (limit_ != 0 && bytes > limit_ - std::min(bytes_, limit_)) return nullptr;
    auto* block = static_cast<unsigned char*>(std::calloc(1, bytes + kGuardSize));
    if (block == nullptr) return nullptr;
    std::memset(block + bytes, kGuardByte, kGuardSize);
    SealGuard(block + bytes);
    blocks_[block] = bytes;
    bytes_ += bytes;
    if (bytes_ > peakBytes_) peakBytes_ = bytes_;
    return block;
}

void GuardedAllocator::Release(void* block) {
    if (block == nullptr) {
        report_("release(null)");
        return;
    }
    auto found = blocks_.find(block);
    if (found == blocks_.end()) {
        report_("release of a block the allocator did not hand out (or released twice)");
        return;
    }
    if (!GuardIntact(static_cast<unsigned char*>(block), found->second)) {
        report_("overrun past a block of " + std::to_string(found->second) + " bytes");
    }
    OpenGuard(static_cast<unsigned char*>(block) + found->second);
    bytes_ -= found->second;
    blocks_.erase(found);
    std::free(block);
}

void GuardedAllocator::FailFrom(std::uint64_t n) { failFrom_ = made_ + n; }

std::uint64_t GuardedAllocator::BytesOutstanding() const { return bytes_; }

std::uint64_t GuardedAllocator::SizeOf(const void* block) const {
    auto found = blocks_.find(block);
    return found == blocks_.end() ? 0 : found->second;
}

bool GuardedAllocator::GuardIntact(const unsigned char* block, std::uint64_t size) const {
    OpenGuard(block + size);
    bool intact = true;
    for (std::size_t i = 0; i < kGuardSize; ++i) intact = intact && block[size + i] == kGuardByte;
    SealGuard(block + size);
    return intact;
}

bool GuardedAllocator::CheckGuards() const {
    bool intact = true;
    for (auto& [block, size] : blocks_) {
        if (!GuardIntact(static_cast<const unsigned char*>(block), size)) {
            report_("overrun past a live block of " + std::to_string(size) + " bytes");
            intact = false;
        }
    }
    return intact;
}

}  // namespace simhost
