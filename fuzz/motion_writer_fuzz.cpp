// The motion writer with random channel buffers, counts, key times and frame
// rates, writing through in-memory file operations that may run out of room.
// Whatever it prints must read back through the strict reader with the
// counts written and every number as "%f" prints it.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "export/envelope_key.h"
#include "export/file_output.h"
#include "export/motion_writer.h"
#include "host/item_record.h"
#include "motfile/motion_reader.h"

namespace {

using corvantide::EnvelopeKey;
namespace key_record = corvantide::key_record;
namespace motfile = corvantide::motfile;

// Bounds that keep one run short; the writer's own limits are far larger.
// Most runs take a few keys or frames, now and then a few dozen.
constexpr std::int64_t kMaxShortCount = 4;
constexpr std::int64_t kMaxKeys = 32;
constexpr std::int64_t kMaxFrames = 48;
// Shapes and behaviours the collection ever puts into an entry.
constexpr std::int32_t kShapes[] = {0, 2, 3, 4};
constexpr std::int32_t kLastBehaviour = 5;

// One file in memory, through the exporter's file operations. A file may
// hold at most `room` bytes; a write beyond that fails, as on a full disk.
struct MemoryFile {
    std::string text;
    std::size_t room = 0;
};
MemoryFile memory;

void* OpenInMemory(const char*) {
    memory.text.clear();
    return &memory;
}
bool WriteToMemory(void* file, const char* data, std::size_t size) {
    auto* open = static_cast<MemoryFile*>(file);
    if (size > open->room - open->text.size()) return false;
    open->text.append(data, size);
    return true;
}
bool CloseInMemory(void*) { return true; }
bool ReplaceInMemory(const char*, const char*) { return true; }
bool RemoveInMemory(const char*) { return true; }

// The number as C's "%f" prints it and a reader parses it back; the library's
// exact conversions stand in for printf and strtod, which are far slower.
double AsPrinted(double value) {
    char text[400];
    const auto printed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    double parsed = 0.0;
    std::from_chars(text, printed.ptr, parsed);
    return parsed;
}

void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "motion writer: %s\n", what);
    std::abort();
}

void ExpectNumber(double parsed, double written, const char* what) {
    Expect(parsed == AsPrinted(written), what);
}

struct Channel {
    std::vector<EnvelopeKey> entries;  // exactly as many as the body reads
    double held;                       // the keyed body's value where no key keys the channel
};

std::size_t IncludedCount(const Channel& channel) {
    std::size_t count = 0;
    for (const EnvelopeKey& entry : channel.entries) count += entry.include == 1 ? 1 : 0;
    return count;
}

// Mostly values of a scene's size; now and then any finite number at all,
// or one that is not finite, as a broken host may hand over.
template <typename T>
T Number(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange<int>(0, 31)) {
        case 31:
            return data.PickValueInArray({std::numeric_limits<T>::infinity(),
                                          -std::numeric_limits<T>::infinity(),
                                          std::numeric_limits<T>::quiet_NaN()});
        case 30:
            return data.ConsumeFloatingPoint<T>();
        default:
            return data.ConsumeFloatingPointInRange<T>(T(-1e6), T(1e6));
    }
}

EnvelopeKey RandomEntry(FuzzedDataProvider& data) {
    EnvelopeKey entry{};
    entry.value = Number<double>(data);
    entry.include = data.ConsumeBool() ? 1 : 0;
    entry.shape = data.PickValueInArray(kShapes);
    entry.p1 = Number<float>(data);
    entry.p2 = Number<float>(data);
    entry.p3 = Number<float>(data);
    entry.p4 = Number<float>(data);
    entry.p5 = Number<float>(data);
    entry.behaviour = data.ConsumeIntegralInRange<std::int32_t>(0, kLastBehaviour);
    return entry;
}

// Host key records in time order, as the host keeps them, with zoom TCB values.
std::vector<unsigned char> HostKeys(FuzzedDataProvider& data, std::int64_t count) {
    std::vector<unsigned char> keys(static_cast<std::size_t>(count) * key_record::kSize);
    double time = data.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    for (std::int64_t j = 0; j < count; ++j) {
        unsigned char* key = keys.data() + static_cast<std::size_t>(j) * key_record::kSize;
        std::memcpy(key + key_record::kTime, &time, sizeof time);
        const float tcb[] = {Number<float>(data), Number<float>(data), Number<float>(data)};
        const std::size_t slot = 4 * static_cast<std::size_t>(key_record::kZoomSlot);
        std::memcpy(key + key_record::kTension + slot, &tcb[0], sizeof(float));
        std::memcpy(key + key_record::kContinuity + slot, &tcb[1], sizeof(float));
        std::memcpy(key + key_record::kBias + slot, &tcb[2], sizeof(float));
        time += data.ConsumeFloatingPointInRange<double>(0.0, 1e4);
    }
    return keys;
}

