// The batch directory, typed or chosen, and the two batch toggles.
#include <cstddef>
#include <cstdint>

#include "batch/batch_handlers.h"
#include "entry/plugin_state.h"
#include "host/core_services.h"
#include "host/interface_services.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "panel/requester_scratch.h"
#include "panel/user_notices.h"

namespace corvantide {

namespace {

constexpr char kBatchTitle[] = "Select Destination With Base Name";
constexpr char kNoFileName[] = "(none)";

void StoreTypedDirectory() {
    char typed[kTypedDirectoryProbe];
    const bool read =
        GetControlText(PanelControls.batchPathField, typed, static_cast<std::int32_t>(kTypedDirectoryProbe));
    if (!read || !CopyText(BatchDirectory, kBatchTextCapacity, typed)) {
        // The field goes back to the directory kept.
        SetControlText(PanelControls.batchPathField, BatchDirectory,
                       static_cast<std::int32_t>(kBatchTextCapacity));
        ReportRefusedText(kBatchDirectoryTooLongText);
    }
}

void ChooseDirectory() {
    RequesterScratch scratch;
    if (!scratch.Ready()) {
        ReportAllocationFailure();
        return;
    }
    const FileRequestBuffers buffers = scratch.Buffers();
    CopyText(buffers.fileName, static_cast<std::size_t>(kRequesterNameCapacity), kNoFileName);
    if (!RequestFile(buffers, BatchRequesterPath, kBatchTitle)) return;
    const std::size_t length = scratch.DirectoryLength();
    if (length >= kBatchTextCapacity) {
        ReportRefusedText(kBatchDirectoryTooLongText);
        return;
    }
    SetControlText(PanelControls.batchPathField, buffers.directory, static_cast<std::int32_t>(length + 1));
    CopyText(BatchDirectory, kBatchTextCapacity, buffers.directory);
    CopyText(BatchRequesterPath, kBatchTextCapacity, buffers.directory);
}

}  // namespace

std::int64_t OnBatchPathChanged(void*, void*, void*, std::uint64_t) noexcept {
    StoreTypedDirectory();
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

std::int64_t OnBatchPathButton(void*, void*, void*, std::uint64_t) noexcept {
    ChooseDirectory();
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

std::int64_t OnUseBatchDirectoryChanged(void*, void*, void*, std::uint64_t) noexcept {
    UseBatchDirectory = GetControlInt(PanelControls.useBatchDirectoryToggle, UseBatchDirectory);
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

std::int64_t OnUseCurrentDataChanged(void*, void*, void*, std::uint64_t) noexcept {
    UseCurrentData = GetControlInt(PanelControls.useCurrentDataToggle, UseCurrentData);
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
