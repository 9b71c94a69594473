// Export of one item's motion file (and a camera's zoom file).
#include "export/item_export.h"

#include "export/envelope_key.h"
#include "export/export_report.h"
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
#include "panel/status_area.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

constexpr char kCouldNotWrite[] = "Couldn't write";
constexpr char kNoMemoryMessage[] = "Not enough memory to write";
constexpr char kNoPath[] = "No destination path, not written:";
constexpr char kPathTooLong[] = "Path too long, not written:";
constexpr char kBadFrameRate[] = "Frames per second must be above 0, not written:";
constexpr char kRangeBackwards[] = "Frame range ends before it begins, not written:";
constexpr char kRangeTooLong[] = "Frame range too long, not written:";

constexpr std::int32_t kKeysMode = 0;
constexpr std::int32_t kSamplingMode = 1;

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

void AppendCut(char* text, std::size_t capacity, const char* part) {
    const std::size_t length = BoundedLength(text, capacity);
    CopyTextCut(text + length, capacity - length, part);
}

// Shows "<what> <name><suffix>" in the status area's message line, and notes
// the file as not written.
void ShowProblem(const char* what, const char* name, const char* suffix, const char* reason = "") {
    char message[kStatusTextCapacity];
    CopyTextCut(message, sizeof message, what);
    AppendCut(message, sizeof message, " ");
    AppendCut(message, sizeof message, name);
    AppendCut(message, sizeof message, suffix);
    AppendCut(message, sizeof message, reason);
    SetStatusMessage(message);
    NoteExportedFile(name, suffix, false);
}

bool IsBackslash(char c) { return c == '\\'; }

// "Couldn't write <name><suffix>", with the reason when it is one the user
// can act on (write_failure.h). `hostKeys` and `firstFrame` place a number
// that is not finite.
void ShowWriteFailure(const char* name, const char* suffix, const void* hostKeys, std::int64_t firstFrame) {
    char reason[kStatusTextCapacity] = "";
    AppendFailureReason(reason, sizeof reason, hostKeys, firstFrame);
    ShowProblem(kCouldNotWrite, name, suffix, reason);
}

// The part of a host path after its last backslash, for a message when the
// host is not asked.
const char* FileNamePart(const char* path) {
    const std::size_t length = BoundedLength(path, kPathCapacity);
    if (path == nullptr || length >= kPathCapacity) return "";
    return path + FolderPartLength(path, length, IsBackslash);
}

Collection ChooseCollection(const ExportSettings& settings, std::int64_t keyCount) {
    if (settings.freezeMotion == kSamplingMode) return Collection::kFrames;
    if (settings.freezeMotion == kKeysMode && keyCount >= 1) return Collection::kKeys;
    return Collection::kCurrentValues;
}

// Why the export cannot run, or null. Checked before any file is touched.
const char* Refusal(const MotionJob& job) {
    const char* path = job.settings->destinationPath;
    if (path == nullptr) return kNoPath;
    if (BoundedLength(path, kPathCapacity) > kMaxMotionBaseLength) return kPathTooLong;
    if (!IsUsableFrameRate(job.fps)) return kBadFrameRate;
    if (job.collection == Collection::kFrames) {
        const std::int64_t frames = FrameCount(job);
        if (frames <= 0) return kRangeBackwards;
        if (frames > kMaxFrames) return kRangeTooLong;
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
        return LastWriteFailure.stopped ? Outcome::kAborted : Outcome::kWriteFailed;
    }
    return CloseStagedFile(staged) ? Outcome::kDone : Outcome::kWriteFailed;
}

// A camera's zoom file, once its motion file is in place: whatever happens
// here, the motion file stays. On failure or abort the earlier zoom file is
// untouched; a failure is shown in the status area, naming the zoom file.
ZoomOutcome WriteZoomFile(const MotionJob& job) {
    const char* name = job.progressName;
    StagedFile zoom;
    if (BoundedLength(job.settings->destinationPath, kPathCapacity) > kMaxZoomBaseLength ||
        !NameStagedFile(&zoom, job.settings->destinationPath, kZoomFileSuffix)) {
        ShowProblem(kPathTooLong, name, kZoomFileSuffix);
        return ZoomOutcome::kFailed;
    }
    ClearWriteFailure();
    const StageResult staged = StageZoomEnvelope(job.item, job.fps, &zoom);
    if (staged == StageResult::kWriteFailed && LastWriteFailure.stopped) return ZoomOutcome::kAborted;
    if (staged == StageResult::kNoMemory) {
        ShowProblem(kNoMemoryMessage, name, kZoomFileSuffix);
        return ZoomOutcome::kFailed;
    }
    if (staged != StageResult::kWritten || !CommitStagedFile(&zoom)) {
        ShowWriteFailure(name, kZoomFileSuffix, ItemKeys(job.item), 0);
        return ZoomOutcome::kFailed;
    }
    NoteExportedFile(name, kZoomFileSuffix, true);
    return ZoomOutcome::kWritten;
}

