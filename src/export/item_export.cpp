// Item motion export.
#include "export/item_export.h"

#include "host/core_services.h"

namespace corvantide {

std::int32_t ExportItemMotion(void* item) {
    if (item == nullptr) return kExportNothingWritten;
    return kExportNothingWritten;
}

std::int32_t WriteZoomEnvelope(void*, const ExportSettings*) { return 1; }

}  // namespace corvantide
