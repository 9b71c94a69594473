// The destination path of the current item: typed into the path field or
// chosen with the "Path" button.
#include <cstddef>
#include <cstdint>

#include "entry/plugin_state.h"
#include "export/file_names.h"
#include "host/core_services.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "host/item_record.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "panel/control_handlers.h"
#include "panel/current_item.h"
#include "panel/requester_scratch.h"
#include "panel/user_notices.h"

namespace corvantide {

namespace {

constexpr char kDestinationTitle[] = "Select Destination With Base Name";

void ShowStoredPath(const ExportSettings& settings) {
    const char* path = settings.destinationPath != nullptr ? settings.destinationPath : "";
    SetControlText(PanelControls.pathField, path, kPathFieldByteCount);
}

void EnableOutput(ExportSettings& settings) {
    settings.outputDisabled = 0;
    SetControlInt(PanelControls.disableOutputToggle, 0);
}

void StoreTypedPath(void* item) {
    ExportSettings* settings = GetOrCreateSettings(item);
    if (settings == nullptr) {
        ReportAllocationFailure();
        return;
    }
    char typed[kTypedPathProbe];
    const bool read =
        GetControlText(PanelControls.pathField, typed, static_cast<std::int32_t>(kTypedPathProbe));
    if (!read || BoundedLength(typed, kTypedPathProbe) >= kPathCapacity) {
        ShowStoredPath(*settings);  // the field goes back to what the record holds
        ReportRefusedText(kPathTooLongText);
        return;
    }
    if (!EnsurePathBuffer(&settings->destinationPath)) {
        ReportAllocationFailure();
        return;
    }
    CopyText(settings->destinationPath, kPathCapacity, typed);
    // Entering a destination turns output on, even an empty one.
    EnableOutput(*settings);
}

// The item's name as the requester's suggestion, without a ".lwo" ending. A
// suggestion may be cut: the user still sees and edits it.
void SuggestBaseName(char* fileName, const char* itemName) {
    CopyTextCut(fileName, static_cast<std::size_t>(kRequesterNameCapacity), itemName);
    DropObjectSuffix(fileName);
}

void ChooseDestination(ExportSettings& settings, void* item) {
    RequesterScratch scratch;
    if (!scratch.Ready() || !EnsurePathBuffer(&settings.requesterPath)) {
        ReportAllocationFailure();
        return;
    }
    const FileRequestBuffers buffers = scratch.Buffers();
    SuggestBaseName(buffers.fileName, ItemName(item));
    if (!RequestFile(buffers, settings.requesterPath, kDestinationTitle)) return;

    const std::size_t length = scratch.ResultLength();
    if (length >= kPathCapacity) {
        ReportRefusedText(kPathTooLongText);
        return;
    }
    SetControlText(PanelControls.pathField, buffers.result, static_cast<std::int32_t>(length + 1));
    const std::int32_t wasDisabled = settings.outputDisabled;
    EnableOutput(settings);
    if (!EnsurePathBuffer(&settings.destinationPath)) {
        // The field and the toggle go back: a refusal leaves all as it was.
        settings.outputDisabled = wasDisabled;
        SetControlInt(PanelControls.disableOutputToggle, wasDisabled);
        ShowStoredPath(settings);
        ReportAllocationFailure();
        return;
    }
    CopyText(settings.destinationPath, kPathCapacity, buffers.result);
}

}  // namespace

std::int64_t OnPathStringChanged(void*, void*, void*, std::uint64_t) noexcept {
    if (void* item = HostCurrentItem()) StoreTypedPath(item);
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

std::int64_t OnPathButton(void*, void*, void*, std::uint64_t) noexcept {
    if (ExportSettings* settings = CurrentSettings()) ChooseDestination(*settings, HostCurrentItem());
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
