// The status area at the top left of the panel: an idle text, or a message
// with a progress line. [interface thread]
#pragma once

#include <cstdint>

#include "host/plugin_limits.h"
#include "panel/status_text.h"

namespace corvantide {

// Composes the status text into `text` (kStatusTextCapacity bytes): the idle
// text for a null message, else the message line and, for modes 0 and 1, the
// progress line. A message too long for the buffer is cut, never overrun.
void ComposeStatusText(char* text, const char* message, std::int32_t frame, std::int32_t total,
                       std::int32_t mode);

// Shows the composed text in the status area and redraws it at once.
void SetStatusText(const char* message, std::int32_t frame, std::int32_t total, std::int32_t mode);
// Shows `message` (not null) with no progress line, as SetStatusText does.
void SetStatusMessage(const char* message);
// Shows the idle text "Info\nStatus: Idle", as SetStatusText(null, 0, 0, 1) does.
void SetStatusIdle();

}  // namespace corvantide
