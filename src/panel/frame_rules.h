// The frame-range rules of the current-item controls. Frames are signed
// 32-bit numbers; the sum of begin frame and offset wraps as 32-bit
// arithmetic does on the host, without undefined behaviour here.
#pragma once

#include <cstdint>

#include "settings/export_settings.h"

namespace corvantide {

struct BeginFrameOutcome {
    bool clamped;      // begin frame was past the end: both frame fields need the stored values
    bool offsetReset;  // begin frame + offset fell below 0: the offset went back to 0
};

// Stores a typed begin frame: past the end frame it becomes the end frame
// (or 0 when that is negative); a negative begin + offset resets the offset.
BeginFrameOutcome ApplyBeginFrame(ExportSettings& settings, std::int32_t typed);

// Stores a typed end frame; below the begin frame it becomes the begin frame.
// True when it was corrected.
bool ApplyEndFrame(ExportSettings& settings, std::int32_t typed);

}  // namespace corvantide
