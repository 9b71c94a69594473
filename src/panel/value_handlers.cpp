// Handlers of the current-item number fields, lists and toggles.
#include <cstdint>

#include "entry/plugin_state.h"
#include "host/core_services.h"
#include "host/interface_services.h"
#include "panel/control_handlers.h"
#include "panel/current_item.h"
#include "panel/frame_rules.h"

namespace corvantide {

namespace {

void StoreControlValue(void* control, std::int32_t ExportSettings::*field) {
    if (ExportSettings* settings = CurrentSettings()) {
        settings->*field = GetControlInt(control, settings->*field);
    }
    UpdateFXInterface(kRefreshInterface);
}

// The handlers behind the event filters below.
void OnFreezeMotionChanged() {
    StoreControlValue(PanelControls.freezeMotionToggle, &ExportSettings::freezeMotion);
}

void OnCoordinatesChanged() { StoreControlValue(PanelControls.coordinatesList, &ExportSettings::coordinates); }

}  // namespace

std::int64_t OnBeginFrameChanged(void*, void*, void*, std::uint64_t) noexcept {
    if (ExportSettings* settings = CurrentSettings()) {
        const std::int32_t typed = GetControlInt(PanelControls.beginFrameField, settings->beginFrame);
        const BeginFrameOutcome outcome = ApplyBeginFrame(*settings, typed);
        if (outcome.clamped) {
            SetControlInt(PanelControls.endFrameField, settings->endFrame);
            SetControlInt(PanelControls.beginFrameField, settings->beginFrame);
        }
        if (outcome.offsetReset) SetControlInt(PanelControls.offsetField, 0);
    }
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

std::int64_t OnEndFrameChanged(void*, void*, void*, std::uint64_t) noexcept {
    if (ExportSettings* settings = CurrentSettings()) {
        const std::int32_t typed = GetControlInt(PanelControls.endFrameField, settings->endFrame);
        if (ApplyEndFrame(*settings, typed)) SetControlInt(PanelControls.endFrameField, settings->endFrame);
    }
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

std::int64_t OnOffsetChanged(void*, void*, void*, std::uint64_t) noexcept {
    StoreControlValue(PanelControls.offsetField, &ExportSettings::frameOffset);
    return 0;
}

std::int64_t OnMotionFormatChanged(void*, void*, void*, std::uint64_t) noexcept {
    StoreControlValue(PanelControls.motionFormatList, &ExportSettings::motionFormat);
    return 0;
}

std::int64_t OnDisableOutputChanged(void*, void*, void*, std::uint64_t) noexcept {
    StoreControlValue(PanelControls.disableOutputToggle, &ExportSettings::outputDisabled);
    return 0;
}

std::int64_t OnFreezeMotionEvent(void*, void*, void*, std::uint64_t code) noexcept {
    if (code == 0) OnFreezeMotionChanged();
    return 0;
}

std::int64_t OnCoordinatesEvent(void*, void*, void*, std::uint64_t code) noexcept {
    if (code == 0) OnCoordinatesChanged();
    return 0;
}

std::int64_t OnSeparatorEvent(void*, void*, void*, std::uint64_t) noexcept { return 0; }

}  // namespace corvantide
