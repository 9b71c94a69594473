// The status area's progress while an export runs, shown at the terminal,
// and the terminal's Escape key passed to the plug-in.
//
// On a terminal the progress is one line rewritten in place; elsewhere (a
// pipe, a file, a test) each item's last progress line is printed once when
// its export ends. While a terminal's Escape key is watched, stdin is put in
// non-canonical mode without echo and read without waiting at each status
// update; a lone ESC byte taps the Escape key the plug-in polls.
//
// A status text whose message line carries a message (a failure, a refusal,
// the abort text, a batch's summary) is printed where it happens, line by
// line as the panel shows it.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "panel/status_text.h"
#include "sim_host.h"

namespace corvantide::cli {

class ExportProgress {
public:
    // `live`: rewrite one line with \r (stdout is a terminal). `watchKeyboard`:
    // read Escape from stdin (it is a terminal). Both false in tests.
    ExportProgress(simhost::SimHost& host, std::ostream& out, bool live, bool watchKeyboard);
    ~ExportProgress();
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    // Called with every status text; never throws (it runs inside the plug-in's call).
    void OnStatus(const std::string& text) noexcept;
    // Ends the line of the export in progress, if any.
    void Finish() noexcept;
    // The export's messages other than the abort text, without "Info  ":
    // what went wrong, in order, each once.
    const std::vector<std::string>& Failures() const { return failures_; }

private:
    void ShowProgress(const StatusReading& progress);
    void Show(const std::string& line);
    void TellMessage(const std::string& text, const StatusReading& reading);
    bool EscapeTyped();

    simhost::SimHost& host_;
    std::ostream& out_;
    bool live_;
    std::string pendingItem_;  // the item whose progress line is not yet ended
    std::string pending_;      // that line
    std::size_t shownWidth_ = 0;
    std::string lastMessage_;  // the status area's repeated redraws are told once
    std::vector<std::string> failures_;
    struct Keyboard;
    std::unique_ptr<Keyboard> keyboard_;
};

// Whether the status area shows a message ("Info  Couldn't write Box.mot",
// or the abort text) rather than the idle text or an item's progress.
bool ShowsMessage(const StatusReading& reading);
// "      the status area shows: "line" "line"", each line of the text.
void TellStatusMessage(const std::string& text, std::ostream& out);

// Whether stdout and stdin are terminals.
bool StdoutIsTerminal();
bool StdinIsTerminal();

}  // namespace corvantide::cli
