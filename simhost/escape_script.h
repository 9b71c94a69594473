// The Escape key as the simulated user presses it.
//
// The plug-in polls GetAsyncKeyState, and this script answers. On Linux the
// simulated host provides that function itself. On Windows the plug-in's
// import of USER32's GetAsyncKeyState is pointed at the script, since USER32's
// key state is the window server's, shared by every process under it (every
// test that runs beside another under one Wine prefix): a press of the script
// is seen by its own process only. A program with a person at the keyboard
// (the command-line host on Windows) has the real key read as well.
#pragma once

#include <cstdint>

namespace simhost {

class EscapeScript {
public:
    EscapeScript();
    ~EscapeScript();

    // Escape is held down from now until Release.
    void Hold();
    void Release();
    // Escape is pressed and let go at once: the next poll sees "pressed since
    // the last poll", later ones see nothing.
    void Tap();
    // Escape goes down when the status area shows its nth progress line
    // ("Computing Frame: n of ..."), and up again at the next status text, so
    // the export's next poll sees it. 0 clears the script.
    void PressAtProgress(std::int32_t n) { pressAtProgress_ = n; }

    // Called by the simulated interface on every status-area text.
    void OnStatusText(bool isProgressLine);
    // Progress lines seen since the last Reset.
    std::int32_t ProgressLines() const { return progressLines_; }
    void Reset();

    // The answer GetAsyncKeyState gives for Escape (Linux); clears the
    // "pressed since the last poll" bit, as Windows does.
    short Poll();
    // Polls of Escape since the last Reset, on every platform.
    static constexpr bool kCountsPolls = true;
    std::int32_t Polls() const { return polls_; }
    // Windows: the loaded library holding this address polls this script.
    void WatchPolls(const void* addressInLibrary);
    // Windows: the last library watched imports GetAsyncKeyState from USER32.
    bool LibraryImportsKeyState() const { return libraryImportsKeyState_; }

    // Windows: a poll also reads USER32's key state, so the real Escape key
    // aborts as well as the script. Off by default.
    void ReadRealKeyboard(bool on) { readsRealKeyboard_ = on; }
    bool ReadsRealKeyboard() const { return readsRealKeyboard_; }

private:
    void SetDown(bool down);

    bool down_ = false;
    bool pressedSincePoll_ = false;
    std::int32_t polls_ = 0;
    std::int32_t pressAtProgress_ = 0;
    std::int32_t progressLines_ = 0;
    bool releaseAtNextText_ = false;
    bool readsRealKeyboard_ = false;
    bool libraryImportsKeyState_ = false;
};

}  // namespace simhost
