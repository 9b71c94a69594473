// Bringing the current-item controls in line with the current record, and
// the block notifications that say whether the panel is shown.
// [interface thread]
#pragma once

#include <cstdint>

#include "settings/export_settings.h"

namespace corvantide {

// Block notification codes (also the block flag bits that ask for them).
inline constexpr std::uint64_t kPanelHiddenNotice = 0x400000;
inline constexpr std::uint64_t kPanelShownNotice = 0x800000;

// Where the offset comes among the three frame fields a load sets.
enum class FrameFieldOrder { kOffsetFirst, kOffsetAfterRange };
// The byte count the path text is set with.
enum class PathByteCount { kBufferSize, kTextLength };

// Sets the eight current-item controls from `values`: the frame fields in
// `order`, then coordinates, "Freeze Motion", motion format, the path
// (destinationPath, "" without a buffer) and "Disable All Output Operations".
void LoadItemControls(const ExportSettings& values, FrameFieldOrder order, PathByteCount count);
// Loads the eight current-item controls from the current record (or neutral
// values), offset first. Creates nothing, enables nothing, requests no refresh.
void RefreshPanelControls();
// Neutral values into the current-item controls, then disables them.
void DisablePanelControls();
// RefreshPanelControls, then enables the current-item controls.
void EnablePanelControls();

// The block callback: 0x400000 hidden, 0x800000 shown, anything else ignored.
// Always 0, no refresh request.
std::int64_t PanelBlockCallback(void* context, void* block, void* data, std::uint64_t code) noexcept;

}  // namespace corvantide
