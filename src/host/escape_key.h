// The Escape key, polled while an export collects its keys or frames and
// prints its files, and between the items of a batch run.
#pragma once

namespace corvantide {

inline constexpr int kEscapeVirtualKey = 0x1B;

// True when Escape is down now or was pressed since the previous poll.
// Reads the asynchronous key state, not window messages. [interface thread]
bool EscapePressed();

// Polls once and forgets the answer: a press from before the user's action
// (closing a file requester, say) is no request to abort it, and a key still
// held is seen at the next poll. Called once when an export or a batch run
// starts, never between the items of a run: a press at any moment after it
// is seen. [interface thread]
void ForgetEarlierEscapePress();

}  // namespace corvantide
