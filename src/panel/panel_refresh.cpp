// Panel refresh, enabling and disabling of the current-item controls.
#include "panel/panel_refresh.h"

#include <initializer_list>

#include "entry/plugin_state.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "panel/current_item.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

constexpr std::int32_t kNeutralEndFrame = 60;
constexpr std::int32_t kPathFieldByteCount = static_cast<std::int32_t>(kPathCapacity);

}  // namespace

void RefreshPanelControls() {
    const PanelControlTable& c = PanelControls;
    const bool hasItem = HostCurrentItem() != nullptr;
    const ExportSettings* s = CurrentSettings();
    SetControlInt(c.offsetField, s != nullptr ? s->frameOffset : 0);
    SetControlInt(c.beginFrameField, s != nullptr ? s->beginFrame : 0);
    SetControlInt(c.endFrameField, s != nullptr ? s->endFrame : kNeutralEndFrame);
    SetControlInt(c.coordinatesList, s != nullptr ? s->coordinates : 0);
    // Without a current item "Freeze Motion" shows on; with an item lacking a record, off.
    SetControlInt(c.freezeMotionToggle, s != nullptr ? s->freezeMotion : (hasItem ? 0 : 1));
    SetControlInt(c.motionFormatList, s != nullptr ? s->motionFormat : 0);
    const char* path = (s != nullptr && s->destinationPath != nullptr) ? s->destinationPath : "";
    SetControlText(c.pathField, path, kPathFieldByteCount);
    SetControlInt(c.disableOutputToggle, s != nullptr ? s->outputDisabled : 1);
}

void DisablePanelControls() {
    const PanelControlTable& c = PanelControls;
    SetControlInt(c.beginFrameField, 0);
    SetControlInt(c.endFrameField, kNeutralEndFrame);
    SetControlInt(c.offsetField, 0);
    SetControlInt(c.coordinatesList, 0);
    SetControlInt(c.freezeMotionToggle, 0);
    SetControlInt(c.motionFormatList, 0);
    SetControlText(c.pathField, "", kPathFieldByteCount);
    SetControlInt(c.disableOutputToggle, 1);
    for (void* control : {c.beginFrameField, c.endFrameField, c.coordinatesList, c.freezeMotionToggle,
                          c.motionFormatList, c.pathButton, c.pathField, c.exportCurrentButton,
                          c.disableOutputToggle, c.offsetField}) {
        DisableControl(control);
    }
}

void EnablePanelControls() {
    RefreshPanelControls();
    const PanelControlTable& c = PanelControls;
    for (void* control : {c.offsetField, c.beginFrameField, c.endFrameField, c.coordinatesList,
                          c.freezeMotionToggle, c.motionFormatList, c.pathButton, c.pathField,
                          c.exportCurrentButton, c.disableOutputToggle}) {
        EnableControl(control);
    }
}

void OnPanelHidden() { PanelShown = 0; }

void OnPanelShown() {
    PanelShown = 1;
    RefreshPanelControls();
}

std::int64_t PanelBlockCallback(void*, void*, void*, std::uint64_t code) noexcept {
    if (code == kPanelHiddenNotice) {
        OnPanelHidden();
    } else if (code == kPanelShownNotice) {
        OnPanelShown();
    }
    return 0;
}

}  // namespace corvantide
