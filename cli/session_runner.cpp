// The session's actions, told and done through the panel.
#include "session_runner.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <system_error>

#include "export_progress.h"
#include "fidelity_report.h"
#include "host/plugin_limits.h"
#include "host_paths.h"
#include "host_text.h"
#include "interrupt.h"
#include "motfile/utf8_path.h"
#include "panel_svg.h"
#include "scene_build.h"
#include "shown_text.h"

namespace corvantide::cli {
namespace {

namespace fs = std::filesystem;
using motfile::Utf8Path;
using motfile::Utf8Text;
using simhost::FromHostText;

constexpr char kDetailIndent[] = "      ";

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    return quoted.append(Shown(text)).append("\"");
}

bool IsExportPress(const Action& action) {
    return action.kind == ActionKind::kPress &&
           (action.control == "Export Current Motion" || action.control == "Export Batch Motions");
}

const char* ControlName(const std::string& label) {
    if (label == "path") return simhost::kPathText;
    if (label == "batch path") return simhost::kBatchPathText;
    return nullptr;
}

bool NeedsPanel(ActionKind kind) {
    return kind == ActionKind::kTypeNumber || kind == ActionKind::kTypeText || kind == ActionKind::kToggle ||
           kind == ActionKind::kChoose || kind == ActionKind::kPress;
}

}  // namespace

SessionRunner::SessionRunner(simhost::SimHost& host, std::ostream& out, SessionOptions options)
    : host_(host), user_(host), out_(out), options_(std::move(options)) {}

std::string SessionRunner::Display(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(Utf8Path(path), error).lexically_normal();
    if (error) return Shown(path);
    const fs::path relative = absolute.lexically_proximate(fs::current_path(error));
    const std::string shown = Utf8Text(relative);
    if (error || relative.is_absolute() || shown.rfind("..", 0) == 0) return Shown(Utf8Text(absolute));
    return Shown(shown);
}

void* SessionRunner::Item(const std::string& name) const { return host_.Scene().ItemByName(HostText(name)); }

std::string SessionRunner::Describe(const Action& action) const {
    switch (action.kind) {
        case ActionKind::kShowPanel:
            return host_.Ui().LastBlock() == nullptr
                       ? "Open the Corvantide panel (the host builds it, then shows it)"
                       : "Show the panel";
        case ActionKind::kHidePanel:
            return "Hide the panel";
        case ActionKind::kBuildPanel:
            return "The host builds the panel again";
        case ActionKind::kSelect:
            return action.item.empty() ? "Select nothing" : "Select " + Quoted(action.item);
        case ActionKind::kTypeNumber:
            return "Type " + std::to_string(action.number) + " into " + Quoted(action.control);
        case ActionKind::kTypeText:
            return "Type " + Quoted(action.text) + " into the " + action.control + " field";
        case ActionKind::kToggle:
            return std::string("Turn ") + Quoted(action.control) + (action.on ? " on" : " off");
        case ActionKind::kChoose:
            return DescribeChoice(action);
        case ActionKind::kPress:
            return "Press " + Quoted(action.control);
        case ActionKind::kAnswerRequester:
            return "Be ready to answer the file requester with " +
                   Quoted(action.text.empty() ? action.directory : action.text);
        case ActionKind::kCancelRequester:
            return "Be ready to cancel the file requester";
        case ActionKind::kItemAdded:
            return "The host announces item " + Quoted(action.item);
        case ActionKind::kItemRemoved:
            return "Remove item " + Quoted(action.item);
        case ActionKind::kEscapeAtFrame:
            return "Press Escape when the next export shows progress line " + std::to_string(action.number);
        case ActionKind::kPanelPicture:
            return "Take a picture of the panel: " + action.text;
    }
    return {};
}

// The entry by its name when the list has it, else by its number.
std::string SessionRunner::DescribeChoice(const Action& action) const {
    const simhost::SimControl* list = user_.Find(action.control);
    if (list != nullptr && action.number >= 0 &&
        static_cast<std::size_t>(action.number) < list->listEntries.size()) {
        return "Choose " + Quoted(list->listEntries[static_cast<std::size_t>(action.number)]) + " in " +
               Quoted(action.control);
    }
    return "Choose entry " + std::to_string(action.number) + " in " + Quoted(action.control);
}

