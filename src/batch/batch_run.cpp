// "Export Batch Motions": every ready item, in hierarchy order.
#include <cstdint>

#include "batch/batch_handlers.h"
#include "export/export_report.h"
#include "export/item_export.h"
#include "host/core_services.h"
#include "host/escape_key.h"
#include "host/text_builder.h"
#include "panel/status_area.h"
#include "panel/status_text.h"
#include "panel/user_notices.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

// Ready: a record with a destination buffer (its text is not looked at) and
// output not disabled. The run never creates records.
bool ReadyForExport(void* item) {
    if (item == nullptr) return false;
    const ExportSettings* settings = FindSettings(item);
    return settings != nullptr && settings->destinationPath != nullptr && settings->outputDisabled == 0;
}

// The run's last word stays on the panel: the files it could not write,
// where the items' own messages have scrolled away.
void ShowUnwrittenFiles() {
    char message[kStatusMessageCapacity];
    ComposeUnwrittenMessage(message, sizeof message);
    SetStatusMessage(message);
}

// Every file written, but some folders could not be synced to the disk.
void ShowUnsyncedFiles() {
    char message[kStatusMessageCapacity];
    ComposeUnsyncedMessage(message, sizeof message);
    SetStatusMessage(message);
}

// After an abort: the abort text's line, then the files that failed before it.
void ShowAbortedWithUnwrittenFiles() {
    char message[kStatusMessageCapacity];
    const std::size_t length = TextBuilder(message, sizeof message).Append(kAbortMessage).Append("\n").Length();
    ComposeUnwrittenMessage(message + length, sizeof message - length);
    SetStatusMessage(message);
}

}  // namespace

std::int64_t OnExportBatchMotions(void*, void*, void*, std::uint64_t) noexcept {
    void* list = nullptr;
    const std::int32_t count = GetHierarchyList(&list);
    if (list != nullptr && !BeginExportReport(count)) {
        // Without the record of written files the run could write a file twice.
        FreeHierarchyList(&list);
        ReportAllocationFailure();
    } else if (list != nullptr) {
        ForgetEarlierEscapePress();
        bool aborted = false;
        bool first = true;
        for (std::int32_t i = 0; i < count && !aborted; ++i) {
            void* item = HierarchyListItem(list, i);
            if (!ReadyForExport(item)) continue;
            // Between items too: an item that polls nothing (no keys, a
            // refusal) must not carry a press on to a later one.
            if (!first && EscapePressed()) {
                ShowExportAborted();
                aborted = true;
                break;
            }
            first = false;
            aborted = ExportItemMotion(item) == kExportAborted;  // the user pressed Escape
        }
        FreeHierarchyList(&list);
        if (UnwrittenFiles() > 0) {
            if (aborted) {
                ShowAbortedWithUnwrittenFiles();
            } else {
                ShowUnwrittenFiles();
            }
        } else if (!aborted && UnsyncedFiles() > 0) {
            ShowUnsyncedFiles();
        }
        EndExportReport();
    }
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
