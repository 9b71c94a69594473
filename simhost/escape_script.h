// The Escape key as the simulated user presses it.
//
// On Linux the simulated host provides GetAsyncKeyState itself and answers
// from this script. On Windows the plug-in asks USER32, so the script presses
// and releases the real key with SendInput; the answers are the same. There
// the plug-in's import of GetAsyncKeyState is routed through the script, which
// counts the polls and passes USER32's answer on.
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
    void CountPoll() { ++polls_; }
    // Windows: counts the polls of the loaded library holding this address.
    void WatchPolls(const void* addressInLibrary);

private:
    void SetDown(bool down);

    bool down_ = false;
    bool pressedSincePoll_ = false;
    std::int32_t polls_ = 0;
    std::int32_t pressAtProgress_ = 0;
    std::int32_t progressLines_ = 0;
    bool releaseAtNextText_ = false;
};

}  // namespace simhost
