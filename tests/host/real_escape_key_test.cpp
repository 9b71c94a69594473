// The DLL reads the real Escape key through USER32, as in the host. The key
// state is the window server's, shared by every process under it: CTest runs
// this case alone (RUN_SERIAL), and every other case answers from its own
// script.
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fstream>
#include <sstream>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

void PressRealEscape(bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// Holds the real key down while it lives; the pending press is read away after.
class RealEscapeHeld {
public:
    RealEscapeHeld() { PressRealEscape(true); }
    ~RealEscapeHeld() {
        PressRealEscape(false);
        GetAsyncKeyState(VK_ESCAPE);
    }
    RealEscapeHeld(const RealEscapeHeld&) = delete;
    RealEscapeHeld& operator=(const RealEscapeHeld&) = delete;
};

using RealEscapeKey = PanelSession;

TEST_F(RealEscapeKey, APressOnTheKeyboardAbortsTheDllOnlyWhereTheRealKeyIsRead) {
    const ScratchDirectory scratch("real-escape");
    const std::string base = (scratch.Path() / "Box").string();
    ASSERT_TRUE(host.Escape().LibraryImportsKeyState());
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(0, 1.0);
    host.SetCurrentItem(box);
    OpenPanel();
    user.TypePath(base);
    user.Toggle("Freeze Motion", true);
    user.Type("End Frame", 9);
    const auto read = [&base] {
        std::ostringstream text;
        text << std::ifstream(base + ".mot", std::ios::binary).rdbuf();
        return text.str();
    };

    {
        const RealEscapeHeld held;
        user.Press("Export Current Motion");  // the script answers: the key is up
    }
    EXPECT_EQ(0u, read().rfind("LWMO\n", 0));
    EXPECT_EQ("Info\nStatus: Idle", user.StatusText());

    std::ofstream(base + ".mot", std::ios::binary) << "an earlier export";
    host.Escape().ReadRealKeyboard(true);
    {
        const RealEscapeHeld held;
        user.Press("Export Current Motion");
    }
    host.Escape().ReadRealKeyboard(false);
    EXPECT_EQ("an earlier export", read());
    EXPECT_EQ("Info  Motion File Generation Aborted.\nSaving Motion Frame: 0 of 0.   (ESC to Abort)",
              user.StatusText());
}

}  // namespace
}  // namespace corvantide_test
#endif
