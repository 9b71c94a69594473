// The current item's settings record.
#include "panel/current_item.h"

#include "host/host_interface.h"

namespace corvantide {

ExportSettings* CurrentSettings() {
    void* item = HostCurrentItem();
    return item != nullptr ? FindSettings(item) : nullptr;
}

}  // namespace corvantide
