// Item messages.
#include "settings/item_messages.h"

namespace corvantide {

std::int64_t HandleItemMessage(void*, void*, std::uint64_t) noexcept { return 0; }

}  // namespace corvantide
