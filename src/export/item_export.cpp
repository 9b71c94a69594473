// Export of one item's motion file (and a camera's zoom file).
#include "export/item_export.h"

#include "export/envelope_key.h"
#include "export/export_report.h"
#include "export/file_names.h"
#include "export/file_output.h"
#include "export/motion_collection.h"
#include "export/motion_writer.h"
#include "export/write_failure.h"
#include "export/zoom_envelope.h"
#include "host/core_services.h"
#include "host/escape_key.h"
#include "host/host_characters.h"
#include "host/item_record.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "host/text_builder.h"
#include "panel/status_area.h"
#include "panel/status_text.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

// A message of the status area, and the reason the file is listed with when
// a batch run ends.
struct Problem {
    const char* message;
    const char* reason;
};

constexpr char kCouldNotWrite[] = "Couldn't write";
constexpr Problem kOutOfMemory{"Not enough memory to write", ": not enough memory"};
constexpr Problem kNoPath{"No destination path, not written:", ": no destination path"};
constexpr Problem kPathTooLong{"Path too long, not written:", ": the path is too long"};
constexpr Problem kBadFrameRate{"Frames per second must be above 0, not written:",
                                ": frames per second must be above 0"};
constexpr Problem kRangeBackwards{"Frame range ends before it begins, not written:",
                                  ": the frame range ends before it begins"};
constexpr Problem kRangeTooLong{"Frame range too long, not written:", ": the frame range is too long"};
// The reason a camera's motion file is listed with when its zoom file is refused.
constexpr char kKeptWithZoomFile[] = ": its zoom file cannot be written";
constexpr char kWrittenNotSynced[] = " written; its folder could not be synced to the disk";

// Keys mode, sampling mode, or the values the item holds now (an item
// without keys in keys mode).
enum class Collection { kCurrentValues, kKeys, kFrames };

struct MotionJob {
    void* item;
    const ExportSettings* settings;
    bool camera;
    double fps;
    Collection collection;
    std::int64_t keyCount;
    std::int64_t firstFrame;
    std::int64_t lastFrame;
    const char* progressName;
};

enum class Outcome { kDone, kAborted, kNoMemory, kWriteFailed };
enum class ZoomOutcome { kWritten, kFailed, kAborted };

// Frames of the sampled range, first to last inclusive; negative when empty.
std::int64_t FrameCount(const MotionJob& job) { return job.lastFrame - job.firstFrame + 1; }

// Reports a file not written, twice: "<what> <name><suffix><reason>" in the
// status area's message line now, and the file with `listed` (": <why>") in
// the run's report, for the list when a batch ends.
void ReportUnwritten(const char* what, const char* name, const char* suffix, const char* reason,
                     const char* listed) {
    char message[kStatusTextCapacity];
    TextBuilder(message, sizeof message).Append(what).Append(" ").Append(name).Append(suffix).Append(reason);
    SetStatusMessage(message);
    NoteExportedFile(name, suffix, false, listed);
}

void ReportProblem(const Problem& problem, const char* name, const char* suffix) {
    ReportUnwritten(problem.message, name, suffix, "", problem.reason);
}

// "Couldn't write <name><suffix><reason>".
void ReportCouldNotWrite(const char* name, const char* suffix, const char* reason) {
    ReportUnwritten(kCouldNotWrite, name, suffix, reason, reason);
}

// "Couldn't write <name><suffix>", with the reason when it is one the user
// can act on (write_failure.h). `hostKeys` and `firstFrame` place a number
// that is not finite.
void ReportWriteFailure(const char* name, const char* suffix, const void* hostKeys, std::int64_t firstFrame) {
    char reason[kStatusTextCapacity] = "";
    AppendFailureReason(reason, sizeof reason, hostKeys, firstFrame);
    ReportCouldNotWrite(name, suffix, reason);
}

// The name part of a host path, for a message when the host is not asked.
const char* FileNamePart(const char* path) {
    if (path == nullptr || BoundedLength(path, kPathCapacity) >= kPathCapacity) return "";
    return path + NamePartOffset(path);
}

Collection ChooseCollection(const ExportSettings& settings, std::int64_t keyCount) {
    if (settings.freezeMotion == kSamplingMode) return Collection::kFrames;
    if (settings.freezeMotion == kKeysMode && keyCount >= 1) return Collection::kKeys;
    return Collection::kCurrentValues;
}