bool SessionRunner::Run(const std::vector<Action>& actions, std::ostream& err) {
    for (const Action& action : actions) {
        if (!Do(action, err)) return false;
        if (Interrupted()) {
            out_ << "\nInterrupted: " << InterruptedAt(action)
                 << "; the rest of the session is not acted out.\n";
            return true;
        }
    }
    return true;
}

std::string SessionRunner::InterruptedAt(const Action& action) const {
    if (!IsExportPress(action)) return "no export was under way";
    if (lastExportStopped_) {
        return "the export under way stopped as with Escape and left the file it was on as it was (files it "
               "finished before are listed below)";
    }
    return "the export under way had finished and its files were written";
}

bool SessionRunner::TakePanelPicture(const std::string& file, std::ostream& err) {
    if (options_.pictures) return WritePanelPicture(file, err);
    out_ << kDetailIndent << "no picture taken (--no-pictures)\n";
    return true;
}

bool SessionRunner::WritePanelPicture(const std::string& file, std::ostream& err) {
    const std::string path = Utf8Text(options_.outputFolder / Utf8Path(file));
    std::string reason;
    const bool folder = options_.folders == nullptr ||
                        options_.folders->Make(fs::absolute(Utf8Path(path)).parent_path(), &reason);
    if (!folder || !simhost::WritePanelSvg(host_.Ui(), path, 2.0, &reason)) {
        err << "corvantide-sim: cannot write the panel picture " << Shown(path) << ": " << reason << "\n";
        return false;
    }
    pictures_.push_back(path);
    out_ << kDetailIndent << "wrote " << Display(path) << "\n";
    return true;
}

bool SessionRunner::Do(const Action& action, std::ostream& err) {
    if (!action.note.empty()) out_ << "\n" << action.note << "\n";
    // A person can only use a control on a panel that is open: the host opens
    // it first for a scene that never did.
    const bool opens = NeedsPanel(action.kind) && host_.Ui().LastBlock() == nullptr;
    if (opens) {
        host_.BuildPanel();
        user_.ShowPanel();
    }
    ++step_;
    out_ << (step_ < 10 ? "  " : " ") << step_ << ". " << Describe(action) << "\n";
    if (opens)
        out_ << kDetailIndent << "the panel was not open: the host opened it first, as \"showPanel\" does\n";
    if (!Perform(action, err)) return false;
    TellNewStatus();
    TellNewMessages();
    return true;
}

bool SessionRunner::Perform(const Action& action, std::ostream& err) {
    switch (action.kind) {
        case ActionKind::kShowPanel:
            if (host_.Ui().LastBlock() == nullptr) host_.BuildPanel();
            user_.ShowPanel();
            break;
        case ActionKind::kHidePanel:
            user_.HidePanel();
            break;
        case ActionKind::kBuildPanel:
            host_.BuildPanel();
            break;
        case ActionKind::kSelect:
            user_.SelectItem(action.item.empty() ? nullptr : Item(action.item));
            break;
        case ActionKind::kTypeNumber:
            user_.Type(action.control, action.number);
            break;
        case ActionKind::kTypeText: {
            const char* field = ControlName(action.control);
            user_.Type(field != nullptr ? field : action.control.c_str(), HostText(action.text));
            break;
        }
        case ActionKind::kToggle:
            user_.Toggle(action.control, action.on);
            break;
        case ActionKind::kChoose:
            user_.Choose(action.control, action.number);
            break;
        case ActionKind::kPress:
            Press(action.control);
            break;
        case ActionKind::kAnswerRequester:
            user_.AnswerRequester(true, HostText(action.directory), HostText(action.text));
            break;
        case ActionKind::kCancelRequester:
            user_.CancelRequester();
            break;
        case ActionKind::kItemAdded:
            user_.ItemAdded(Item(action.item));
            break;
        case ActionKind::kItemRemoved:
            if (void* item = Item(action.item)) user_.ItemRemoved(item);
            break;
        case ActionKind::kEscapeAtFrame:
            host_.Escape().Reset();
            host_.Escape().PressAtProgress(action.number);
            break;
        case ActionKind::kPanelPicture:
            return TakePanelPicture(action.text, err);
    }
    return true;
}

