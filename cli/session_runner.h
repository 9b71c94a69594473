// A person's session at the panel, acted out on a loaded plug-in: each
// action is told as it is done, progress shows while exports run, and every
// file an export writes is noted with the item and settings it came from.
#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host_paths.h"
#include "item_records.h"
#include "output_folders.h"
#include "panel_user.h"
#include "scene_description.h"
#include "sim_host.h"

namespace corvantide::cli {

class ExportProgress;

struct WrittenFile {
    std::string path;  // native path
    void* item = nullptr;
    std::string itemName;
    bool zoom = false;  // a camera's "_ZoomFactor.mot" file
    ItemRecord record;  // the item's settings when it was exported
};

struct SessionOptions {
    std::filesystem::path outputFolder;  // panel pictures are written here
    bool liveProgress = false;           // rewrite the progress line (a terminal)
    bool watchKeyboard = false;          // Escape from the terminal aborts
    bool pictures = true;                // panel pictures are taken
    OutputFolders* folders = nullptr;    // makes the pictures' folder for the first; null: it exists
};

class SessionRunner {
public:
    SessionRunner(simhost::SimHost& host, std::ostream& out, SessionOptions options);

    // Acts out the actions in order; false when one could not be done (a
    // panel picture not written), with the reason on err.
    bool Run(const std::vector<Action>& actions, std::ostream& err);

    // Files written, in the order of their last writing; each path once.
    const std::vector<WrittenFile>& Written() const { return written_; }
    const std::vector<std::string>& Pictures() const { return pictures_; }
    // Why exports of the session failed, in order, each once: the status
    // area's messages during exports other than the abort text; (on Linux)
    // files that could not be brought to their place; and, when an export
    // told nothing, files it was asked for and did not write. Empty when
    // every export did its work or was aborted.
    const std::vector<std::string>& ExportFailures() const { return exportFailures_; }

    // A path as the user is shown it: relative to the current folder when
    // inside it, control characters escaped.
    static std::string Display(const std::string& path);

private:
    // Tells the action with its step number, then does it.
    bool Do(const Action& action, std::ostream& err);
    bool Perform(const Action& action, std::ostream& err);
    std::string Describe(const Action& action) const;
    std::string DescribeChoice(const Action& action) const;
    void* Item(const std::string& name) const;
    void Press(const std::string& label);
    void ExportPress(const std::string& label);
    void TellDestinations();
    void TellNewMessages();
    void TellNewStatus();
    void AddFailure(const std::string& failure);
    // What became of the action under way when Ctrl-C came.
    std::string InterruptedAt(const Action& action) const;
    bool TakePanelPicture(const std::string& file, std::ostream& err);
    bool WritePanelPicture(const std::string& file, std::ostream& err);
    // A file an export may write: its host path, and both names' times before.
    struct Candidate {
        WrittenFile file;
        std::string hostPath;
        std::optional<FileStamp> before;
        std::optional<FileStamp> hostBefore;
        bool asked = false;    // the press asks for this file
        bool settled = false;  // written and told, or told as not written
    };
    // Brings the file to its place and tells it; false when the export has
    // not (yet) written it.
    bool Settle(Candidate& candidate);
    struct PendingFiles {
        std::vector<Candidate> files;
        std::map<void*, std::vector<std::size_t>> byItem;  // indices into files not yet settled
    };
    PendingFiles FilesToWatch(bool batch) const;
    bool PressWatchingFiles(const std::string& label, PendingFiles& pending);
    // Settles the item's pending files, ending its progress line first.
    void SettleItem(PendingFiles& pending, void* item, ExportProgress& progress);
    // Whether the status area showed the abort text since the `statusBefore`th text.
    bool AbortShownSince(std::size_t statusBefore) const;

    simhost::SimHost& host_;
    simhost::PanelUser user_;
    std::ostream& out_;
    SessionOptions options_;
    int step_ = 0;
    std::size_t messagesSeen_ = 0;
    std::size_t statusSeen_ = 0;
    std::vector<std::string> exportFailures_;
    std::vector<WrittenFile> written_;
    std::vector<std::string> pictures_;
    bool lastExportStopped_ = false;  // the last export press ended with the abort text
};

}  // namespace corvantide::cli
