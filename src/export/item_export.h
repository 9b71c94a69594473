// Export of one item's motion to "<destinationPath>.mot" (and, for a camera,
// "<destinationPath>_ZoomFactor.mot"). [interface thread]
#pragma once

#include <cstdint>

namespace corvantide {

inline constexpr std::int32_t kExportDone = 1;
inline constexpr std::int32_t kExportNothingWritten = 0;
inline constexpr std::int32_t kExportAborted = -1;

// Writes the item's motion file as its settings direct. 1 done (also when the
// item has no settings: nothing is written), 0 a file not written, -1 aborted
// with the Escape key. A camera's motion file replaces the earlier one once
// complete, whatever becomes of its zoom file; a zoom file not written still
// gives 0. Every file is noted in the export report. Escape is polled before
// each key or frame and between the chunks a file is printed in; an abort
// keeps the earlier file. Forgetting a press from before the user's action is
// the caller's. The animation clock is always restored.
std::int32_t ExportItemMotion(void* item);

// The abort text (kAbortMessage) in the status area, with its "Saving Motion Frame: 0 of 0." line.
void ShowExportAborted();

// A file's printing stops when this is true: Escape was pressed.
bool StopOnEscape();

}  // namespace corvantide
