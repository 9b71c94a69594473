// Working buffers of one file request.
#include "panel/requester_scratch.h"

#include <cstring>
#include <new>

#include "host/text_buffer.h"

namespace corvantide {

namespace {
void* AllocateNoThrow(std::size_t bytes) { return ::operator new(bytes, std::nothrow); }
void ReleaseBlock(void* block) { ::operator delete(block); }
}  // namespace

ScratchHeap PlatformScratchHeap() { return {AllocateNoThrow, ReleaseBlock}; }

ScratchHeap ScratchMemory = PlatformScratchHeap();

RequesterScratch::Buffer RequesterScratch::ZeroedText(std::int32_t capacity) noexcept {
    const ScratchHeap heap = ScratchMemory;
    const auto bytes = static_cast<std::size_t>(capacity);
    auto* block = static_cast<char*>(heap.allocate(bytes));
    if (block != nullptr) std::memset(block, 0, bytes);
    return Buffer(block, Release{heap.release});
}

RequesterScratch::RequesterScratch() noexcept
    : result_(ZeroedText(kRequesterResultCapacity)),
      fileName_(ZeroedText(kRequesterNameCapacity)),
      directory_(ZeroedText(kRequesterDirectoryCapacity)) {}

std::size_t RequesterScratch::ResultLength() const {
    return BoundedLength(result_.get(), static_cast<std::size_t>(kRequesterResultCapacity));
}

std::size_t RequesterScratch::DirectoryLength() const {
    return BoundedLength(directory_.get(), static_cast<std::size_t>(kRequesterDirectoryCapacity));
}

}  // namespace corvantide
