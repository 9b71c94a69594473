// Working buffers of one file request: the 100000-byte result, the file-name
// and the directory buffer, empty on creation. They live on the plug-in's own
// heap (the result buffer is too large for a callback's stack) and go with
// the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "host/interface_services.h"

namespace corvantide {

// The plug-in's own heap, where the scratch buffers come from (never the
// host's allocator). Tests replace it to refuse allocations one by one.
struct ScratchHeap {
    // A block of `bytes` bytes, or null when refused.
    void* (*allocate)(std::size_t bytes);
    // Gives back a block `allocate` handed out; never called with null.
    void (*release)(void* block);
};

// Non-throwing operator new and its delete.
ScratchHeap PlatformScratchHeap();
// The heap in use; starts as PlatformScratchHeap(). A buffer goes back to
// the heap it came from, even when this is replaced meanwhile.
extern ScratchHeap ScratchMemory;

class RequesterScratch {
public:
    RequesterScratch() noexcept;

    // False when the buffers could not be allocated.
    bool Ready() const { return result_ && fileName_ && directory_; }
    FileRequestBuffers Buffers() const { return {result_.get(), fileName_.get(), directory_.get()}; }

    // Lengths of the host's answers; the capacity itself when the host left
    // no terminator (such a text fits nowhere).
    std::size_t ResultLength() const;
    std::size_t DirectoryLength() const;

private:
    struct Release {
        void (*release)(void* block);
        void operator()(char* block) const { release(block); }
    };
    using Buffer = std::unique_ptr<char[], Release>;
    static Buffer ZeroedText(std::int32_t capacity) noexcept;

    Buffer result_;
    Buffer fileName_;
    Buffer directory_;
};

}  // namespace corvantide