// Why the export cannot run, or null. Checked before any file is touched.
const Problem* Refusal(const MotionJob& job) {
    const char* path = job.settings->destinationPath;
    if (path == nullptr) return &kNoPath;
    if (!IsUsableFrameRate(job.fps)) return &kBadFrameRate;
    if (job.collection == Collection::kFrames) {
        const std::int64_t frames = FrameCount(job);
        if (frames <= 0) return &kRangeBackwards;
        if (frames > kMaxFrames) return &kRangeTooLong;
    }
    return nullptr;
}

bool Collect(const MotionJob& job, const ChannelBuffers& buffers) {
    const std::int32_t coordinates = job.settings->coordinates;
    if (job.collection == Collection::kKeys) {
        return CollectKeys(job.item, coordinates, job.keyCount, buffers, job.progressName);
    }
    return CollectFrames(job.item, coordinates, job.firstFrame, job.lastFrame, buffers, job.progressName);
}

// The value each channel holds where no key keys it: the item's own value
// (Local), or for an item without keys in World its world value at frame 0,
// where the file holds it: the clock moves there, and the export puts it
// back at its end. World keys key every channel, so none is held.
void HeldValues(const MotionJob& job, double (&values)[kMotionChannels]) {
    const std::int32_t coordinates = job.settings->coordinates;
    if (coordinates == kWorldCoordinates) {
        if (job.collection == Collection::kKeys) return;
        SetAnimationClock(0.0);
        UpdateFXInterface(kReevaluateScene);
    }
    CollectCurrentValues(job.item, coordinates, values);
}

bool PrintMotion(const MotionJob& job, const ChannelBuffers& buffers, void* file) {
    const int channelCount = job.camera ? kCameraChannels : kMotionChannels;
    const std::int64_t firstTime = job.firstFrame + job.settings->frameOffset;
    const std::int64_t frameCount = FrameCount(job);
    const void* hostKeys = ItemKeys(job.item);
    double held[kMotionChannels] = {};
    if (job.collection != Collection::kFrames) HeldValues(job, held);
    MotionWriter writer;
    BeginWriting(&writer, file, StopOnEscape);
    WriteFileHeader(&writer, channelCount);
    for (int c = 0; c < channelCount; ++c) {
        WriteEnvelopeStart(&writer, c);
        switch (job.collection) {
            case Collection::kKeys:
                WriteKeyedBody(&writer, buffers.table[c], job.keyCount, hostKeys, job.fps, held[c]);
                break;
            case Collection::kFrames:
                WriteSampledBody(&writer, buffers.table[c], frameCount, firstTime, job.fps);
                break;
            case Collection::kCurrentValues:
                WriteHeldBody(&writer, held[c], 0.0);
                break;
        }
        WriteEnvelopeEnd(&writer);
    }
    return FinishWriting(&writer);
}

// Collects the motion into `buffers` and prints it into the staged file,
// which is closed when the result is kDone. The caller releases the buffers
// and discards the temporary file otherwise.
Outcome StageMotionFile(const MotionJob& job, StagedFile* staged, ChannelBuffers* buffers) {
    if (job.collection != Collection::kCurrentValues) {
        const std::int64_t entries = job.collection == Collection::kKeys ? job.keyCount : FrameCount(job);
        if (!AllocateChannelBuffers(buffers, entries)) return Outcome::kNoMemory;
        if (!Collect(job, *buffers)) return Outcome::kAborted;
    }
    if (!PrintMotion(job, *buffers, staged->file)) {
        return LastWriteFailure.wasStopped ? Outcome::kAborted : Outcome::kWriteFailed;
    }
    return CloseStagedFile(staged) ? Outcome::kDone : Outcome::kWriteFailed;
}

// The files of one export: the motion file and, for a camera, its zoom file.
struct ExportFiles {
    StagedFile motion;
    StagedFile zoom;  // a camera's only
};

// "Couldn't write <name><suffix>: <why the destination is refused>".
void ReportDestinationFault(const char* name, const char* suffix, const StagedFile& staged) {
    if (staged.fault == DestinationFault::kTooLong) {
        ReportProblem(kPathTooLong, name, suffix);
        return;
    }
    char reason[kStatusTextCapacity] = "";
    AppendDestinationFault(reason, sizeof reason, staged);
    ReportCouldNotWrite(name, suffix, reason);
}

