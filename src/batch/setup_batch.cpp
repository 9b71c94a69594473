// "Setup Batch": every scene item gets a record, its two paths and output
// enabled, optionally with the current item's frame range and options.
#include <cstdint>
#include <cstring>

#include "batch/batch_handlers.h"
#include "batch/batch_paths.h"
#include "entry/plugin_state.h"
#include "export/file_claims.h"
#include "host/core_services.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "host/item_record.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "host/text_builder.h"
#include "panel/current_item.h"
#include "panel/panel_refresh.h"
#include "panel/user_notices.h"

namespace corvantide {

namespace {

enum class ItemSetup { kPrepared, kSkipped, kPathTooLong, kSameFile };

// Items refused because an earlier item has their file: the first few are
// named in the status area, the rest counted.
inline constexpr int kNamedClashes = 16;

struct SetupRefusals {
    std::int32_t tooLong;
    std::int32_t clashes;
    const void* clashing[kNamedClashes][2];  // the refused item and the earlier one
};

// The files an item's destination gives it: "<path>.mot" and, for a camera,
// "<path>_ZoomFactor.mot", each known by its name as Windows compares names.
// The item that already has one of them, or null; the item then claims both.
const void* ClaimItemFiles(FileClaims* claims, void* item, const char* destination) {
    const bool camera = IsCamera(item);
    const FileKey motion = NameKey(destination, kMotionFileSuffix);
    const FileKey zoom = camera ? NameKey(destination, kZoomFileSuffix) : FileKey{};
    if (const void* earlier = FindClaim(claims, motion)) return earlier;
    if (camera) {
        if (const void* earlier = FindClaim(claims, zoom)) return earlier;
        ClaimFile(claims, zoom, item);
    }
    ClaimFile(claims, motion, item);
    return nullptr;
}

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
ItemSetup PrepareItem(void* item, FileClaims* claims, const void** earlier) {
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
    // A camera's two files are written together: its zoom file's name must fit too.
    if (!BatchBaseName(baseName, ItemName(item)) || !ComposeBatchPaths(sources, requester, destination) ||
        (IsCamera(item) && std::strlen(destination) > kMaxZoomBaseLength)) {
        settings->outputDisabled = 1;
        return ItemSetup::kPathTooLong;
    }
    *earlier = ClaimItemFiles(claims, item, destination);
    if (*earlier != nullptr) {
        settings->outputDisabled = 1;
        return ItemSetup::kSameFile;
    }
    CopyText(settings->requesterPath, kPathCapacity, requester);
    CopyText(settings->destinationPath, kPathCapacity, destination);
    if (UseCurrentData != 0) CopyCurrentData(*settings);
    settings->outputDisabled = 0;
    return ItemSetup::kPrepared;
}

// "Setup Batch skipped N item(s): path longer than 1023 characters."
void ComposePathsTooLong(TextBuilder& message, std::int32_t count) {
    message.Append("Setup Batch skipped ").Append(count).Append(" item(s): path longer than 1023 characters.");
}

// "Setup Batch skipped N item(s) whose file an earlier item has: Null.lwo
// (same file as Null); ...; and K more". Whole entries only.
void ComposeClashes(TextBuilder& message, const SetupRefusals& refusals) {
    message.Append("Setup Batch skipped ")
        .Append(refusals.clashes)
        .Append(" item(s) whose file an earlier item has: ");
    const std::int32_t named = refusals.clashes < kNamedClashes ? refusals.clashes : kNamedClashes;
    std::int32_t shown = 0;
    for (; shown < named; ++shown) {
        char entry[kStatusTextCapacity];
        TextBuilder(entry, sizeof entry)
            .Append(shown > 0 ? "; " : "")
            .Append(ItemName(refusals.clashing[shown][0]))
            .Append(" (same file as ")
            .Append(ItemName(refusals.clashing[shown][1]))
            .Append(")");
        const std::int32_t left = refusals.clashes - shown - 1;
        if (!message.AppendWhole(entry, left > 0 ? MoreMarkLength(left) : 0)) break;
    }
    if (shown == refusals.clashes) return;
    if (shown == 0) {
        message.Append(refusals.clashes).Append(" not named");
        return;
    }
    AppendMoreMark(message, refusals.clashes - shown);
}

void ReportRefusals(const SetupRefusals& refusals) {
    char message[kStatusMessageCapacity];
    TextBuilder text(message, sizeof message);
    if (refusals.tooLong > 0) ComposePathsTooLong(text, refusals.tooLong);
    if (refusals.tooLong > 0 && refusals.clashes > 0) text.Append("\n");
    if (refusals.clashes > 0) ComposeClashes(text, refusals);
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
    FileClaims claims{};
    if (!BeginFileClaims(&claims, std::int64_t{count > 0 ? count : 0} * 2)) {
        // Without it two items could be given one file: nothing is prepared.
        FreeHierarchyList(&list);
        ReportAllocationFailure();
        return;
    }
    SetupRefusals refusals{};
    for (std::int32_t i = 0; i < count; ++i) {
        void* item = HierarchyListItem(list, i);
        const void* earlier = nullptr;
        const ItemSetup setup = PrepareItem(item, &claims, &earlier);
        if (setup == ItemSetup::kPathTooLong) ++refusals.tooLong;
        if (setup == ItemSetup::kSameFile) {
            if (refusals.clashes < kNamedClashes) {
                refusals.clashing[refusals.clashes][0] = item;
                refusals.clashing[refusals.clashes][1] = earlier;
            }
            ++refusals.clashes;
        }
    }
    EndFileClaims(&claims);
    // Closing refresh, only for a current item with a record.
    if (const ExportSettings* current = CurrentSettings()) {
        LoadItemControls(*current, FrameFieldOrder::kOffsetAfterRange, PathByteCount::kTextLength);
    }
    FreeHierarchyList(&list);
    if (refusals.tooLong > 0 || refusals.clashes > 0) ReportRefusals(refusals);
}

std::int64_t OnSetupBatch(void*, void*, void*, std::uint64_t) noexcept {
    SetupBatch();
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
