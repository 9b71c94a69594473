// The panel builder the host calls through the module record.
#pragma once

#include <cstdint>

namespace corvantide {

// Builds the "Corvantide" block and its 18 controls. Reads none of its
// arguments; always returns 1. [interface thread]
std::int32_t BuildPanel(void* context, void* a, void* b, void* c) noexcept;

}  // namespace corvantide
