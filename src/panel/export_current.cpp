// "Export Current Motion": checks the current item's record, then exports it.
#include <cstdint>

#include "export/item_export.h"
#include "host/core_services.h"
#include "host/escape_key.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "panel/control_handlers.h"
#include "settings/export_settings.h"

namespace corvantide {

std::int64_t OnExportCurrentMotion(void*, void*, void*, std::uint64_t) noexcept {
    if (void* item = HostCurrentItem()) {
        const ExportSettings* settings = FindSettings(item);
        if (settings == nullptr) {
            ConfirmMessage("No data for current item.", nullptr);
        } else if (settings->destinationPath == nullptr) {
            ConfirmMessage("Destination path not selected.",
                           "Select a destination path with base name and try again...");
        } else if (settings->outputDisabled != 0) {
            ConfirmMessage("Saving disabled on current item.", "Enable saving and try again...");
        } else {
            // Progress, abort and the return to idle are the exporter's to show.
            ForgetEarlierEscapePress();
            ExportItemMotion(item);
        }
    }
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

}  // namespace corvantide
