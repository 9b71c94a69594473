// "Export Batch Motions": every ready item, in hierarchy order.
#include <cstdint>

#include "batch/batch_handlers.h"
#include "export/item_export.h"
#include "host/core_services.h"
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

}  // namespace

std::int64_t OnExportBatchMotions(void*, void*, void*, std::uint64_t) noexcept {
    void* list = nullptr;
    const std::int32_t count = GetHierarchyList(&list);
    if (list != nullptr) {
        for (std::int32_t i = 0; i < count; ++i) {
            void* item = HierarchyListItem(list, i);
            if (!ReadyForExport(item)) continue;
            if (ExportItemMotion(item) == kExportAborted) break;  // the user pressed Escape
        }
        FreeHierarchyList(&list);
    }
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
