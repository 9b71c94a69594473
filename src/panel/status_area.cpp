// Status area texts.
#include "panel/status_area.h"

#include "entry/plugin_state.h"
#include "host/host_characters.h"
#include "host/interface_services.h"
#include "host/plugin_limits.h"
#include "host/text_builder.h"

namespace corvantide {

namespace {

void AppendMessageLine(TextBuilder& builder, const char* message) {
    builder.Append(kStatusMessagePrefix);
    builder.Append(message);
    builder.Append("\n");
}

void ShowStatus(const char* text) {
    SetControlText(PanelControls.statusArea, text, static_cast<std::int32_t>(kStatusTextCapacity));
    RedrawControl(PanelControls.statusArea);
}

}  // namespace

void ComposeStatusText(char* text, const char* message, std::int32_t frame, std::int32_t total,
                       std::int32_t mode) {
    TextBuilder builder(text, kStatusTextCapacity);
    if (message == nullptr) {
        builder.Append(kStatusIdleText);
        return;
    }
    AppendMessageLine(builder, message);
    if (mode != kProgressComputing && mode != kProgressSaving) return;
    builder.Append(mode == kProgressComputing ? kComputingPrefix : kSavingPrefix);
    builder.Append(frame);
    builder.Append(kProgressOf);
    builder.Append(total);
    builder.Append(kProgressSuffix);
}

void SetStatusText(const char* message, std::int32_t frame, std::int32_t total, std::int32_t mode) {
    char text[kStatusTextCapacity];
    ComposeStatusText(text, message, frame, total, mode);
    ShowStatus(text);
}

void SetStatusMessage(const char* message) {
    char text[kStatusTextCapacity];
    TextBuilder builder(text, kStatusTextCapacity);
    AppendMessageLine(builder, message);
    ShowStatus(text);
}

void SetStatusIdle() {
    char text[kStatusTextCapacity];
    TextBuilder builder(text, kStatusTextCapacity);
    builder.Append(kStatusIdleText);
    ShowStatus(text);
}

}  // namespace corvantide
