// Escape key script of the simulated user.
#include "escape_script.h"

#include "sim_host.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace simhost {

namespace {

#if defined(_WIN32)
void SendEscape(bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}
#endif

constexpr short kKeyDown = static_cast<short>(0x8000);
constexpr short kPressedSinceLastPoll = 0x0001;

}  // namespace

// Key state outlives processes under one window server: start from a key that
// is up and has no press pending.
EscapeScript::EscapeScript() {
#if defined(_WIN32)
    SendEscape(false);
    GetAsyncKeyState(VK_ESCAPE);
#endif
}

EscapeScript::~EscapeScript() {
    if (down_) SetDown(false);
}

void EscapeScript::SetDown(bool down) {
    if (down && !down_) pressedSincePoll_ = true;
    down_ = down;
#if defined(_WIN32)
    SendEscape(down);
#endif
}

void EscapeScript::Hold() { SetDown(true); }

void EscapeScript::Release() { SetDown(false); }

void EscapeScript::Tap() {
    SetDown(true);
    SetDown(false);
}

void EscapeScript::OnStatusText(bool isProgressLine) {
    if (releaseAtNextText_) {
        releaseAtNextText_ = false;
        Release();
    }
    if (!isProgressLine) return;
    ++progressLines_;
    if (pressAtProgress_ > 0 && progressLines_ == pressAtProgress_) {
        Hold();
        releaseAtNextText_ = true;
    }
}

void EscapeScript::Reset() {
    if (down_) Release();
    pressedSincePoll_ = false;
    polls_ = 0;
    pressAtProgress_ = 0;
    progressLines_ = 0;
    releaseAtNextText_ = false;
}

short EscapeScript::Poll() {
    ++polls_;
    short state = 0;
    if (down_) state = static_cast<short>(state | kKeyDown);
    if (pressedSincePoll_) state = static_cast<short>(state | kPressedSinceLastPoll);
    pressedSincePoll_ = false;
    return state;
}

}  // namespace simhost

#if !defined(_WIN32)
// What USER32 provides on Windows: the plug-in library resolves this symbol
// against the loading process.
extern "C" __attribute__((visibility("default"))) short GetAsyncKeyState(int virtualKey) {
    if (virtualKey != 0x1B) return 0;
    return simhost::SimHost::Current().Escape().Poll();
}
#endif