void RestoreClock(double savedClock) {
    SetAnimationClock(savedClock);
    UpdateFXInterface(kReevaluateScene);
}

// The abort, in the host's order: the clock back, the abort text, the
// buffers released, the temporary file closed and removed.
std::int32_t Abort(double savedClock, ChannelBuffers* buffers, StagedFile* staged) {
    RestoreClock(savedClock);
    ShowExportAborted();
    ReleaseChannelBuffers(buffers);
    DiscardStagedFile(staged);
    return kExportAborted;
}

}  // namespace

bool StopOnEscape() { return EscapePressed() == 1; }

void ShowExportAborted() { SetStatusText(kAbortMessage, 0, 0, kProgressSaving); }

std::int32_t ExportItemMotion(void* item) {
    if (item == nullptr) return kExportNothingWritten;
    const bool camera = IsCamera(item);
    const ExportSettings* settings = FindSettings(item);
    if (settings == nullptr) {
        UpdateFXInterface(kReevaluateScene);
        return kExportDone;
    }
    if (settings->motionFormat != 0) {
        NoteExportedFile(FileNamePart(settings->destinationPath), kMotionFileSuffix, false);
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
                        camera,
                        FramesPerSecond(),
                        ChooseCollection(*settings, keyCount),
                        keyCount,
                        settings->beginFrame,
                        settings->endFrame,
                        name};
    if (const char* refusal = Refusal(job)) {
        ShowProblem(refusal, name, kMotionFileSuffix);
        return kExportNothingWritten;
    }

    const double savedClock = AnimationClock();
    ClearWriteFailure();
    StagedFile motion;
    if (!NameStagedFile(&motion, settings->destinationPath, kMotionFileSuffix) || !OpenStagedFile(&motion)) {
        ShowWriteFailure(name, kMotionFileSuffix, nullptr, 0);
        return kExportNothingWritten;
    }

    ChannelBuffers buffers{};
    Outcome outcome = StageMotionFile(job, &motion, &buffers);
    if (outcome == Outcome::kAborted) return Abort(savedClock, &buffers, &motion);
    if (outcome != Outcome::kDone) DiscardStagedFile(&motion);
    if (outcome == Outcome::kDone && !CommitStagedFile(&motion)) outcome = Outcome::kWriteFailed;

    // The normal end, in the host's order: the files, the buffers released,
    // the status back to idle, the clock back.
    bool written = outcome == Outcome::kDone;
    if (written) {
        NoteExportedFile(name, kMotionFileSuffix, true);
        const ZoomOutcome zoom = camera ? WriteZoomFile(job) : ZoomOutcome::kWritten;
        if (zoom == ZoomOutcome::kAborted) return Abort(savedClock, &buffers, &motion);
        written = zoom == ZoomOutcome::kWritten;
        ReleaseChannelBuffers(&buffers);
        if (written) SetStatusIdle();
    } else {
        ReleaseChannelBuffers(&buffers);
        if (outcome == Outcome::kNoMemory) {
            ShowProblem(kNoMemoryMessage, name, kMotionFileSuffix);
        } else {
            const void* hostKeys = job.collection == Collection::kKeys ? ItemKeys(item) : nullptr;
            // The values an item without keys holds are written at frame 0.
            const std::int64_t firstFrame = job.collection == Collection::kFrames ? job.firstFrame : 0;
            ShowWriteFailure(name, kMotionFileSuffix, hostKeys, firstFrame);
        }
    }
    RestoreClock(savedClock);
    return written ? kExportDone : kExportNothingWritten;
}

}  // namespace corvantide
