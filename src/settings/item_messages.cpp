// Item messages: an item's settings are released with the item, and a new
// current item gets settings and a refreshed panel.
#include "settings/item_messages.h"

#include "entry/plugin_state.h"
#include "host/core_services.h"
#include "host/host_interface.h"
#include "panel/panel_refresh.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

template <typename T>
void ReleaseBuffer(T*& buffer) {
    if (buffer == nullptr) return;
    HostRelease(buffer);
    buffer = nullptr;
}

// The current item's record. A reported item that is not the current one may
// have none while the current item has one: that record is kept as it is,
// never filled with defaults again.
ExportSettings* CurrentItemSettings() {
    void* current = HostCurrentItem();
    return current != nullptr ? GetOrCreateSettings(current) : nullptr;
}

// Releases the item's path buffers, its spare buffer and then its record.
// Nothing happens for an item without a record.
void ReleaseItemSettings(void* item) {
    ExportSettings* settings = item != nullptr ? FindSettings(item) : nullptr;
    if (settings == nullptr) return;
    ReleaseBuffer(settings->destinationPath);
    ReleaseBuffer(settings->requesterPath);
    ReleaseBuffer(settings->spareBuffer);
    FreeInstanceData(item);
}

// Gives the current item a record when the reported item has none, then
// brings the panel's current-item controls in line.
void SyncCurrentItem(void* item) {
    if (HostStateRecord() == nullptr) {
        if (PanelShown == 1) DisablePanelControls();
        return;
    }
    const bool reportedHasRecord = item != nullptr && FindSettings(item) != nullptr;
    if (!reportedHasRecord && CurrentItemSettings() == nullptr) return;
    if (PanelShown == 1) EnablePanelControls();
    RefreshPanelControls();
}

}  // namespace

std::int64_t HandleItemMessage(void*, void* item, std::uint64_t code) noexcept {
    if (code == kItemRemoved) {
        ReleaseItemSettings(item);
    } else if (code == kItemCurrent) {
        SyncCurrentItem(item);
    }
    return 0;
}

}  // namespace corvantide
