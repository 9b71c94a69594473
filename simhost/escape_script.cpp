// Escape key script of the simulated user.
#include "escape_script.h"

#include "sim_host.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>
#endif

namespace simhost {

namespace {

#if defined(_WIN32)
using KeyStateFn = SHORT(WINAPI*)(int);

// The script that answers the plug-in's polls.
EscapeScript* watching = nullptr;

KeyStateFn User32KeyState() {
    static const KeyStateFn real = [] {
        KeyStateFn fn = nullptr;
        FARPROC address = GetProcAddress(GetModuleHandleA("user32.dll"), "GetAsyncKeyState");
        std::memcpy(&fn, &address, sizeof fn);
        return fn;
    }();
    return real;
}

// USER32's key state belongs to the window server, which every process of a
// Wine prefix shares: the script answers for its own process, and USER32 is
// asked only when the script reads the real keyboard too.
SHORT WINAPI ScriptedKeyState(int virtualKey) {
    if (virtualKey != VK_ESCAPE || watching == nullptr) return User32KeyState()(virtualKey);
    SHORT state = watching->Poll();
    if (watching->ReadsRealKeyboard()) state = static_cast<SHORT>(state | User32KeyState()(VK_ESCAPE));
    return state;
}

// Points the module's import of USER32's GetAsyncKeyState at ScriptedKeyState;
// false when the module has no such import.
bool RouteKeyState(HMODULE module) {
    bool routed = false;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        if (_stricmp(reinterpret_cast<const char*>(base + library->Name), "user32.dll") != 0) continue;
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        const auto* name = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk));
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "GetAsyncKeyState") != 0) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection))
                continue;
            KeyStateFn scripted = ScriptedKeyState;
            std::memcpy(&slot->u1.Function, &scripted, sizeof scripted);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            routed = true;
        }
    }
    return routed;
}
#endif

constexpr short kKeyDown = static_cast<short>(0x8000);
constexpr short kPressedSinceLastPoll = 0x0001;

}  // namespace

EscapeScript::EscapeScript() {
#if defined(_WIN32)
    // The plug-in's objects linked into this program poll through its imports.
    RouteKeyState(GetModuleHandleA(nullptr));
    watching = this;
#endif
}

EscapeScript::~EscapeScript() {
    if (down_) SetDown(false);
#if defined(_WIN32)
    if (watching == this) watching = nullptr;
#endif
}

void EscapeScript::WatchPolls([[maybe_unused]] const void* addressInLibrary) {
#if defined(_WIN32)
    HMODULE module = nullptr;
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(addressInLibrary), &module)) {
        libraryImportsKeyState_ = RouteKeyState(module);
    }
#endif
}

void EscapeScript::SetDown(bool down) {
    if (down && !down_) pressedSincePoll_ = true;
    down_ = down;
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
