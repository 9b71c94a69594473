// Progress lines and the terminal's Escape key during an export.
#include "export_progress.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

#include "host_text.h"
#include "interrupt.h"

#if defined(_WIN32)
#include <io.h>
#include <stdio.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace corvantide::cli {
namespace {

constexpr char kEscapeByte = 0x1b;
constexpr char kLiveHint[] = "   (Esc to abort)";

// "Computing Frame: 3 of 10", the progress line as the terminal shows it.
std::string ProgressText(const StatusReading& progress) {
    return std::string(progress.mode == kProgressSaving ? kSavingPrefix : kComputingPrefix) +
           std::to_string(progress.frame) + kProgressOf + std::to_string(progress.total);
}

}  // namespace

bool ShowsMessage(const StatusReading& reading) {
    return reading.kind == StatusKind::kMessage || reading.kind == StatusKind::kAborted;
}

void TellStatusMessage(const std::string& text, std::ostream& out) {
    out << "      the status area shows:";
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        out << " \"" << std::string_view(text).substr(start, end - start) << "\"";
        start = end + 1;
    }
    out << "\n";
}

#if defined(_WIN32)
// On Windows the plug-in reads the real Escape key through USER32 itself
// (the script passes USER32's answer on while the keyboard is watched).
struct ExportProgress::Keyboard {};
bool StdoutIsTerminal() { return _isatty(_fileno(stdout)) != 0; }
bool StdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
bool ExportProgress::EscapeTyped() { return false; }
#else
struct ExportProgress::Keyboard {
    termios saved{};
    bool active = false;
};

bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) != 0; }
bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }

bool ExportProgress::EscapeTyped() {
    if (!keyboard_ || !keyboard_->active) return false;
    char bytes[64];
    const ssize_t count = read(STDIN_FILENO, bytes, sizeof bytes);
    if (count <= 0) return false;
    // Arrow and function keys arrive as ESC '[' ... or ESC 'O' ...; only a lone ESC counts.
    for (ssize_t i = 0; i < count; ++i) {
        if (bytes[i] != kEscapeByte) continue;
        const bool sequence = i + 1 < count && (bytes[i + 1] == '[' || bytes[i + 1] == 'O');
        if (!sequence) return true;
    }
    return false;
}
#endif

ExportProgress::ExportProgress(simhost::SimHost& host, std::ostream& out, bool live, bool watchKeyboard)
    : host_(host), out_(out), live_(live) {
#if !defined(_WIN32)
    if (watchKeyboard) {
        keyboard_ = std::make_unique<Keyboard>();
        if (tcgetattr(STDIN_FILENO, &keyboard_->saved) == 0) {
            termios raw = keyboard_->saved;
            raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
            raw.c_cc[VMIN] = 0;  // read returns at once, with or without a key
            raw.c_cc[VTIME] = 0;
            SetTerminalToRestore(&keyboard_->saved);
            keyboard_->active = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
        }
    }
#else
    host_.Escape().ReadRealKeyboard(watchKeyboard);
#endif
    host_.Ui().SetStatusListener([this](const std::string& text) { OnStatus(text); });
}

ExportProgress::~ExportProgress() {
    host_.Ui().SetStatusListener(nullptr);
    Finish();
#if defined(_WIN32)
    host_.Escape().ReadRealKeyboard(false);
#else
    if (keyboard_ && keyboard_->active) {
        tcflush(STDIN_FILENO, TCIFLUSH);  // keys typed during the export are not commands for the shell
        tcsetattr(STDIN_FILENO, TCSANOW, &keyboard_->saved);
    }
    SetTerminalToRestore(nullptr);
#endif
}

void ExportProgress::Show(const std::string& line) {
    pending_ = line;
    if (!live_) return;
    std::string padded = "      " + line + kLiveHint;
    const std::size_t width = padded.size();
    padded.resize(std::max(width, shownWidth_), ' ');  // wipe a longer line shown before
    out_ << '\r' << padded << std::flush;
    shownWidth_ = width;
}

void ExportProgress::ShowProgress(const StatusReading& progress) {
    lastMessage_.clear();
    // A new item's first line ends the line of the item before.
    if (!pending_.empty() && pendingItem_ != progress.message) Finish();
    pendingItem_ = progress.message;
    Show(pendingItem_ + ": " + ProgressText(progress));
    if (EscapeTyped() || Interrupted()) host_.Escape().Tap();
}

void ExportProgress::TellMessage(const std::string& text, const StatusReading& reading) {
    if (text == lastMessage_) return;
    lastMessage_ = text;
    TellStatusMessage(text, out_);
    if (reading.kind != StatusKind::kMessage) return;  // the abort text: the user asked for it
    const std::string failure(reading.message);
    if (std::find(failures_.begin(), failures_.end(), failure) == failures_.end()) failures_.push_back(failure);
}

void ExportProgress::OnStatus(const std::string& hostText) noexcept {
    try {
        const std::string text = simhost::FromHostText(hostText);
        const StatusReading reading = ReadStatusText(text);
        if (reading.kind == StatusKind::kProgress) {
            ShowProgress(reading);
            return;
        }
        Finish();
        if (ShowsMessage(reading)) TellMessage(text, reading);
    } catch (...) {
        // Nothing may leave this call: it runs inside the plug-in's export.
    }
}

void ExportProgress::Finish() noexcept {
    try {
        if (pending_.empty()) return;
        if (live_) out_ << '\r' << std::string(shownWidth_, ' ') << '\r';
        out_ << "      " << pending_ << "\n" << std::flush;
        pending_.clear();
        pendingItem_.clear();
        shownWidth_ = 0;
    } catch (...) {
    }
}

}  // namespace corvantide::cli
