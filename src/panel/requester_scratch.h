// Working buffers of one file request: the 100000-byte result, the file-name
// and the directory buffer, empty on creation. They live on the heap (the
// result buffer is too large for a callback's stack) and go with the caller.
#pragma once

#include <cstddef>
#include <memory>

#include "host/interface_services.h"

namespace corvantide {

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
    std::unique_ptr<char[]> result_;
    std::unique_ptr<char[]> fileName_;
    std::unique_ptr<char[]> directory_;
};

}  // namespace corvantide
