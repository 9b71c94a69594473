// Null-safe wrappers around the host's interface services.
#include "host/interface_services.h"

#include <cstring>

#include "host/host_api.h"

namespace corvantide {

namespace {

bool CanSet(void* control) { return HostApi.fxControlSet != nullptr && control != nullptr; }

}  // namespace

void* CreateBlock(const char* title, const char* second, ControlCallback callback) {
    if (HostApi.fxBlockCreate == nullptr) return nullptr;
    return HostApi.fxBlockCreate(title, second, 0, callback);
}

void* CreateAreaText(const char* label, ControlCallback callback, std::int32_t a, std::int32_t b,
                     std::int32_t c, const char* text) {
    if (HostApi.fxControlCreate == nullptr) return nullptr;
    return HostApi.fxControlCreate("AreaText", label, callback, a, b, c, text);
}

void* CreateString(const char* label, ControlCallback callback, std::int32_t width) {
    if (HostApi.fxControlCreate == nullptr) return nullptr;
    return HostApi.fxControlCreate("String", label, callback, width, static_cast<void*>(nullptr),
                                   static_cast<void*>(nullptr));
}

void* CreateSimpleControl(const char* type, const char* label, ControlCallback callback) {
    if (HostApi.fxControlCreate == nullptr) return nullptr;
    return HostApi.fxControlCreate(type, label, callback, std::int32_t{0});
}

void* CreatePopupList(const char* label, ControlCallback callback, std::int32_t width, const char** names) {
    if (HostApi.fxControlCreate == nullptr) return nullptr;
    return HostApi.fxControlCreate("PopupList", label, callback, width, names);
}

void* CreateSeparatorLine(const char* label, ControlCallback callback, std::int32_t a, std::int32_t b,
                          std::int32_t c) {
    if (HostApi.fxControlCreate == nullptr) return nullptr;
    return HostApi.fxControlCreate("SeparatorLine", label, callback, a, b, static_cast<void*>(nullptr), c);
}

void SetControlInt(void* control, std::int32_t value) {
    if (CanSet(control)) HostApi.fxControlSet(kControlValue, control, value);
}

void SetControlText(void* control, const char* text, std::int32_t byteCount) {
    if (CanSet(control)) HostApi.fxControlSet(kControlValue, control, text, byteCount);
}

void EnableControl(void* control) {
    if (CanSet(control)) HostApi.fxControlSet(kControlEnable, control, std::int32_t{0});
}

void DisableControl(void* control) {
    if (CanSet(control)) HostApi.fxControlSet(kControlDisable, control, std::int32_t{0});
}

void SetControlPosition(void* control, std::int32_t x, std::int32_t y) {
    if (CanSet(control)) HostApi.fxControlSet(kControlPosition, control, x, y);
}

void SetControlSize(void* control, std::int32_t width, std::int32_t height) {
    if (CanSet(control)) HostApi.fxControlSet(kControlSize, control, width, height);
}

std::int32_t GetControlInt(void* control, std::int32_t fallback) {
    if (HostApi.fxControlGet == nullptr || control == nullptr) return fallback;
    std::int32_t value = fallback;
    HostApi.fxControlGet(kControlValue, control, &value);
    return value;
}

bool GetControlText(void* control, char* buffer, std::int32_t capacity) {
    std::memset(buffer, 0, static_cast<std::size_t>(capacity));
    if (HostApi.fxControlGet == nullptr || control == nullptr) return false;
    HostApi.fxControlGet(kControlValue, control, buffer, capacity);
    if (std::memchr(buffer, '\0', static_cast<std::size_t>(capacity)) == nullptr) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

void RedrawControl(void* control) {
    if (HostApi.fxControlRedraw != nullptr && control != nullptr) HostApi.fxControlRedraw(control, 1);
}

void ConfirmMessage(const char* line1, const char* line2) {
    if (HostApi.ConfirmMessage == nullptr) return;
    HostApi.ConfirmMessage(1, line2 != nullptr ? 2 : 1, line1, line2);
}

bool RequestFile(const FileRequestBuffers& buffers, char* rememberedPath, const char* title) {
    if (HostApi.FX_FileRequest == nullptr) return false;
    // The host's fixed arguments: flags 0 and 1, and no hook.
    const std::int32_t accepted =
        HostApi.FX_FileRequest(buffers.result, kRequesterResultCapacity, buffers.fileName,
                               kRequesterNameArgument, buffers.directory, rememberedPath, title, 0, 1, nullptr);
    return accepted != 0;
}

}  // namespace corvantide
