// Calls into the host's interface services: blocks, controls, messages and
// the file requester.
//
// Every wrapper does nothing (and yields the neutral result) when the service
// is unbound or the control handle is null, so no host call ever receives a
// null control. All run on the host's interface thread.
#pragma once

#include <cstdint>

#include "host/host_types.h"
#include "host/plugin_limits.h"

namespace corvantide {

// Attribute codes of fxControlSet / fxControlGet.
inline constexpr std::int32_t kControlValue = 10;
inline constexpr std::int32_t kControlDisable = 40;
inline constexpr std::int32_t kControlEnable = 41;
inline constexpr std::int32_t kControlPosition = 53;
inline constexpr std::int32_t kControlSize = 57;

// The new block, or null.
void* CreateBlock(const char* title, const char* second, ControlCallback callback);

// Creation arguments by control type; each returns the new control or null.
void* CreateAreaText(const char* label, ControlCallback callback, std::int32_t a, std::int32_t b,
                     std::int32_t c, const char* text);
void* CreateString(const char* label, ControlCallback callback, std::int32_t width);
void* CreateSimpleControl(const char* type, const char* label, ControlCallback callback);
void* CreatePopupList(const char* label, ControlCallback callback, std::int32_t width, const char** names);
void* CreateSeparatorLine(const char* label, ControlCallback callback, std::int32_t a, std::int32_t b,
                          std::int32_t c);

void SetControlInt(void* control, std::int32_t value);
// The host reads up to the NUL and never more than byteCount bytes.
void SetControlText(void* control, const char* text, std::int32_t byteCount);
void EnableControl(void* control);
void DisableControl(void* control);
void SetControlPosition(void* control, std::int32_t x, std::int32_t y);
void SetControlSize(void* control, std::int32_t width, std::int32_t height);

// The control's 32-bit value; `fallback` when it cannot be read.
std::int32_t GetControlInt(void* control, std::int32_t fallback);
// Reads the control's text into buffer (capacity bytes, capacity >= 1). The
// result is always NUL-terminated within capacity; false when nothing could be
// read or the host's text filled the whole buffer without a terminator (then
// the buffer holds no usable text).
bool GetControlText(void* control, char* buffer, std::int32_t capacity);

void RedrawControl(void* control);

// A modal message of one or two lines (line2 may be null for one line).
void ConfirmMessage(const char* line1, const char* line2);

// Buffers for one file request. Allocated by the caller (the result buffer is
// large; keep it off small stacks).
struct FileRequestBuffers {
    char* result;     // kRequesterResultCapacity bytes
    char* fileName;   // kRequesterNameCapacity bytes, the suggested name on entry
    char* directory;  // kRequesterDirectoryCapacity bytes
};

// Runs the host's file requester. True when the user confirmed, false when
// cancelled or when the service is unbound. The host may fill a buffer to its
// end without a terminator: read the answers with BoundedLength.
// `rememberedPath` (the host reads and may update it) and `title` are not null.
bool RequestFile(const FileRequestBuffers& buffers, char* rememberedPath, const char* title);

}  // namespace corvantide
