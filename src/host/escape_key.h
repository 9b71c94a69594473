// The Escape key, polled while an export collects its keys or frames.
#pragma once

namespace corvantide {

inline constexpr int kEscapeVirtualKey = 0x1B;

// 1 when Escape is down now or was pressed since the previous poll, else 0.
// Reads the asynchronous key state, not window messages. [interface thread]
int EscapePressed();

}  // namespace corvantide
