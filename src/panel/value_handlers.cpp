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

std::int64_t StoreControlValue(void* control, std::int32_t ExportSettings::*field) {
    if (ExportSettings* settings = CurrentSettings()) {
        settings->*field = GetControlInt(control, settings->*field);
    }
    UpdateFXInterface(kRefreshInterface);
    return 0;
}

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
    return StoreControlValue(PanelControls.offsetField, &ExportSettings::frameOffset);
}

std::int64_t OnMotionFormatChanged(void*, void*, void*, std::uint64_t) noexcept {
    return StoreControlValue(PanelControls.motionFormatList, &ExportSettings::motionFormat);
}

std::int64_t OnDisableOutputChanged(void*, void*, void*, std::uint64_t) noexcept {
    return StoreControlValue(PanelControls.disableOutputToggle, &ExportSettings::outputDisabled);
}

std::int64_t OnFreezeMotionChanged(void*, void*, void*, std::uint64_t) noexcept {
    return StoreControlValue(PanelControls.freezeMotionToggle, &ExportSettings::freezeMotion);
}

std::int64_t OnCoordinatesChanged(void*, void*, void*, std::uint64_t) noexcept {
    return StoreControlValue(PanelControls.coordinatesList, &ExportSettings::coordinates);
}

std::int64_t OnFreezeMotionEvent(void* context, void* control, void* data, std::uint64_t code) noexcept {
    if (code != 0) return 0;
    return OnFreezeMotionChanged(context, control, data, code);
}

std::int64_t OnCoordinatesEvent(void* context, void* control, void* data, std::uint64_t code) noexcept {
    if (code != 0) return 0;
    return OnCoordinatesChanged(context, control, data, code);
}

std::int64_t OnSeparatorEvent(void*, void*, void*, std::uint64_t) noexcept { return 0; }

}  // namespace corvantide
