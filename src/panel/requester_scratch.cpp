// Working buffers of one file request.
#include "panel/requester_scratch.h"

#include <new>

#include "host/text_buffer.h"

namespace corvantide {

namespace {
std::unique_ptr<char[]> ZeroedText(std::int32_t capacity) noexcept {
    return std::unique_ptr<char[]>(new (std::nothrow) char[static_cast<std::size_t>(capacity)]());
}
}  // namespace

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
