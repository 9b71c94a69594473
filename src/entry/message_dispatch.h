// The module's message table and the entries the host calls through the
// module record. All are [interface thread] and noexcept.
#pragma once

#include <cstdint>

namespace corvantide {

inline constexpr std::int32_t kMessageCategories = 64;
inline constexpr std::int32_t kItemMessageCategory = 11;
inline constexpr std::int32_t kInitPhaseCategory = 31;

using ModuleMessageHandler = std::int64_t (*)(void* context, void* subject, std::uint64_t code);
extern ModuleMessageHandler ModuleMessageTable[kMessageCategories];

// Forwards to the handler of the category; 0 for a category outside 0 to 63.
std::int64_t DispatchModuleMessage(void* context, void* subject, std::int32_t category,
                                   std::uint64_t code) noexcept;
// Does nothing and returns 0.
std::int64_t DefaultMessageHandler(void* context, void* subject, std::uint64_t code) noexcept;
// Start-up phases: 2 binds the host names and resets the state, 4 binds the
// interface names. Always 0.
std::int64_t HandleInitPhase(void* context, void* subject, std::uint64_t phase) noexcept;

}  // namespace corvantide
