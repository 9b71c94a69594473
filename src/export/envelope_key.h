// One key of a channel envelope as the exporter collects it, and the nine
// channel buffers of one export.
//
// Ownership: every buffer comes zero-filled from the host allocator and goes
// back to it when the export that allocated it ends. Fields the collection
// does not set stay 0, and the writer relies on that.
#pragma once

#include <cstdint>

#include "host/plugin_limits.h"

namespace corvantide {

struct EnvelopeKey {
    double value;            // as the host delivers it, no unit conversion
    std::int32_t include;    // 1: the key keys this channel (keyed form prints only these)
    std::int32_t shape;      // 0 TCB, 2 Bezier, 3 linear, 4 stepped
    float p1, p2, p3;        // tension, continuity, bias for shape 0
    float p4, p5;            // incoming and outgoing handle values for shape 2
    std::int32_t behaviour;  // pre and post behaviour; only a channel's entry 0 is printed
};

// The file's "Constant" behaviour code.
inline constexpr std::int32_t kConstantBehaviour = 1;

// Channels 0-2 position X Y Z, 3-5 heading pitch bank, 6-8 scale X Y Z.
inline constexpr int kMotionChannels = 9;
// A camera's file holds position and rotation only; its scale is collected, not printed.
inline constexpr int kCameraChannels = 6;

// The pointer table (allocate(9, 8)) and the nine buffers of one export.
struct ChannelBuffers {
    EnvelopeKey** table;
};

// Allocates the table and nine buffers of `entries` + kSpareEntries each.
// False, with everything already taken given back, when the host refuses one.
bool AllocateChannelBuffers(ChannelBuffers* buffers, std::int64_t entries);
// Gives back every buffer and the table; safe on a partly allocated or empty set.
void ReleaseChannelBuffers(ChannelBuffers* buffers);

}  // namespace corvantide
