// The session's interrupt flag, set by the signal handler.
#include "interrupt.h"

#include <csignal>

#if !defined(_WIN32)
#include <termios.h>
#include <unistd.h>
#endif

namespace corvantide::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;
#if !defined(_WIN32)
termios terminalSettings{};
volatile std::sig_atomic_t restoreTerminal = 0;
#endif

extern "C" void OnInterrupt(int signalNumber) {
    if (interrupted != 0) {  // the second one: stop now
#if !defined(_WIN32)
        if (restoreTerminal != 0) tcsetattr(STDIN_FILENO, TCSANOW, &terminalSettings);
#endif
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    interrupted = 1;
    std::signal(signalNumber, OnInterrupt);  // some platforms reset the handler
}

}  // namespace

InterruptWatch::InterruptWatch() {
    interrupted = 0;
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

InterruptWatch::~InterruptWatch() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool Interrupted() { return interrupted != 0; }

void SetTerminalToRestore(const void* settings) {
#if !defined(_WIN32)
    restoreTerminal = 0;
    if (settings != nullptr) {
        terminalSettings = *static_cast<const termios*>(settings);
        restoreTerminal = 1;
    }
#else
    (void)settings;
#endif
}

}  // namespace corvantide::cli
