// Reasons a file was not written, as the user reads them.
#include "export/write_failure.h"

#include <cerrno>
#include <charconv>
#include <cmath>

#include "host/item_record.h"
#include "host/text_builder.h"

namespace corvantide {

namespace {

constexpr const char* kChannelNames[] = {"Position X", "Position Y", "Position Z", "Heading", "Pitch",
                                         "Bank",       "Scale X",    "Scale Y",    "Scale Z"};
constexpr int kNamedChannels = static_cast<int>(sizeof kChannelNames / sizeof kChannelNames[0]);
// "-1.7976931348623157e+308" and the NUL, the longest shortest form of a double.
constexpr std::size_t kFrameTextCapacity = 32;

const char* ErrorReason(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return "the folder does not exist";
        case EACCES:
        case EPERM:
        case EROFS:
            return "access denied";
        case ENOSPC:
#if defined(EDQUOT)
        case EDQUOT:
#endif
            return "the disk is full";
        case ENAMETOOLONG:
            return "the path is too long";
        default:
            return nullptr;
    }
}

// "frame 12", "frame 12.5", or "key 3" for a key whose time is no number.
void AppendWhere(TextBuilder& text, const void* hostKeys, std::int64_t firstFrame, std::int64_t entry) {
    char number[kFrameTextCapacity] = "";
    const char* what = "frame ";
    std::to_chars_result end{};
    if (hostKeys == nullptr) {
        end = std::to_chars(number, number + sizeof number - 1, firstFrame + entry);
    } else if (const double time = KeyTime(KeyAt(hostKeys, entry)); std::isfinite(time)) {
        end = std::to_chars(number, number + sizeof number - 1, time);
    } else {
        what = "key ";
        end = std::to_chars(number, number + sizeof number - 1, entry + 1);
    }
    *end.ptr = '\0';
    text.Append(what).Append(number);
}

}  // namespace

WriteFailure LastWriteFailure{0, kNoChannel, 0, false, false};

void ClearWriteFailure() { LastWriteFailure = WriteFailure{0, kNoChannel, 0, false, false}; }

void NoteFailedOperation(int error) {
    if (LastWriteFailure.error == 0) LastWriteFailure.error = error;
}

void NoteNotANumber(int channel, std::int64_t entry, bool isTime) {
    if (LastWriteFailure.channel != kNoChannel) return;
    LastWriteFailure.channel = channel;
    LastWriteFailure.entry = entry;
    LastWriteFailure.isTime = isTime;
}

void NoteStopped() { LastWriteFailure.wasStopped = true; }

void AppendFailureReason(char* message, std::size_t capacity, const void* hostKeys, std::int64_t firstFrame) {
    const WriteFailure& failure = LastWriteFailure;
    TextBuilder text = TextBuilder::Continuing(message, capacity);
    if (failure.channel != kNoChannel) {
        const bool named = failure.channel >= 0 && failure.channel < kNamedChannels;
        text.Append(failure.isTime ? ": the time of " : ": ");
        if (!failure.isTime) text.Append(named ? kChannelNames[failure.channel] : "Zoom Factor").Append(" at ");
        AppendWhere(text, hostKeys, firstFrame, failure.entry);
        text.Append(" is not a number");
        return;
    }
    if (const char* reason = ErrorReason(failure.error)) text.Append(": ").Append(reason);
}

}  // namespace corvantide
