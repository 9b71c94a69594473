// Slots of the host names the plug-in binds at start-up.
//
// Each slot holds what the host's look-up returned for the name: a function's
// address, a variable's address, or null when the host does not know it. The
// plug-in never calls or dereferences a slot directly: the wrappers in
// core_services.h and interface_services.h do, and skip null slots.
#pragma once

#include <cstdint>

#include "host/host_types.h"

namespace corvantide {

// Core services (all [interface thread], defined in host_types.h). Item and
// module pointers passed are never null; the wrappers see to it.
// Returns the item's zero-filled 64-byte block for this module, or null.
using CreateInstanceDataFn = void* (*)(void* item, void* module, std::int32_t zero, std::int32_t size);
// Returns the item's block for this module, or null.
using GetInstanceDataFn = void* (*)(void* item, void* module, std::int32_t zero);
// Frees the item's block for this module; the block must not be used after.
using FreeInstanceDataFn = void (*)(void* item, void* module, std::int32_t zero);
// Stores a host-owned array of 16-byte entries (item pointer in the second 8
// bytes) into *list, or leaves it null; returns the entry count.
using GetHierarchyListFn = std::int32_t (*)(std::uint64_t root, void** list);
// Gives back a list from GetHierarchyList and sets *list to null.
using FreeHierarchyListFn = void (*)(void** list);
// Asks the host to refresh: 0x9400 the interface after a panel action, 32 the
// scene re-evaluated at the clock's time before the call returns.
using UpdateFXInterfaceFn = void (*)(std::int32_t flags);
// Fills out[0..2] with a channel group of the item at the given time (frames).
using GetChannelsFn = void (*)(void* item, std::int32_t group, double time, double* out);
// Splits a path into name and directory; both outputs are 1024-byte buffers.
using FindFileNameFn = void (*)(const char* path, char* name, char* directory);

// Interface services (all [interface thread]). Block and control handles are
// host-owned; the plug-in keeps them and never frees them.
// Returns the new block (controls created next join it), or null.
using BlockCreateFn = void* (*)(const char* title, const char* second, std::int32_t zero,
                                ControlCallback callback);
// Returns the new control, or null. Type-specific creation arguments follow the callback.
using ControlCreateFn = void* (*)(const char* type, const char* label, ControlCallback callback, ...);
// Sets an attribute (code) of a non-null control; a text passed is read during
// the call only (the plug-in passes stack buffers). The result is not used.
using ControlSetFn = std::int32_t (*)(std::int32_t code, void* control, ...);
// Reads an attribute of a non-null control into the plug-in's destination. The
// result is not used.
using ControlGetFn = std::int32_t (*)(std::int32_t code, void* control, ...);
// Redraws a non-null control; now = 1: at once.
using ControlRedrawFn = void (*)(void* control, std::int32_t now);
// A modal message of lineCount (1 or 2) lines; line2 is read only when the
// count is 2. The result is not used.
using ConfirmMessageFn = std::int32_t (*)(std::int32_t one, std::int32_t lineCount, const char* line1,
                                          const char* line2);
// Modal file requester writing into the plug-in's buffers; non-zero when the
// user confirmed. The meaning of the last three arguments is the host's; the
// plug-in always passes 0, 1 and null.
using FileRequestFn = std::int32_t (*)(char* result, std::int32_t resultSize, char* fileName,
                                       std::int32_t fileNameArgument, char* directory, char* rememberedPath,
                                       const char* title, std::int32_t firstFlag, std::int32_t secondFlag,
                                       void* hook);

struct HostApiTable {
    CreateInstanceDataFn CreateInstanceData;
    GetInstanceDataFn GetInstanceData;
    FreeInstanceDataFn FreeInstanceData;
    UpdateFXInterfaceFn UpdateFXInterface;
    GetChannelsFn GetChannels;
    std::int32_t* iIn;
    std::int32_t* iOut;
    double* dFPS;
    double* dAnim_Clock;

    GetHierarchyListFn GetHierarchyList;
    void* FindHierarchyMatch;  // bound, never called
    FindFileNameFn FindFileName;

    BlockCreateFn fxBlockCreate;
    ControlCreateFn fxControlCreate;
    ControlSetFn fxControlSet;
    ControlGetFn fxControlGet;
    ControlRedrawFn fxControlRedraw;

    FreeHierarchyListFn FreeHierarchyList;
    FileRequestFn FX_FileRequest;
    ConfirmMessageFn ConfirmMessage;
};

extern HostApiTable HostApi;

}  // namespace corvantide
