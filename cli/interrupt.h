// Ctrl-C (SIGINT) or SIGTERM during a session. The first stops the export in
// progress as Escape does and ends the session after the action under way,
// so every file written so far is in its place and nothing is left under a
// temporary or host name; a second one ends the program at once.
#pragma once

namespace corvantide::cli {

// Watches for the signals while it lives.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;
};

// A signal arrived since the watch began.
bool Interrupted();

// The terminal settings a second signal puts back before the program ends
// (an export reads Escape from a terminal without echo); null for none.
void SetTerminalToRestore(const void* settings);

}  // namespace corvantide::cli
