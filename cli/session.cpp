// A session from loading the plug-in to the pictures of what it wrote.
#include "session.h"

#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <system_error>

#include "commands.h"
#include "export_progress.h"
#include "fidelity_report.h"
#include "host_motion.h"
#include "interrupt.h"
#include "motfile/utf8_path.h"
#include "motion_input.h"
#include "motion_pictures.h"
#include "output_folders.h"
#include "plugin_loading.h"
#include "scene_build.h"
#include "session_runner.h"
#include "shown_text.h"
#include "sim_host.h"
#include "tool_files.h"

namespace corvantide::cli {
namespace {

namespace fs = std::filesystem;
using motfile::Utf8Path;
using motfile::Utf8Text;

constexpr char kPictureFolder[] = "pictures";

// The session's working folder while it lives: the plug-in opens relative
// paths against the process's folder, as it would in the host.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder, std::error_code& error)
        : previous_(fs::current_path(error)) {
        if (!error) fs::current_path(folder, error);
        entered_ = !error;
    }
    ~WorkingFolder() {
        std::error_code ignored;
        if (entered_) fs::current_path(previous_, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    fs::path previous_;
    bool entered_ = false;
};

void TellScene(const SceneDescription& scene, std::ostream& out) {
    out << "Scene: " << scene.items.size() << (scene.items.size() == 1 ? " item" : " items") << ", frames "
        << scene.firstFrame << " to " << scene.lastFrame << " at " << scene.fps << " fps, content directory \""
        << Shown(scene.contentDirectory) << "\"\n";
    for (const ItemDescription& item : scene.items) {
        out << "  " << Shown(item.name) << (item.type == kCameraType ? " (camera)" : "") << ": "
            << item.keys.size() << (item.keys.size() == 1 ? " key" : " keys");
        if (item.parent) out << ", child of " << Shown(*item.parent);
        if (item.sourcePath) out << ", loaded from \"" << Shown(*item.sourcePath) << "\"";
        out << "\n";
    }
}

std::string PictureName(const std::string& motionPath, std::set<std::string>* taken) {
    const std::string stem = Utf8Text(Utf8Path(motionPath).stem());
    std::string name = stem + ".svg";
    for (int n = 2; !taken->insert(name).second; ++n) name = stem + "-" + std::to_string(n) + ".svg";
    return Utf8Text(Utf8Path(kPictureFolder) / Utf8Path(name));
}

// How the file was made, for the fidelity summary.
std::string FormOf(const WrittenFile& written) {
    if (written.zoom) return "zoom keys";
    return std::string(written.record.sampled ? "every frame" : "keys") + ", " +
           (written.record.world ? "World" : "Local");
}

// The files of the session that were written before it was interrupted.
void TellUncheckedFiles(const SessionRunner& runner, const fs::path& folder, std::ostream& out) {
    out << "\nFiles written (in " << Shown(Utf8Text(folder)) << "), not checked:\n";
    if (runner.Written().empty()) out << "  none\n";
    for (const WrittenFile& written : runner.Written())
        out << "  " << SessionRunner::Display(written.path) << "\n";
}

// What the session makes of the files written: each is checked, measured
// against the host and drawn, in the order written.
struct FileReview {
    simhost::SimHost& host;
    const fs::path& folder;
    OutputFolders& made;
    bool drawn;                          // a picture of every file
    std::set<std::string> pictureNames;  // taken in the pictures' folder
    std::vector<std::string> pictures;   // the panel's, then the files'
    std::vector<FileFidelity> fidelities;
    int status;
};

// Reads the file back once, as `check` does, and tells its summary; false,
// with the problems on err, when it does not read back.
bool CheckWrittenFile(const WrittenFile& written, motfile::MotionFile* file, std::ostream& out,
                      std::ostream& err) {
    motfile::ReadResult result;
    std::ostringstream problems;  // warnings of a file that reads back are not told
    if (LoadMotionFile(written.path, &result, problems) != kExitOk) {
        err << problems.str();
        return false;
    }
    out << "  " << SessionRunner::Display(written.path) << ": " << MotionFileSummary(result.file) << "\n";
    *file = std::move(result.file);
    return true;
}

void DrawWrittenFile(const WrittenFile& written, const motfile::MotionFile& file, const HostMotion& motion,
                     FileReview& review, std::ostream& err) {
    const std::string picture = PictureName(written.path, &review.pictureNames);
    std::string reason;
    const simhost::ToolWrite wrote =
        review.made.Make(review.folder / kPictureFolder, &reason)
            ? simhost::WriteToolFile(picture, MotionPictureSvg(written, file, motion))
            : simhost::ToolWrite{WholeFile::kRefused, reason};
    if (wrote.outcome != WholeFile::kWritten) {
        err << "corvantide-sim: cannot write the picture " << Shown(picture) << ": " << wrote.reason << "\n";
        review.status = kExitUsage;
        return;
    }
    review.pictures.push_back(picture);
}

void ReviewWrittenFile(const WrittenFile& written, FileReview& review, std::ostream& out, std::ostream& err) {
    motfile::MotionFile file;
    if (!CheckWrittenFile(written, &file, out, err)) {
        review.status = kExitBadFile;
        return;
    }
    const HostMotion motion = SampleHostMotion(review.host, written, file);
    review.fidelities.push_back(
        MeasureFidelity(Utf8Text(Utf8Path(written.path).filename()), FormOf(written), file, motion));
    PrintChannelLines(review.fidelities.back(), "      ", out);
    if (review.drawn) DrawWrittenFile(written, file, motion, review, err);
}

void TellPictures(const FileReview& review, std::ostream& out) {
    out << "\nPictures (in " << Shown(Utf8Text(review.folder / kPictureFolder)) << "):\n";
    if (review.pictures.empty()) out << "  none\n";
    for (const std::string& picture : review.pictures)
        out << "  " << Shown(Utf8Text(Utf8Path(picture).filename())) << "\n";
}

void TellFidelity(const std::vector<FileFidelity>& fidelities, std::ostream& out) {
    if (fidelities.empty()) return;
    out << "\nHow closely each file follows the host, frame by frame (the largest difference between the\n"
           "file's curve and the host's value; exact: within "
        << FormatTrimmed(motfile::kExactWithin, 6) << ", the file's six decimals):\n";
    PrintSummary(fidelities, out);
}

// The session's status once its files are reviewed: what the exports and
// the host saw counts when nothing else went wrong.
int FinalStatus(int status, const SessionRunner& runner, simhost::SimHost& host, std::ostream& err) {
    for (const std::string& failure : runner.ExportFailures())
        err << "corvantide-sim: export failed: " << failure << "\n";
    const std::vector<std::string> findings = host.Audit();
    for (const std::string& finding : findings) err << "corvantide-sim: the host saw: " << finding << "\n";
    if (!findings.empty() && status == kExitOk) status = kExitHostFault;
    if (!runner.ExportFailures().empty() && status == kExitOk) status = kExitExportFailed;
    return status;
}

// The session inside its output folder, which is the working folder while it runs.
int RunInFolder(const SceneDescription& scene, const SessionSettings& settings, const fs::path& folder,
                OutputFolders& made, simhost::SimHost& host, const std::string& plugin, std::ostream& out,
                std::ostream& err) {
    std::error_code error;
    WorkingFolder working(folder, error);
    if (error) {
        err << "corvantide-sim: cannot work in " << Shown(Utf8Text(folder)) << ": " << error.message() << "\n";
        return kExitUsage;
    }

    const InterruptWatch interruptWatch;
    if (!settings.heading.empty()) out << Shown(settings.heading) << "\n";
    out << "Plug-in: " << plugin << "\nWorking folder: " << Shown(Utf8Text(folder)) << "\n";
    BuildScene(scene, host);
    TellScene(scene, out);

    SessionRunner runner(
        host, out, {kPictureFolder, settings.liveProgress, settings.watchKeyboard, settings.pictures, &made});
    FileReview review{host, folder, made, settings.pictures, {}, {}, {}, kExitOk};
    review.status = runner.Run(scene.actions, err) ? kExitOk : kExitUsage;
    if (Interrupted()) {
        TellUncheckedFiles(runner, folder, out);
        return kExitInterrupted;
    }

    out << "\nFiles written (in " << Shown(Utf8Text(folder)) << "):\n";
    if (runner.Written().empty()) out << "  none\n";
    review.pictures = runner.Pictures();
    for (const std::string& picture : review.pictures)
        review.pictureNames.insert(Utf8Text(Utf8Path(picture).filename()));
    for (const WrittenFile& written : runner.Written()) ReviewWrittenFile(written, review, out, err);
    if (settings.pictures) TellPictures(review, out);
    TellFidelity(review.fidelities, out);
    return FinalStatus(review.status, runner, host, err);
}

}  // namespace

SessionSettings CommandSettings(const std::string& outputFolder, const std::string& heading, bool terminal,
                                bool pictures) {
    SessionSettings settings;
    settings.outputFolder = outputFolder;
    settings.heading = heading;
    settings.liveProgress = terminal && StdoutIsTerminal();
    settings.watchKeyboard = terminal && StdinIsTerminal();
    settings.pictures = pictures;
    return settings;
}

int RunSession(const SceneDescription& scene, const SessionSettings& settings, std::ostream& out,
               std::ostream& err) {
    const simhost::Utf8Paths utf8;
    const std::string refusal = UnholdableText(scene);
    if (!refusal.empty()) {
        err << "corvantide-sim: " << refusal << "; nothing was run\n";
        return kExitUsage;
    }
    // The plug-in first: a program that cannot run leaves no folder behind.
    simhost::SimHost host;
    std::string plugin;
    if (!LoadPlugin(host, "", &plugin, err)) return kExitUsage;
    std::error_code error;
    const fs::path folder = fs::absolute(Utf8Path(settings.outputFolder), error);
    // Declared before the session's working folder, so that folder is left
    // before the folders the session made and left empty are removed.
    OutputFolders made;
    std::string reason = error ? error.message() : std::string();
    if (error || !made.Make(folder, &reason)) {
        err << "corvantide-sim: cannot make the folder " << Shown(settings.outputFolder) << ": " << reason
            << "\n";
        return kExitUsage;
    }
    return RunInFolder(scene, settings, folder, made, host, plugin, out, err);
}

}  // namespace corvantide::cli