double KeyTime(const std::vector<unsigned char>& keys, std::int64_t j) {
    return corvantide::KeyTime(corvantide::KeyAt(keys.data(), j));
}

// One key line as the writer should print it.
struct Printed {
    double value;
    double time;
    std::int32_t shape;
    std::array<float, 5> parameters;
};

void ExpectKey(const motfile::MotionKey& key, const Printed& printed) {
    ExpectNumber(key.value, printed.value, "value");
    ExpectNumber(key.time, printed.time, "time");
    Expect(key.shape == printed.shape, "shape");
    for (std::size_t p = 0; p < printed.parameters.size(); ++p) {
        ExpectNumber(key.params[p], static_cast<double>(printed.parameters[p]), "parameter");
    }
    Expect(key.params[5] == 0.0, "p6");
}

enum class Body { kKeyed, kSampled, kZoom };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const Body body = static_cast<Body>(data.ConsumeIntegralInRange<int>(0, 2));
    const bool camera = data.ConsumeBool();
    const int channelCount = body == Body::kZoom ? 1
                             : camera            ? corvantide::kCameraChannels
                                                 : corvantide::kMotionChannels;
    // The exporter refuses every other frame rate before it writes.
    double fps = data.PickValueInArray({24.0, 25.0, 29.97, 30.0, 60.0});
    switch (data.ConsumeIntegralInRange<int>(0, 4)) {
        case 1:
            fps = data.ConsumeFloatingPoint<double>();
            break;
        case 2:
            fps = data.ConsumeFloatingPointInRange<double>(0.0, 1e-3);
            break;
        case 3:
            fps = data.ConsumeFloatingPointInRange<double>(0.0, 1e3);
            break;
        case 4:
            fps = data.ConsumeFloatingPointInRange<double>(0.0, 1e-300);
            break;  // times overflow
        default:
            break;
    }
    if (!corvantide::IsUsableFrameRate(fps)) return -1;

    const bool longRun = data.ConsumeIntegralInRange<int>(0, 63) == 0;
    const std::int64_t count =
        data.ConsumeIntegralInRange<std::int64_t>(0, !longRun                 ? kMaxShortCount
                                                     : body == Body::kSampled ? kMaxFrames
                                                                              : kMaxKeys);
    // Usually room enough; sometimes the file system fails a write.
    const bool roomy = data.ConsumeIntegralInRange<int>(0, 7) != 0;
    const std::size_t room = roomy ? std::string::npos : data.ConsumeIntegralInRange<std::size_t>(0, 1 << 16);
    // The first written frame is a begin frame plus an offset, both 32-bit.
    const std::int64_t firstTime =
        std::int64_t{data.ConsumeIntegral<std::int32_t>()} + std::int64_t{data.ConsumeIntegral<std::int32_t>()};
    const std::vector<unsigned char> keys = HostKeys(data, body == Body::kSampled ? 0 : count);
    std::vector<Channel> channels(static_cast<std::size_t>(channelCount));
    for (Channel& channel : channels) {
        channel.entries.reserve(static_cast<std::size_t>(count));
        for (std::int64_t j = 0; j < count; ++j) channel.entries.push_back(RandomEntry(data));
        channel.held = Number<double>(data);
        if (body == Body::kZoom) {
            for (EnvelopeKey& entry : channel.entries) {
                entry.shape = 0;
                entry.behaviour = 0;
            }
        }
    }

    corvantide::FileOutput = {OpenInMemory, WriteToMemory, CloseInMemory, ReplaceInMemory, RemoveInMemory};
    memory.room = room;
    static corvantide::MotionWriter writer;
    void* file = corvantide::FileOutput.open("fuzz.mot");
    corvantide::BeginWriting(&writer, file);
    if (body != Body::kZoom) corvantide::WriteFileHeader(&writer, channelCount);
    for (int c = 0; c < channelCount; ++c) {
        const EnvelopeKey* entries = channels[static_cast<std::size_t>(c)].entries.data();
        corvantide::WriteEnvelopeStart(&writer, body == Body::kZoom ? -1 : c);
        if (body == Body::kKeyed) {
            corvantide::WriteKeyedBody(&writer, entries, count, keys.data(), fps,
                                       channels[static_cast<std::size_t>(c)].held);
        }
        if (body == Body::kSampled) corvantide::WriteSampledBody(&writer, entries, count, firstTime, fps);
        if (body == Body::kZoom) corvantide::WriteZoomBody(&writer, entries, count, keys.data(), fps);
        corvantide::WriteEnvelopeEnd(&writer);
    }
    const bool written = corvantide::FinishWriting(&writer) && corvantide::FileOutput.close(file);

    // What the file should hold, channel by channel.
    std::vector<std::vector<Printed>> expected(channels.size());
    bool finite = true;
    for (int c = 0; c < channelCount; ++c) {
        const std::vector<EnvelopeKey>& entries = channels[static_cast<std::size_t>(c)].entries;
        for (std::int64_t j = 0; j < count; ++j) {
            const EnvelopeKey& entry = entries[static_cast<std::size_t>(j)];
            if (body != Body::kSampled && entry.include != 1) continue;
            Printed key{entry.value, 0.0, entry.shape, {entry.p1, entry.p2, entry.p3, entry.p4, entry.p5}};
            if (body == Body::kSampled) {
                key.time = static_cast<double>(firstTime + j) / fps;
            } else {
                key.time = KeyTime(keys, j) / fps;
            }
            if (body == Body::kZoom) {
                const void* hostKey = corvantide::KeyAt(keys.data(), j);
                const int slot = key_record::kZoomSlot;
                key.shape = 0;
                key.parameters = {corvantide::KeyTension(hostKey, slot),
                                  corvantide::KeyContinuity(hostKey, slot), corvantide::KeyBias(hostKey, slot),
                                  0.0F, 0.0F};
            }
            finite = finite && std::isfinite(key.value) && std::isfinite(key.time);
            for (float parameter : key.parameters) finite = finite && std::isfinite(parameter);
            expected[static_cast<std::size_t>(c)].push_back(key);
        }
        // Host keys that never key the channel hold one value from key 0's time.
        if (body != Body::kSampled && count >= 1 && expected[static_cast<std::size_t>(c)].empty()) {
            const double held =
                body == Body::kKeyed ? channels[static_cast<std::size_t>(c)].held : entries[0].value;
            const Printed key{held, KeyTime(keys, 0) / fps, 0, {0.0F, 0.0F, 0.0F, 0.0F, 0.0F}};
            finite = finite && std::isfinite(key.value) && std::isfinite(key.time);
            expected[static_cast<std::size_t>(c)].push_back(key);
        }
    }
    // A number that is not finite fails the file, as a write that does not
    // fit does; anything else is written.
    if (!finite) Expect(!written, "a number that is not finite was written");
    if (finite && roomy) Expect(written, "a sound file was refused");
    if (!written) return 0;

    const motfile::ReadResult read = motfile::ParseMotionText(memory.text);
    if (!read.ok) {
        std::fprintf(stderr, "line %d: %s\n", read.error.line, read.error.reason.c_str());
        Expect(false, "the written text does not read back");
    }
    Expect(read.file.envelopes.size() == static_cast<std::size_t>(channelCount), "channel count");
    for (int c = 0; c < channelCount; ++c) {
        const motfile::Envelope& envelope = read.file.envelopes[static_cast<std::size_t>(c)];
        const std::vector<Printed>& keysWritten = expected[static_cast<std::size_t>(c)];
        if (keysWritten.empty()) {
            Expect(envelope.placeholder, "a channel without keys is the placeholder");
            continue;
        }
        Expect(!envelope.placeholder, "written keys read as the placeholder");
        Expect(envelope.keys.size() == keysWritten.size(), "key count");
        for (std::size_t k = 0; k < keysWritten.size(); ++k) ExpectKey(envelope.keys[k], keysWritten[k]);
        const bool held = body != Body::kSampled && IncludedCount(channels[static_cast<std::size_t>(c)]) == 0;
        const std::int32_t behaviour =
            body == Body::kKeyed && !held ? channels[static_cast<std::size_t>(c)].entries[0].behaviour : 1;
        Expect(envelope.preBehaviour == behaviour && envelope.postBehaviour == behaviour, "behaviours");
    }
    return 0;
}
