// The host's record for this module, filled in by InitCustomize.
//
// Ownership: the host owns it; the plug-in writes the fields below once and
// passes the pointer back to every per-item host call.
#pragma once

#include <cstddef>

namespace corvantide {

namespace module_record {
inline constexpr std::size_t kName = 0x28;              // module name, kModuleNameCapacity bytes
inline constexpr std::size_t kHostSetting = 0x4a8;      // 32-bit float, written as 1.0
inline constexpr std::size_t kEmptyEntry = 0x628;       // EmptyEntry
inline constexpr std::size_t kPanelBuilder = 0x630;     // PanelBuilder
inline constexpr std::size_t kDefaultHandler = 0x660;   // MessageHandler
inline constexpr std::size_t kMessageEntry = 0x668;     // ModuleMessageEntry
inline constexpr std::size_t kItemMessageMask = 0x6c8;  // 64-bit: item message codes acted on
inline constexpr std::size_t kHostOption = 0x768;       // 64-bit, written as 6
}  // namespace module_record

}  // namespace corvantide
