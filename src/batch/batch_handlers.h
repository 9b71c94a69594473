// Callbacks of the batch controls (right column of the panel) and the batch
// setup. Each callback ends with the host's interface refresh (0x9400) and
// returns 0. All are [interface thread]; the callbacks are noexcept.
#pragma once

#include <cstdint>

namespace corvantide {

// Typed batch directory into BatchDirectory (BatchRequesterPath untouched).
std::int64_t OnBatchPathChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
// File requester; on acceptance the chosen directory goes into the field,
// BatchDirectory and BatchRequesterPath.
std::int64_t OnBatchPathButton(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnUseBatchDirectoryChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnUseCurrentDataChanged(void* context, void* control, void* data, std::uint64_t code) noexcept;
std::int64_t OnSetupBatch(void* context, void* control, void* data, std::uint64_t code) noexcept;
// Exports every ready item in hierarchy order; stops at the first abort.
std::int64_t OnExportBatchMotions(void* context, void* control, void* data, std::uint64_t code) noexcept;

// Gives every scene item a record, both paths composed from its name and a
// directory, optionally the current item's frame range and options, and
// output enabled; then loads the current-item controls.
void SetupBatch();

}  // namespace corvantide
