// Collection of an item's motion into channel buffers: from its host keys
// (keys mode) or from every frame of a range (sampling mode), in local or
// world values. Escape is polled before each key or frame, and the status
// area shows the progress. [interface thread]
#pragma once

#include <cstdint>

#include "export/envelope_key.h"
#include "settings/export_settings.h"

namespace corvantide {

// Keys mode over the item's keyCount keys. Local takes each key's own data
// and includes the channels its flags key. World moves the clock to each
// key's time and includes every channel there, with Constant behaviours.
// False when the user aborted with Escape.
bool CollectKeys(void* item, std::int32_t coordinates, std::int64_t keyCount, const ChannelBuffers& buffers,
                 const char* progressName);

// Sampling mode over frames first to last inclusive: the clock is moved to
// each frame. World rotations are kept continuous from frame to frame (see
// NearestTurn). False when the user aborted with Escape.
bool CollectFrames(void* item, std::int32_t coordinates, std::int64_t first, std::int64_t last,
                   const ChannelBuffers& buffers, const char* progressName);

// The item's nine values now, without moving the clock or polling Escape:
// its own channel values (Local), or GetChannels at the clock (World).
void CollectCurrentValues(void* item, std::int32_t coordinates, double (&values)[kMotionChannels]);

// `angle` moved by whole turns to the equivalent nearest `previous`. World
// rotations come from a transform, in a principal range: a heading through
// 180 degrees would jump a whole turn between two frames, and anything that
// evaluates between frames would spin the item backwards.
double NearestTurn(double angle, double previous);

}  // namespace corvantide
