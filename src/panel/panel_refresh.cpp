// Panel refresh, enabling and disabling of the current-item controls.
#include "panel/panel_refresh.h"

#include <initializer_list>

#include "entry/plugin_state.h"
#include "host/host_interface.h"
#include "host/interface_services.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "panel/current_item.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

constexpr std::int32_t kNeutralEndFrame = 60;

// What the controls show without a record.
ExportSettings NeutralValues(std::int32_t freezeMotion) {
    ExportSettings values{};
    values.endFrame = kNeutralEndFrame;
    values.freezeMotion = freezeMotion;
    values.outputDisabled = 1;
    return values;
}

void OnPanelHidden() { PanelShown = 0; }

void OnPanelShown() {
    PanelShown = 1;
    RefreshPanelControls();
}

}  // namespace

void LoadItemControls(const ExportSettings& values, FrameFieldOrder order, PathByteCount count) {
    const PanelControlTable& c = PanelControls;
    if (order == FrameFieldOrder::kOffsetFirst) SetControlInt(c.offsetField, values.frameOffset);
    SetControlInt(c.beginFrameField, values.beginFrame);
    SetControlInt(c.endFrameField, values.endFrame);
    if (order == FrameFieldOrder::kOffsetAfterRange) SetControlInt(c.offsetField, values.frameOffset);
    SetControlInt(c.coordinatesList, values.coordinates);
    SetControlInt(c.freezeMotionToggle, values.freezeMotion);
    SetControlInt(c.motionFormatList, values.motionFormat);
    const char* path = values.destinationPath != nullptr ? values.destinationPath : "";
    const std::int32_t byteCount = count == PathByteCount::kTextLength
                                       ? static_cast<std::int32_t>(BoundedLength(path, kPathCapacity))
                                       : kPathFieldByteCount;
    SetControlText(c.pathField, path, byteCount);
    SetControlInt(c.disableOutputToggle, values.outputDisabled);
}

void RefreshPanelControls() {
    const ExportSettings* current = CurrentSettings();
    // Without a current item "Freeze Motion" shows on; with an item lacking a record, off.
    const ExportSettings neutral = NeutralValues(HostCurrentItem() != nullptr ? 0 : 1);
    LoadItemControls(current != nullptr ? *current : neutral, FrameFieldOrder::kOffsetFirst,
                     PathByteCount::kBufferSize);
}

void DisablePanelControls() {
    LoadItemControls(NeutralValues(0), FrameFieldOrder::kOffsetAfterRange, PathByteCount::kBufferSize);
    const PanelControlTable& c = PanelControls;
    for (void* control :
         {c.beginFrameField, c.endFrameField, c.coordinatesList, c.freezeMotionToggle, c.motionFormatList,
          c.pathButton, c.pathField, c.exportCurrentButton, c.disableOutputToggle, c.offsetField}) {
        DisableControl(control);
    }
}

void EnablePanelControls() {
    RefreshPanelControls();
    const PanelControlTable& c = PanelControls;
    for (void* control :
         {c.offsetField, c.beginFrameField, c.endFrameField, c.coordinatesList, c.freezeMotionToggle,
          c.motionFormatList, c.pathButton, c.pathField, c.exportCurrentButton, c.disableOutputToggle}) {
        EnableControl(control);
    }
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