// "Couldn't write <name><suffix>: same file as <item>".
void ReportSameFile(const char* name, const char* suffix, const void* earlier) {
    char reason[kStatusTextCapacity];
    TextBuilder(reason, sizeof reason).Append(": same file as ").Append(ItemName(earlier));
    ReportCouldNotWrite(name, suffix, reason);
}

// Names and checks every file of the export before any is touched: the
// names, what their destinations hold now, and whether an earlier item of
// the run wrote one of them. A camera whose zoom file is refused writes
// neither file. False, shown and noted, when the export may not run.
bool CheckExportFiles(const MotionJob& job, ExportFiles* files) {
    const char* base = job.settings->destinationPath;
    const char* name = job.progressName;
    NameStagedFile(&files->motion, base, kMotionFileSuffix);
    if (!CheckStagedFile(&files->motion)) {
        ReportDestinationFault(name, kMotionFileSuffix, files->motion);
        return false;
    }
    if (job.camera) {
        NameStagedFile(&files->zoom, base, kZoomFileSuffix);
        if (!CheckStagedFile(&files->zoom)) {
            NoteExportedFile(name, kMotionFileSuffix, false, kKeptWithZoomFile);
            ReportDestinationFault(name, kZoomFileSuffix, files->zoom);
            return false;
        }
    }
    if (const void* earlier = EarlierWriterOf(files->motion.target)) {
        ReportSameFile(name, kMotionFileSuffix, earlier);
        return false;
    }
    if (job.camera) {
        if (const void* earlier = EarlierWriterOf(files->zoom.target)) {
            NoteExportedFile(name, kMotionFileSuffix, false, kKeptWithZoomFile);
            ReportSameFile(name, kZoomFileSuffix, earlier);
            return false;
        }
    }
    return true;
}

// Prints a camera's zoom envelope into its staged file, once the motion
// file is complete and before either is moved into place.
ZoomOutcome StageZoomFile(const MotionJob& job, StagedFile* zoom) {
    ClearWriteFailure();
    const StageResult staged = StageZoomEnvelope(job.item, job.fps, zoom);
    if (staged == StageResult::kWriteFailed && LastWriteFailure.wasStopped) return ZoomOutcome::kAborted;
    if (staged == StageResult::kNoMemory) {
        ReportProblem(kOutOfMemory, job.progressName, kZoomFileSuffix);
        return ZoomOutcome::kFailed;
    }
    if (staged != StageResult::kWritten) {
        ReportWriteFailure(job.progressName, kZoomFileSuffix, ItemKeys(job.item), 0);
        return ZoomOutcome::kFailed;
    }
    return ZoomOutcome::kWritten;
}

// Moves a complete file into place and notes it. A folder that could not be
// synced afterwards still holds the new file: written, with a warning.
// False, shown, when the move failed.
bool PlaceFile(const MotionJob& job, StagedFile* staged, const char* suffix, bool* unsynced) {
    ClearWriteFailure();
    const Commit commit = CommitStagedFile(staged);
    if (commit == Commit::kFailed) {
        ReportWriteFailure(job.progressName, suffix, nullptr, 0);
        return false;
    }
    if (commit == Commit::kInPlaceNotSynced) *unsynced = true;
    NoteExportedFile(job.progressName, suffix, true, "");
    NoteWrittenFile(staged->target, job.item, commit == Commit::kInPlaceNotSynced);
    return true;
}

// "<name>.mot written; its folder could not be synced to the disk".
void ShowUnsyncedWarning(const char* name) {
    char message[kStatusTextCapacity];
    TextBuilder(message, sizeof message).Append(name).Append(kMotionFileSuffix).Append(kWrittenNotSynced);
    SetStatusMessage(message);
}

void RestoreClock(double savedClock) {
    SetAnimationClock(savedClock);
    UpdateFXInterface(kReevaluateScene);
}

// Why the motion file was not staged: no memory, or a failed write (with
// its reason, or the key or frame of a number that is not finite).
void ReportMotionFailure(const MotionJob& job, Outcome outcome) {
    if (outcome == Outcome::kNoMemory) {
        ReportProblem(kOutOfMemory, job.progressName, kMotionFileSuffix);
        return;
    }
    const void* hostKeys = job.collection == Collection::kKeys ? ItemKeys(job.item) : nullptr;
    // The values an item without keys holds are written at frame 0.
    const std::int64_t firstFrame = job.collection == Collection::kFrames ? job.firstFrame : 0;
    ReportWriteFailure(job.progressName, kMotionFileSuffix, hostKeys, firstFrame);
}

