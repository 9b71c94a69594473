// "Setup Batch": every scene item gets a record, its two paths and output
// enabled, optionally with the current item's frame range and options.
#include <charconv>
#include <cstdint>
#include <cstring>

#include "batch/batch_handlers.h"
#include "batch/batch_paths.h"
#include "entry/plugin_state.h"
#include "host/core_services.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "host/item_record.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "panel/current_item.h"
#include "panel/panel_refresh.h"
#include "panel/user_notices.h"

namespace corvantide {

namespace {

enum class ItemSetup { kPrepared, kSkipped, kPathTooLong };

void CopyCurrentData(ExportSettings& settings) {
    const ExportSettings* current = CurrentSettings();
    if (current == nullptr) return;
    settings.beginFrame = current->beginFrame;
    settings.endFrame = current->endFrame;
    settings.freezeMotion = current->freezeMotion;
    settings.coordinates = current->coordinates;
    settings.motionFormat = current->motionFormat;
    settings.frameOffset = current->frameOffset;
}

// Both buffers, or neither that was not there before: a record never keeps a
// fresh, empty destination that the batch run would take for a prepared one.
bool EnsureBothPathBuffers(ExportSettings& settings) {
    const bool hadDestination = settings.destinationPath != nullptr;
    if (!EnsurePathBuffer(&settings.destinationPath)) return false;
    if (EnsurePathBuffer(&settings.requesterPath)) return true;
    if (!hadDestination) {
        HostRelease(settings.destinationPath);
        settings.destinationPath = nullptr;
    }
    return false;
}

// An item that cannot be prepared has its output switched off: the batch run
// skips it, as the status says, and never writes to a destination of an
// earlier setup.
ItemSetup PrepareItem(void* item) {
    if (item == nullptr) return ItemSetup::kSkipped;
    ExportSettings* settings = GetOrCreateSettings(item);
    if (settings == nullptr) return ItemSetup::kSkipped;
    if (!EnsureBothPathBuffers(*settings)) {
        settings->outputDisabled = 1;
        return ItemSetup::kSkipped;
    }

    char fileName[kFileNamePartCapacity];
    char directory[kFileNamePartCapacity];
    FindFileName(ItemSourcePath(item), fileName, directory);
    char baseName[kPathCapacity];
    char requester[kPathCapacity];
    char destination[kPathCapacity];
    const BatchPathSources sources{
        baseName,       directory,         HostContentDirectory(), UseBatchDirectory != 0,
        BatchDirectory, BatchRequesterPath};
    if (!BatchBaseName(baseName, ItemName(item)) || !ComposeBatchPaths(sources, requester, destination)) {
        settings->outputDisabled = 1;
        return ItemSetup::kPathTooLong;
    }
    CopyText(settings->requesterPath, kPathCapacity, requester);
    CopyText(settings->destinationPath, kPathCapacity, destination);
    if (UseCurrentData != 0) CopyCurrentData(*settings);
    settings->outputDisabled = 0;
    return ItemSetup::kPrepared;
}

void ReportPathsTooLong(std::int32_t count) {
    constexpr char kPrefix[] = "Setup Batch skipped ";
    constexpr char kSuffix[] = " item(s): path longer than 1023 characters.";
    char message[sizeof kPrefix + kInt32TextCapacity + sizeof kSuffix];
    std::memcpy(message, kPrefix, sizeof kPrefix - 1);
    char* at = message + (sizeof kPrefix - 1);
    at = std::to_chars(at, at + kInt32TextCapacity, count).ptr;
    std::memcpy(at, kSuffix, sizeof kSuffix);
    ReportRefusedText(message);
}

}  // namespace

void SetupBatch() {
    void* list = nullptr;
    const std::int32_t count = GetHierarchyList(&list);
    if (list == nullptr) return;
    if (BatchDirectory[0] == '\0') {
        UseBatchDirectory = 0;
        SetControlInt(PanelControls.useBatchDirectoryToggle, 0);
    }
    if (CurrentSettings() == nullptr) {
        UseCurrentData = 0;
        SetControlInt(PanelControls.useCurrentDataToggle, 0);
    }
    std::int32_t tooLong = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (PrepareItem(HierarchyListItem(list, i)) == ItemSetup::kPathTooLong) ++tooLong;
    }
    // Closing refresh, only for a current item with a record.
    if (const ExportSettings* current = CurrentSettings()) {
        LoadItemControls(*current, FrameFieldOrder::kOffsetAfterRange, PathByteCount::kTextLength);
    }
    FreeHierarchyList(&list);
    if (tooLong > 0) ReportPathsTooLong(tooLong);
}

std::int64_t OnSetupBatch(void*, void*, void*, std::uint64_t) noexcept {
    SetupBatch();
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
