// Texts and routes of what the panel tells the user about refused input and
// failed allocations. [interface thread]
#pragma once

namespace corvantide {

inline constexpr char kAllocationFailedText[] = "Couldn't allocate storage data.";
inline constexpr char kPathTooLongText[] = "Path not stored: longer than 1023 characters.";
inline constexpr char kBatchDirectoryTooLongText[] = "Batch directory not stored: longer than 255 characters.";

// Modal message "Couldn't allocate storage data.".
void ReportAllocationFailure();
// A path or directory was refused rather than cut: one line in the status area.
void ReportRefusedText(const char* message);

}  // namespace corvantide