// The abort, in the host's order: the clock back, the abort text, the
// buffers released, the temporary files closed and removed: both files as
// they were.
std::int32_t Abort(const MotionJob& job, double savedClock, ChannelBuffers* buffers, ExportFiles* files) {
    RestoreClock(savedClock);
    ShowExportAborted();
    ReleaseChannelBuffers(buffers);
    DiscardStagedFile(&files->motion);
    if (job.camera) DiscardStagedFile(&files->zoom);
    return kExportAborted;
}

// Collects the motion and stages both files, then moves them into place:
// the export's result. The clock is saved first and always restored.
std::int32_t WriteExportFiles(const MotionJob& job, ExportFiles* files) {
    const double savedClock = AnimationClock();
    ClearWriteFailure();
    if (!OpenStagedFile(&files->motion)) {
        ReportWriteFailure(job.progressName, kMotionFileSuffix, nullptr, 0);
        return kExportNothingWritten;
    }
    ChannelBuffers buffers{};
    const Outcome outcome = StageMotionFile(job, &files->motion, &buffers);
    if (outcome == Outcome::kAborted) return Abort(job, savedClock, &buffers, files);
    if (outcome != Outcome::kDone) {
        DiscardStagedFile(&files->motion);
        ReleaseChannelBuffers(&buffers);
        ReportMotionFailure(job, outcome);
        RestoreClock(savedClock);
        return kExportNothingWritten;
    }
    // A camera's zoom file is complete too before either file moves; a zoom
    // file that fails still lets the new motion file in.
    const ZoomOutcome zoom = job.camera ? StageZoomFile(job, &files->zoom) : ZoomOutcome::kWritten;
    if (zoom == ZoomOutcome::kAborted) return Abort(job, savedClock, &buffers, files);

    // The normal end, in the host's order: the files, the buffers released,
    // the status back to idle, the clock back.
    bool unsynced = false;
    bool written = PlaceFile(job, &files->motion, kMotionFileSuffix, &unsynced);
    if (job.camera && zoom == ZoomOutcome::kWritten) {
        if (written) {
            written = PlaceFile(job, &files->zoom, kZoomFileSuffix, &unsynced);
        } else {
            DiscardStagedFile(&files->zoom);  // the pair stays as it was
        }
    }
    written = written && zoom == ZoomOutcome::kWritten;
    ReleaseChannelBuffers(&buffers);
    if (written && unsynced) {
        ShowUnsyncedWarning(job.progressName);
    } else if (written) {
        SetStatusIdle();
    }
    RestoreClock(savedClock);
    return written ? kExportDone : kExportNothingWritten;
}

}  // namespace

bool StopOnEscape() { return EscapePressed(); }

void ShowExportAborted() { SetStatusText(kAbortMessage, 0, 0, kProgressSaving); }

std::int32_t ExportItemMotion(void* item) {
    if (item == nullptr) return kExportNothingWritten;
    const ExportSettings* settings = FindSettings(item);
    if (settings == nullptr) {
        UpdateFXInterface(kReevaluateScene);
        return kExportDone;
    }
    if (settings->motionFormat != 0) {
        NoteExportedFile(FileNamePart(settings->destinationPath), kMotionFileSuffix, false,
                         ": its format is not written");
        return kExportNothingWritten;
    }

    char name[kFileNamePartCapacity] = "";
    char directory[kFileNamePartCapacity] = "";
    // A path without its NUL inside its buffer is never handed to the host.
    if (BoundedLength(settings->destinationPath, kPathCapacity) < kPathCapacity) {
        FindFileName(settings->destinationPath, name, directory);
    }
    const std::int32_t keyCount = ItemKeyCount(item);
    const MotionJob job{item,
                        settings,
                        IsCamera(item),
                        FramesPerSecond(),
                        ChooseCollection(*settings, keyCount),
                        keyCount,
                        settings->beginFrame,
                        settings->endFrame,
                        name};
    if (const Problem* refusal = Refusal(job)) {
        ReportProblem(*refusal, name, kMotionFileSuffix);
        return kExportNothingWritten;
    }
    ExportFiles files{};
    if (!CheckExportFiles(job, &files)) return kExportNothingWritten;
    return WriteExportFiles(job, &files);
}

}  // namespace corvantide
