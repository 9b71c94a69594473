// Channel buffers from the host allocator.
#include "export/envelope_key.h"
#include "host/host_interface.h"

namespace corvantide {

bool AllocateChannelBuffers(ChannelBuffers* buffers, std::int64_t entries) {
    buffers->table = nullptr;
    if (entries < 0) return false;
    const auto count = static_cast<std::uint64_t>(entries + kSpareEntries);
    buffers->table = static_cast<EnvelopeKey**>(HostAllocate(kMotionChannels, sizeof(EnvelopeKey*)));
    if (buffers->table == nullptr) return false;
    for (int c = 0; c < kMotionChannels; ++c) {
        buffers->table[c] = static_cast<EnvelopeKey*>(HostAllocate(count, sizeof(EnvelopeKey)));
        if (buffers->table[c] == nullptr) {
            ReleaseChannelBuffers(buffers);
            return false;
        }
    }
    return true;
}

void ReleaseChannelBuffers(ChannelBuffers* buffers) {
    if (buffers->table == nullptr) return;
    for (int c = 0; c < kMotionChannels; ++c) HostRelease(buffers->table[c]);
    HostRelease(buffers->table);
    buffers->table = nullptr;
}

}  // namespace corvantide