void SessionRunner::Press(const std::string& label) {
    const std::size_t requesters = host_.Ui().RequesterCalls().size();
    if (label == "Export Current Motion" || label == "Export Batch Motions") {
        ExportPress(label);
    } else {
        user_.Press(label);
    }
    const auto& calls = host_.Ui().RequesterCalls();
    for (std::size_t i = requesters; i < calls.size(); ++i) {
        out_ << kDetailIndent << "the file requester " << Quoted(FromHostText(calls[i].title))
             << " opens, offering " << Quoted(FromHostText(calls[i].suggestedName));
        if (label == "Path") {
            out_ << "; the path field now shows " << Quoted(FromHostText(user_.PathText())) << "\n";
        } else {
            out_ << "; the batch path field now shows " << Quoted(FromHostText(user_.BatchPathText())) << "\n";
        }
    }
    if (label == "Setup Batch") TellDestinations();
}

void SessionRunner::TellDestinations() {
    out_ << kDetailIndent << "\"Use Batch Directory\" shows "
         << (user_.Value("Use Batch Directory") ? "on" : "off") << ", \"Use Current Data\" "
         << (user_.Value("Use Current Data") ? "on" : "off") << "; each item's destination base path:\n";
    std::size_t width = 8;
    for (void* item : host_.Scene().Items()) width = std::max(width, DisplayWidth(Shown(ItemName(item))));
    for (void* item : host_.Scene().Items()) {
        const auto record = ReadItemRecord(host_, item);
        out_ << kDetailIndent << "  " << PaddedTo(Shown(ItemName(item)), width) << "  "
             << (record && record->destination ? Shown(*record->destination) : std::string("(none)")) << "\n";
    }
}

void SessionRunner::TellNewMessages() {
    const auto& messages = host_.Ui().Messages();
    for (; messagesSeen_ < messages.size(); ++messagesSeen_) {
        const simhost::ShownMessage& message = messages[messagesSeen_];
        out_ << kDetailIndent << "the host shows a message: " << Quoted(FromHostText(message.line1));
        if (message.lineCount > 1) out_ << " " << Quoted(FromHostText(message.line2));
        out_ << "\n";
    }
}

// Messages the status area was given outside exports (a refused path, a
// batch setup that skipped items); an export tells its own as they come.
void SessionRunner::TellNewStatus() {
    const auto& history = host_.Ui().StatusHistory();
    const std::string* previous = nullptr;
    for (; statusSeen_ < history.size(); ++statusSeen_) {
        const std::string& hostText = history[statusSeen_];
        const std::string text = FromHostText(hostText);
        if (ShowsMessage(ReadStatusText(text)) && (previous == nullptr || *previous != hostText))
            TellStatusMessage(text, out_);
        previous = &hostText;
    }
}

void SessionRunner::AddFailure(const std::string& failure) {
    if (std::find(exportFailures_.begin(), exportFailures_.end(), failure) == exportFailures_.end()) {
        exportFailures_.push_back(failure);
    }
}

// Each file is brought to its place as soon as its item's export ends (the
// plug-in turns to the next item, or the press returns), so a run stopped
// part-way leaves no file under its host name.
void SessionRunner::ExportPress(const std::string& label) {
    PendingFiles pending = FilesToWatch(label == "Export Batch Motions");
    const std::size_t statusBefore = host_.Ui().StatusHistory().size();
    const bool failureShown = PressWatchingFiles(label, pending);
    lastExportStopped_ = AbortShownSince(statusBefore);
    statusSeen_ = host_.Ui().StatusHistory().size();
    // Asked for, not reported as failed, and not there: the export lost it.
    if (failureShown || lastExportStopped_) return;
    for (const Candidate& candidate : pending.files) {
        if (candidate.asked && !candidate.settled)
            AddFailure(Display(candidate.file.path) + " was not written");
    }
}

// Every file an export may write: each item's with a destination, a
// camera's zoom file too, asked for when the press exports that item.
SessionRunner::PendingFiles SessionRunner::FilesToWatch(bool batch) const {
    void* current = host_.CurrentItem();
    PendingFiles pending;
    for (void* item : host_.Scene().Items()) {
        const auto record = ReadItemRecord(host_, item);
        if (!record || !record->destination) continue;
        const bool asked =
            (batch || item == current) && !record->outputDisabled && !record->destination->empty();
        std::vector<std::pair<std::string, bool>> names = {{*record->destination + kMotionFileSuffix, false}};
        if (IsCamera(item)) names.emplace_back(*record->destination + kZoomFileSuffix, true);
        for (const auto& [hostPath, zoom] : names) {
            Candidate candidate;
            candidate.hostPath = hostPath;
            candidate.file = {NativePath(hostPath), item, ItemName(item), zoom, *record};
            candidate.before = StampOf(candidate.file.path);
            candidate.hostBefore = StampOf(hostPath);
            candidate.asked = asked;
            pending.byItem[item].push_back(pending.files.size());
            pending.files.push_back(std::move(candidate));
        }
    }
    return pending;
}

