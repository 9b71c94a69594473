// Types shared by every record and service at the host boundary.
//
// The host is a 64-bit Windows program: its `long` is 32 bits, so every field
// and argument here uses fixed-width types. Pointers are 64 bits.
//
// Thread tag used throughout the plug-in's headers:
//   [interface thread]  called only on the host's interface thread, one call
//                       at a time: every host message, panel callback and
//                       export runs there. The plug-in starts no thread and
//                       takes no lock.
#pragma once

#include <cstdint>

namespace corvantide {

// Control and block callback: the host passes four values; the plug-in reads
// only the fourth (the notification code) and returns 0.
using ControlCallback = std::int64_t (*)(void* context, void* control, void* data, std::uint64_t code);

// Handler of one message category in the module's message table.
using MessageHandler = std::int64_t (*)(void* context, void* subject, std::uint64_t code);

// Message entry stored in the module record; the category is a signed 32-bit value.
using ModuleMessageEntry = std::int64_t (*)(void* context, void* subject, std::int32_t category,
                                            std::uint64_t code);

// Panel builder stored in the module record. Reads none of its arguments.
using PanelBuilder = std::int32_t (*)(void* context, void* a, void* b, void* c);

// Entry the plug-in leaves empty; the host may call it, it does nothing.
using EmptyEntry = void (*)();

// The single export.
using InitCustomizeEntry = void (*)(void* hostInterface, void* moduleRecord);

}  // namespace corvantide
