// Item messages (category 11) from the host. [interface thread]
#pragma once

#include <cstdint>

namespace corvantide {

inline constexpr std::uint64_t kItemRemoved = 4;
inline constexpr std::uint64_t kItemCurrent = 0x100000;

// Code 4 releases the item's settings; 0x100000 makes sure the current item
// has settings and refreshes the panel. Always 0.
std::int64_t HandleItemMessage(void* context, void* item, std::uint64_t code) noexcept;

}  // namespace corvantide