// Presses the export button with progress shown, settling each item's files
// when the plug-in turns to the next item and the rest when the press
// returns. True when the status area told a failure.
bool SessionRunner::PressWatchingFiles(const std::string& label, PendingFiles& pending) {
    ExportProgress progress(host_, out_, options_.liveProgress, options_.watchKeyboard);
    void* exporting = nullptr;
    host_.SetInstanceListener([&](void* item) {
        if (item == exporting) return;
        try {
            SettleItem(pending, exporting, progress);
        } catch (...) {
            // Nothing may leave this call: it runs inside the plug-in's batch.
        }
        exporting = item;
    });
    user_.Press(label);
    host_.SetInstanceListener(nullptr);
    progress.Finish();
    for (const std::string& failure : progress.Failures()) AddFailure(failure);
    // A file not yet written stays pending until the press returns.
    for (const Candidate& candidate : pending.files) {
        if (pending.byItem.count(candidate.file.item) != 0) SettleItem(pending, candidate.file.item, progress);
    }
    pending.byItem.clear();
    return !progress.Failures().empty();
}

void SessionRunner::SettleItem(PendingFiles& pending, void* item, ExportProgress& progress) {
    const auto found = pending.byItem.find(item);
    if (found == pending.byItem.end()) return;
    progress.Finish();
    std::vector<std::size_t>& indices = found->second;
    indices.erase(std::remove_if(indices.begin(), indices.end(),
                                 [&](std::size_t index) { return Settle(pending.files[index]); }),
                  indices.end());
    if (indices.empty()) pending.byItem.erase(found);
}

bool SessionRunner::AbortShownSince(std::size_t statusBefore) const {
    const auto& history = host_.Ui().StatusHistory();
    for (std::size_t i = statusBefore; i < history.size(); ++i) {
        if (ReadStatusText(FromHostText(history[i])).kind == StatusKind::kAborted) return true;
    }
    return false;
}

bool SessionRunner::Settle(Candidate& candidate) {
    std::string reason;
    const Settled settled = SettleWrittenFile(candidate.hostPath, &reason);
    const fs::path native = Utf8Path(candidate.file.path);
    if (settled == Settled::kNoFolder || settled == Settled::kRefused || settled == Settled::kMoveFailed) {
        // The file under its host name exists only because Linux takes the
        // backslash for a letter; a Windows host would have written nothing.
        std::error_code ignored;
        if (StampOf(candidate.hostPath) != candidate.hostBefore)
            fs::remove(Utf8Path(candidate.hostPath), ignored);
        const std::string shownName = Shown(Utf8Text(native.filename()));
        const std::string folder = Display(Utf8Text(native.parent_path()));
        if (settled == Settled::kNoFolder) {
            out_ << kDetailIndent << "not written: the folder of " << Display(candidate.file.path)
                 << " does not exist\n";
            AddFailure(shownName + " not written to " + folder + ": no such folder");
        } else {
            const std::string why =
                settled == Settled::kRefused ? reason : "it could not be moved there: " + reason;
            out_ << kDetailIndent << "not written: " << Display(candidate.file.path) << ": " << why << "\n";
            AddFailure(shownName + " not written to " + folder + ": " + why);
        }
        candidate.settled = true;
        return true;
    }
    const std::optional<FileStamp> after = StampOf(candidate.file.path);
    if (!after || after == candidate.before) return false;
    out_ << kDetailIndent << "wrote " << Display(candidate.file.path);
    if (settled == Settled::kMoved)
        out_ << "  (the host named it " << Quoted(Utf8Text(Utf8Path(candidate.hostPath).filename())) << ")";
    out_ << "\n";
    written_.erase(std::remove_if(written_.begin(), written_.end(),
                                  [&](const WrittenFile& file) { return file.path == candidate.file.path; }),
                   written_.end());
    written_.push_back(candidate.file);
    candidate.settled = true;
    return true;
}

}  // namespace corvantide::cli
