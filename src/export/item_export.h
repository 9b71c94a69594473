// Export of one item's motion to "<destinationPath>.mot" (and, for a camera,
// "<destinationPath>_ZoomFactor.mot"). [interface thread]
#pragma once

#include <cstdint>

namespace corvantide {

inline constexpr std::int32_t kExportDone = 1;
inline constexpr std::int32_t kExportNothingWritten = 0;
inline constexpr std::int32_t kExportAborted = -1;

// Writes the item's motion file as its settings direct. 1 done (also when the
// item has no settings: nothing is written), 0 nothing written, -1 aborted
// with the Escape key. The animation clock is always restored.
std::int32_t ExportItemMotion(void* item);

}  // namespace corvantide
