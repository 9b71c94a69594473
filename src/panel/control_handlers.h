// Callbacks of the current-item controls (left column of the panel). Each
// reads its control into the current item's record, or runs an export, then
// asks the host to refresh its interface (0x9400) and returns 0.
// All are [interface thread] and noexcept.
#pragma once

#include <cstdint>

namespace corvantide {

std::int64_t OnPathStringChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnPathButton(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnBeginFrameChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnEndFrameChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnOffsetChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnMotionFormatChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnExportCurrentMotion(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnDisableOutputChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;

// Filters: the host also notifies toggles and lists with non-zero codes;
// only code 0 (the user changed the value) stores the value.
std::int64_t OnFreezeMotionEvent(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnCoordinatesEvent(void* context, void* control, void* data, std::uint64_t code) noexcept;
// Does nothing for any code.
std::int64_t OnSeparatorEvent(void* context, void* control, void* data, std::uint64_t code) noexcept;

}  // namespace corvantide
