// Motion file text.
#include "export/motion_writer.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string_view>

#include "export/file_output.h"
#include "export/number_format.h"
#include "export/write_failure.h"
#include "host/item_record.h"

namespace corvantide {

namespace {

// A key line: seven numbers, an integer and the literal text around them.
constexpr std::size_t kMaxLineLength = 7 * (kMaxFixedLength + 1) + kMaxIntLength + 32;
static_assert(kMaxLineLength < kWriteChunk);

// The text not yet written, of the writer last begun.
char chunk[kWriteChunk];

constexpr char kPlaceholderBody[] = "  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n";
// A span of shape 0 with zero parameters: every sampled line, every World
// key, and a key that holds a value.
constexpr char kZeroSpan[] = " 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n";
constexpr char kZeroZoomSpan[] = " 0 0.000000 0.000000 0.000000 0 0 0\n";

void Flush(MotionWriter* writer) {
    if (writer->used == 0) return;
    errno = 0;
    if (!writer->failed && !FileOutput.write(writer->file, chunk, writer->used)) {
        writer->failed = true;
        NoteFailedOperation(errno);
    }
    writer->used = 0;
}

// Room for one line at the end of the chunk; between chunks the writer may
// be stopped.
char* LineStart(MotionWriter* writer) {
    if (kWriteChunk - writer->used < kMaxLineLength) {
        Flush(writer);
        if (!writer->failed && writer->stopRequested != nullptr && writer->stopRequested()) {
            writer->failed = true;
            NoteStopped();
        }
    }
    return chunk + writer->used;
}

void LineEnd(MotionWriter* writer, const char* end) { writer->used = static_cast<std::size_t>(end - chunk); }

template <std::size_t N>
char* Literal(char* at, const char (&text)[N]) {
    std::memcpy(at, text, N - 1);
    return at + (N - 1);
}

void WriteLiteral(MotionWriter* writer, const char* text) {
    char* at = LineStart(writer);
    const std::size_t length = std::strlen(text);
    std::memcpy(at, text, length);
    LineEnd(writer, at + length);
}

void WriteCountLine(MotionWriter* writer, std::int64_t count) {
    char* at = Literal(LineStart(writer), "  ");
    at = AppendInt(at, count);
    *at++ = '\n';
    LineEnd(writer, at);
}

void WriteBehaviours(MotionWriter* writer, std::int32_t pre, std::int32_t post) {
    char* at = Literal(LineStart(writer), "  Behaviors ");
    at = AppendInt(at, pre);
    *at++ = ' ';
    at = AppendInt(at, post);
    *at++ = '\n';
    LineEnd(writer, at);
}

// A number that is not finite ("inf", "nan") reads back as no number at all:
// it fails the file as a failed write does, so no such file replaces another.
char* AppendNumber(MotionWriter* writer, char* at, double value, bool time = false) {
    if (!std::isfinite(value)) {
        writer->failed = true;
        NoteNotANumber(writer->channel, writer->entry, time);
    }
    return AppendFixed(at, value);
}

// " shape p1 p2 p3 p4 p5 0" and the line end. Parameters that are all +0
// (every sampled line, every World key, linear and stepped keys) are copied
// as one run, with the shape when it is 0 as well.
char* AppendSpan(MotionWriter* writer, char* at, const EnvelopeKey& entry) {
    static constexpr char kZeroParameters[] = " 0.000000 0.000000 0.000000 0.000000 0.000000 0\n";
    const float parameters[] = {entry.p1, entry.p2, entry.p3, entry.p4, entry.p5};
    std::uint32_t bits = 0;
    for (float parameter : parameters) bits |= std::bit_cast<std::uint32_t>(parameter);
    if ((bits | static_cast<std::uint32_t>(entry.shape)) == 0) return Literal(at, kZeroSpan);
    *at++ = ' ';
    at = AppendInt(at, entry.shape);
    if (bits == 0) return Literal(at, kZeroParameters);
    for (float parameter : parameters) {
        *at++ = ' ';
        at = AppendNumber(writer, at, static_cast<double>(parameter));
    }
    return Literal(at, " 0\n");
}

// The time column of the file being written. It is the same in every
// channel, so each time is formatted by the first channel that prints it and
// copied by the others. One file is written at a time on the interface
// thread; the column belongs to one writer and one set of times (a sampled
// range, or host keys that do not change while the file is written), and
// starts empty whenever either changes.
constexpr std::size_t kTimeTextWidth = 16;  // "-12345678.123456"
constexpr std::uint8_t kNotFormatted = 0;
constexpr std::uint8_t kTooWide = 0xFF;  // formatted on every line

enum class Times { kSampled, kHostKeys };

struct TimeColumn {
    const MotionWriter* writer;
    Times times;
    const void* hostKeys;
    std::int64_t firstTime;
    std::uint64_t fpsBits;
    std::int64_t used;  // slots below this may hold a text
    std::uint8_t length[kTimeColumnCapacity];
    char text[kTimeColumnCapacity][kTimeTextWidth];
};

TimeColumn timeColumn;

void ClearTimeColumn() {
    std::memset(timeColumn.length, kNotFormatted, static_cast<std::size_t>(timeColumn.used));
    timeColumn.used = 0;
    timeColumn.writer = nullptr;
}

TimeColumn& OpenTimeColumn(const MotionWriter* writer, Times times, const void* hostKeys,
                           std::int64_t firstTime, double fps) {
    TimeColumn& column = timeColumn;
    const std::uint64_t fpsBits = std::bit_cast<std::uint64_t>(fps);
    if (column.writer != writer || column.times != times || column.hostKeys != hostKeys ||
        column.firstTime != firstTime || column.fpsBits != fpsBits) {
        ClearTimeColumn();
        column.writer = writer;
        column.times = times;
        column.hostKeys = hostKeys;
        column.firstTime = firstTime;
        column.fpsBits = fpsBits;
    }
    return column;
}

// Time j of the column; `time` computes it when it is not formatted yet.
template <typename Time>
char* AppendTime(MotionWriter* writer, char* at, TimeColumn& column, std::int64_t j, Time time) {
    if (j >= kTimeColumnCapacity) return AppendNumber(writer, at, time(), true);
    const auto slot = static_cast<std::size_t>(j);
    const std::uint8_t length = column.length[slot];
    if (length == kNotFormatted) {
        char* end = AppendNumber(writer, at, time(), true);
        const auto size = static_cast<std::size_t>(end - at);
        if (size <= kTimeTextWidth) {
            std::memcpy(column.text[slot], at, size);
            column.length[slot] = static_cast<std::uint8_t>(size);
        } else {
            column.length[slot] = kTooWide;
        }
        if (j >= column.used) column.used = j + 1;
        return end;
    }
    if (length == kTooWide) return AppendNumber(writer, at, time(), true);
    std::memcpy(at, column.text[slot], kTimeTextWidth);  // the line has room; only `length` counts
    return at + length;
}

// "  Key " and the value, up to the time.
char* KeyLineStart(MotionWriter* writer, const EnvelopeKey& entry) {
    char* at = Literal(LineStart(writer), "  Key ");
    at = AppendNumber(writer, at, entry.value);
    *at++ = ' ';
    return at;
}

// The rest of a zoom key line: shape 0, slot 12's tension, continuity and bias.
char* AppendZoomSpan(MotionWriter* writer, char* at, const EnvelopeKey&, const void* key) {
    constexpr int slot = key_record::kZoomSlot;
    at = Literal(at, " 0");
    const float parameters[] = {KeyTension(key, slot), KeyContinuity(key, slot), KeyBias(key, slot)};
    for (float parameter : parameters) {
        *at++ = ' ';
        at = AppendNumber(writer, at, static_cast<double>(parameter));
    }
    return Literal(at, " 0 0 0\n");
}

char* AppendEntrySpan(MotionWriter* writer, char* at, const EnvelopeKey& entry, const void*) {
    return AppendSpan(writer, at, entry);
}

// "  1", one key of `value` at `seconds` whose span (with its line end) is
// `span`, Constant behaviours.
void WriteOneKey(MotionWriter* writer, double value, double seconds, std::string_view span) {
    writer->entry = 0;
    WriteCountLine(writer, 1);
    char* at = Literal(LineStart(writer), "  Key ");
    at = AppendNumber(writer, at, value);
    *at++ = ' ';
    at = AppendNumber(writer, at, seconds);
    std::memcpy(at, span.data(), span.size());
    LineEnd(writer, at + span.size());
    WriteBehaviours(writer, kConstantBehaviour, kConstantBehaviour);
}

std::int64_t IncludedCount(const EnvelopeKey* entries, std::int64_t keyCount) {
    std::int64_t count = 0;
    for (std::int64_t j = 0; j < keyCount; ++j) count += entries[j].include == 1 ? 1 : 0;
    return count;
}

using SpanWriter = char* (*)(MotionWriter*, char* at, const EnvelopeKey&, const void* hostKey);
enum class Behaviour { kFirstEntry, kAlwaysConstant };

// The keys whose entry includes them, each at its host key's time. Host keys
// that include none hold `heldValue` from host key 0's time, with `heldSpan`;
// no host keys at all give the placeholder.
void WriteIncludedKeys(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                       const void* hostKeys, double fps, SpanWriter appendSpan, Behaviour behaviour,
                       double heldValue, std::string_view heldSpan) {
    const std::int64_t count = IncludedCount(entries, keyCount);
    if (count == 0 && keyCount >= 1) {
        WriteOneKey(writer, heldValue, KeyTime(KeyAt(hostKeys, 0)) / fps, heldSpan);
        return;
    }
    if (count == 0) {
        WritePlaceholderBody(writer);
        return;
    }
    WriteCountLine(writer, count);
    TimeColumn& column = OpenTimeColumn(writer, Times::kHostKeys, hostKeys, 0, fps);
    for (std::int64_t j = 0; j < keyCount; ++j) {
        if (writer->failed) return;  // the file is given up: stopped, or it could not be read back
        if (entries[j].include != 1) continue;
        const void* key = KeyAt(hostKeys, j);
        writer->entry = j;
        char* at = KeyLineStart(writer, entries[j]);
        at = AppendTime(writer, at, column, j, [key, fps] { return KeyTime(key) / fps; });
        LineEnd(writer, appendSpan(writer, at, entries[j], key));
    }
    const std::int32_t code = behaviour == Behaviour::kFirstEntry ? entries[0].behaviour : kConstantBehaviour;
    WriteBehaviours(writer, code, code);
}

}  // namespace

bool IsUsableFrameRate(double fps) { return std::isfinite(fps) && fps > 0.0; }

void BeginWriting(MotionWriter* writer, void* file, bool (*stopRequested)()) {
    ClearTimeColumn();
    writer->file = file;
    writer->used = 0;
    writer->failed = false;
    writer->stopRequested = stopRequested;
    writer->channel = kZoomChannel;
    writer->entry = 0;
}

bool FinishWriting(MotionWriter* writer) {
    Flush(writer);
    return !writer->failed;
}

void WriteFileHeader(MotionWriter* writer, int channelCount) {
    char* at = Literal(LineStart(writer), "LWMO\n3\n\nNumChannels ");
    at = AppendInt(at, channelCount);
    *at++ = '\n';
    LineEnd(writer, at);
}

void WriteEnvelopeStart(MotionWriter* writer, int channel) {
    writer->channel = channel < 0 ? kZoomChannel : channel;
    char* at = LineStart(writer);
    if (channel >= 0) {
        at = Literal(at, "Channel ");
        at = AppendInt(at, channel);
        *at++ = '\n';
    }
    at = Literal(at, "{ Envelope\n");
    LineEnd(writer, at);
}

void WriteEnvelopeEnd(MotionWriter* writer) { WriteLiteral(writer, "}\n"); }

void WritePlaceholderBody(MotionWriter* writer) { WriteLiteral(writer, kPlaceholderBody); }

void WriteHeldBody(MotionWriter* writer, double value, double seconds) {
    WriteOneKey(writer, value, seconds, kZeroSpan);
}

void WriteKeyedBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                    const void* hostKeys, double fps, double unkeyedValue) {
    WriteIncludedKeys(writer, entries, keyCount, hostKeys, fps, AppendEntrySpan, Behaviour::kFirstEntry,
                      unkeyedValue, kZeroSpan);
}

void WriteSampledBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t frameCount,
                      std::int64_t firstTime, double fps) {
    if (frameCount <= 0) {
        WritePlaceholderBody(writer);
        return;
    }
    WriteCountLine(writer, frameCount);
    TimeColumn& column = OpenTimeColumn(writer, Times::kSampled, nullptr, firstTime, fps);
    for (std::int64_t j = 0; j < frameCount; ++j) {
        if (writer->failed) return;
        writer->entry = j;
        char* at = KeyLineStart(writer, entries[j]);
        at = AppendTime(writer, at, column, j,
                        [firstTime, j, fps] { return static_cast<double>(firstTime + j) / fps; });
        LineEnd(writer, AppendSpan(writer, at, entries[j]));
    }
    WriteBehaviours(writer, kConstantBehaviour, kConstantBehaviour);
}

void WriteZoomBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                   const void* hostKeys, double fps) {
    const double firstZoom = keyCount >= 1 ? entries[0].value : 0.0;
    WriteIncludedKeys(writer, entries, keyCount, hostKeys, fps, AppendZoomSpan, Behaviour::kAlwaysConstant,
                      firstZoom, kZeroZoomSpan);
}

}  // namespace corvantide
