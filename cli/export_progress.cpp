// Progress lines and the terminal's Escape key during an export.
#include "export_progress.h"

#include <algorithm>
#include <ostream>

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
constexpr std::string_view kInfoPrefix = "Info  ";
constexpr std::string_view kAbortText = "Motion File Generation Aborted.";

// "Hips: Computing Frame: 3 of 10" from the status area's two lines.
std::string ProgressLine(const std::string& text) {
    const std::size_t lineBreak = text.find('\n');
    if (lineBreak == std::string::npos || text.compare(0, kInfoPrefix.size(), kInfoPrefix) != 0) return {};
    const std::string name = text.substr(kInfoPrefix.size(), lineBreak - kInfoPrefix.size());
    std::string progress = text.substr(lineBreak + 1);
    if (progress.rfind("Computing Frame:", 0) != 0) return {};
    progress = progress.substr(0, progress.find('.'));
    return name + ": " + progress;
}

}  // namespace

std::vector<std::string> StatusMessageLines(const std::string& text) {
    if (text.compare(0, kInfoPrefix.size(), kInfoPrefix) != 0 || !ProgressLine(text).empty()) return {};
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool IsAbortMessage(const std::vector<std::string>& lines) {
    return !lines.empty() && lines.front().size() >= kInfoPrefix.size() &&
           lines.front().compare(kInfoPrefix.size(), std::string::npos, kAbortText) == 0;
}

void TellStatusMessage(const std::vector<std::string>& lines, std::ostream& out) {
    out << "      the status area shows:";
    for (const std::string& line : lines) out << " \"" << line << "\"";
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
    if (!live_) {
        pending_ = line;
        return;
    }
    std::string padded = "      " + line;
    const std::size_t width = padded.size();
    padded.resize(std::max(width, shownWidth_), ' ');  // wipe a longer line shown before
    out_ << '\r' << padded << std::flush;
    shownWidth_ = width;
    pending_ = line;
}

void ExportProgress::OnStatus(const std::string& hostText) noexcept {
    try {
        const std::string text = simhost::FromHostText(hostText);
        const std::string line = ProgressLine(text);
        if (!line.empty()) {
            lastMessage_.clear();
            // A new item's first line ends the line of the item before.
            if (!pending_.empty() && pending_.substr(0, pending_.find(':')) != line.substr(0, line.find(':')))
                Finish();
            Show(line + (live_ ? "   (Esc to abort)" : ""));
            if (EscapeTyped() || Interrupted()) {
                escapeSeen_ = true;
                host_.Escape().Tap();
            }
            return;
        }
        Finish();
        const std::vector<std::string> lines = StatusMessageLines(text);
        if (lines.empty() || text == lastMessage_) return;
        lastMessage_ = text;
        TellStatusMessage(lines, out_);
        if (!IsAbortMessage(lines)) {
            const std::string failure = lines.front().substr(kInfoPrefix.size());
            if (std::find(failures_.begin(), failures_.end(), failure) == failures_.end())
                failures_.push_back(failure);
        }
    } catch (...) {
        // Nothing may leave this call: it runs inside the plug-in's export.
    }
}

void ExportProgress::Finish() noexcept {
    try {
        if (pending_.empty()) return;
        if (live_) {
            out_ << '\r' << std::string(shownWidth_, ' ') << '\r';
            const std::string done = pending_.substr(0, pending_.find("   (Esc"));
            out_ << "      " << done << "\n" << std::flush;
        } else {
            out_ << "      " << pending_ << "\n";
        }
        pending_.clear();
        shownWidth_ = 0;
    } catch (...) {
    }
}

}  // namespace corvantide::cli
