// Motion file text.
#include "export/motion_writer.h"

#include <cmath>
#include <cstring>

#include "export/file_output.h"
#include "export/number_format.h"
#include "host/item_record.h"

namespace corvantide {

namespace {

// A key line: seven numbers, an integer and the literal text around them.
constexpr std::size_t kMaxLineLength = 7 * (kMaxFixedLength + 1) + kMaxIntLength + 32;
static_assert(kMaxLineLength < kWriteChunk);

constexpr char kPlaceholderBody[] = "  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n";

void Flush(MotionWriter* writer) {
    if (writer->used == 0) return;
    if (!writer->failed && !FileOutput.write(writer->file, writer->chunk, writer->used)) {
        writer->failed = true;
    }
    writer->used = 0;
}

// Room for one line at the end of the chunk.
char* LineStart(MotionWriter* writer) {
    if (kWriteChunk - writer->used < kMaxLineLength) Flush(writer);
    return writer->chunk + writer->used;
}

void LineEnd(MotionWriter* writer, const char* end) {
    writer->used = static_cast<std::size_t>(end - writer->chunk);
}

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
char* AppendNumber(MotionWriter* writer, char* at, double value) {
    if (!std::isfinite(value)) writer->failed = true;
    return AppendFixed(at, value);
}

void WriteKeyLine(MotionWriter* writer, const EnvelopeKey& entry, double time) {
    char* at = Literal(LineStart(writer), "  Key ");
    at = AppendNumber(writer, at, entry.value);
    *at++ = ' ';
    at = AppendNumber(writer, at, time);
    *at++ = ' ';
    at = AppendInt(at, entry.shape);
    const float parameters[] = {entry.p1, entry.p2, entry.p3, entry.p4, entry.p5};
    for (float parameter : parameters) {
        *at++ = ' ';
        at = AppendNumber(writer, at, static_cast<double>(parameter));
    }
    at = Literal(at, " 0\n");
    LineEnd(writer, at);
}

void WriteZoomLine(MotionWriter* writer, const EnvelopeKey& entry, double time, const void* key) {
    constexpr int slot = key_record::kZoomSlot;
    char* at = Literal(LineStart(writer), "  Key ");
    at = AppendNumber(writer, at, entry.value);
    *at++ = ' ';
    at = AppendNumber(writer, at, time);
    at = Literal(at, " 0");
    const float parameters[] = {KeyTension(key, slot), KeyContinuity(key, slot), KeyBias(key, slot)};
    for (float parameter : parameters) {
        *at++ = ' ';
        at = AppendNumber(writer, at, static_cast<double>(parameter));
    }
    at = Literal(at, " 0 0 0\n");
    LineEnd(writer, at);
}

std::int64_t IncludedCount(const EnvelopeKey* entries, std::int64_t keyCount) {
    std::int64_t count = 0;
    for (std::int64_t j = 0; j < keyCount; ++j) count += entries[j].include == 1 ? 1 : 0;
    return count;
}

void WriteMotionKeyLine(MotionWriter* writer, const EnvelopeKey& entry, double time, const void*) {
    WriteKeyLine(writer, entry, time);
}

using KeyLineWriter = void (*)(MotionWriter*, const EnvelopeKey&, double time, const void* hostKey);
enum class Behaviour { kFirstEntry, kAlwaysConstant };

// The keys whose entry includes them, each at its host key's time; a body
// without any is the placeholder.
void WriteIncludedKeys(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                       const void* hostKeys, double fps, KeyLineWriter writeLine, Behaviour behaviour) {
    const std::int64_t count = IncludedCount(entries, keyCount);
    if (count == 0) {
        WritePlaceholderBody(writer);
        return;
    }
    WriteCountLine(writer, count);
    for (std::int64_t j = 0; j < keyCount; ++j) {
        if (entries[j].include != 1) continue;
        const void* key = KeyAt(hostKeys, j);
        writeLine(writer, entries[j], KeyTime(key) / fps, key);
    }
    const std::int32_t code = behaviour == Behaviour::kFirstEntry ? entries[0].behaviour : kConstantBehaviour;
    WriteBehaviours(writer, code, code);
}

}  // namespace

bool IsUsableFrameRate(double fps) { return std::isfinite(fps) && fps > 0.0; }

void BeginWriting(MotionWriter* writer, void* file) {
    writer->file = file;
    writer->used = 0;
    writer->failed = false;
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

void WriteKeyedBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                    const void* hostKeys, double fps) {
    WriteIncludedKeys(writer, entries, keyCount, hostKeys, fps, WriteMotionKeyLine, Behaviour::kFirstEntry);
}

void WriteSampledBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t frameCount,
                      std::int64_t firstTime, double fps) {
    if (frameCount <= 0) {
        WritePlaceholderBody(writer);
        return;
    }
    WriteCountLine(writer, frameCount);
    for (std::int64_t j = 0; j < frameCount; ++j) {
        WriteKeyLine(writer, entries[j], static_cast<double>(firstTime + j) / fps);
    }
    WriteBehaviours(writer, kConstantBehaviour, kConstantBehaviour);
}

void WriteZoomBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                   const void* hostKeys, double fps) {
    WriteIncludedKeys(writer, entries, keyCount, hostKeys, fps, WriteZoomLine, Behaviour::kAlwaysConstant);
}

}  // namespace corvantide
