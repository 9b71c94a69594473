// Benchmark data and the reference printers.
#include "bench_data.h"

#include <cmath>
#include <cstring>

#include "export/file_output.h"
#include "export/motion_writer.h"
#include "host/item_record.h"

namespace corvantide_bench {

namespace {

using corvantide::EnvelopeKey;

double KeyTime(const MotionData& data, std::int64_t j) {
    return corvantide::KeyTime(corvantide::KeyAt(data.hostKeys.data(), j));
}

bool AppendToString(void* file, const char* bytes, std::size_t size) {
    static_cast<std::string*>(file)->append(bytes, size);
    return true;
}

bool CountBytes(void* file, const char*, std::size_t size) {
    *static_cast<std::size_t*>(file) += size;
    return true;
}

void PrintKeyLine(std::FILE* file, const EnvelopeKey& e, double time) {
    std::fprintf(file, "  Key %lf %lf %d %lf %lf %lf %lf %lf 0\n", e.value, time, e.shape,
                 static_cast<double>(e.p1), static_cast<double>(e.p2), static_cast<double>(e.p3),
                 static_cast<double>(e.p4), static_cast<double>(e.p5));
}

}  // namespace

MotionData SampledData(std::int64_t frames) {
    MotionData data;
    data.count = frames;
    data.channels.assign(
        corvantide::kMotionChannels,
        std::vector<EnvelopeKey>(static_cast<std::size_t>(frames + corvantide::kSpareEntries)));
    for (int c = 0; c < corvantide::kMotionChannels; ++c) {
        for (std::int64_t j = 0; j < frames; ++j) {
            const double t = static_cast<double>(j) / kFps;
            const double wave = std::sin(t * (0.7 + 0.1 * c) + c);
            data.channels[static_cast<std::size_t>(c)][static_cast<std::size_t>(j)].value =
                c < 3   ? 250.0 * wave + 3.0 * t
                : c < 6 ? 3.14159 * wave
                        : 1.0 + 0.25 * wave;
        }
    }
    return data;
}

MotionData KeyedData(std::int64_t keys) {
    MotionData data = SampledData(keys);
    data.keyed = true;
    data.hostKeys.assign(static_cast<std::size_t>(keys) * corvantide::key_record::kSize, 0);
    for (std::int64_t j = 0; j < keys; ++j) {
        const double frame = static_cast<double>(j * 3 + (j % 7));
        std::memcpy(data.hostKeys.data() + static_cast<std::size_t>(j) * corvantide::key_record::kSize +
                        corvantide::key_record::kTime,
                    &frame, sizeof frame);
    }
    constexpr std::int32_t kShapes[] = {0, 2, 3, 4};
    for (int c = 0; c < corvantide::kMotionChannels; ++c) {
        auto& channel = data.channels[static_cast<std::size_t>(c)];
        for (std::int64_t j = 0; j < keys; ++j) {
            EnvelopeKey& e = channel[static_cast<std::size_t>(j)];
            e.include = (j + c) % 5 == 0 ? 0 : 1;
            e.shape = kShapes[(j + c) % 4];
            e.behaviour = c % 6;
            if (e.shape == 0) {
                e.p1 = static_cast<float>(static_cast<double>(j % 11) * 0.1 - 0.5);
                e.p2 = -0.25F;
                e.p3 = static_cast<float>(static_cast<double>(j % 3) * 0.3);
            } else if (e.shape == 2) {
                e.p4 = static_cast<float>(e.value - 0.125);
                e.p5 = static_cast<float>(e.value + 0.375);
            }
        }
    }
    return data;
}

namespace {

void WriteAll(corvantide::MotionWriter* writer, const MotionData& data) {
    corvantide::WriteFileHeader(writer, corvantide::kMotionChannels);
    for (int c = 0; c < corvantide::kMotionChannels; ++c) {
        const EnvelopeKey* entries = data.channels[static_cast<std::size_t>(c)].data();
        corvantide::WriteEnvelopeStart(writer, c);
        if (data.keyed) {
            corvantide::WriteKeyedBody(writer, entries, data.count, data.hostKeys.data(), kFps, 0.0);
        } else {
            corvantide::WriteSampledBody(writer, entries, data.count, 0, kFps);
        }
        corvantide::WriteEnvelopeEnd(writer);
    }
}

}  // namespace

bool WriteWithWriter(const MotionData& data, const char* path) {
    void* file = corvantide::FileOutput.open(path);
    if (file == nullptr) return false;
    static corvantide::MotionWriter writer;
    corvantide::BeginWriting(&writer, file);
    WriteAll(&writer, data);
    const bool written = corvantide::FinishWriting(&writer);
    return corvantide::FileOutput.close(file) && written;
}

namespace {

// The writer's text handed to `write` instead of a file.
void WriteThrough(const MotionData& data, bool (*write)(void*, const char*, std::size_t), void* sink) {
    const corvantide::FileOperations saved = corvantide::FileOutput;
    corvantide::FileOutput.write = write;
    static corvantide::MotionWriter writer;
    corvantide::BeginWriting(&writer, sink);
    WriteAll(&writer, data);
    corvantide::FinishWriting(&writer);
    corvantide::FileOutput = saved;
}

}  // namespace

std::size_t FormatWithWriter(const MotionData& data) {
    std::size_t bytes = 0;
    WriteThrough(data, CountBytes, &bytes);
    return bytes;
}

std::string TextFromWriter(const MotionData& data) {
    std::string text;
    WriteThrough(data, AppendToString, &text);
    return text;
}

bool WriteWithFprintf(const MotionData& data, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "%s\n", "LWMO");
    std::fprintf(file, "%d\n\n", 3);
    std::fprintf(file, "NumChannels %d\n", corvantide::kMotionChannels);
    for (int c = 0; c < corvantide::kMotionChannels; ++c) {
        const auto& entries = data.channels[static_cast<std::size_t>(c)];
        std::fprintf(file, "Channel %d\n", c);
        std::fprintf(file, "%s\n", "{ Envelope");
        if (data.keyed) {
            std::int64_t count = 0;
            for (std::int64_t j = 0; j < data.count; ++j)
                count += entries[static_cast<std::size_t>(j)].include == 1;
            std::fprintf(file, "  %d\n", static_cast<int>(count));
            for (std::int64_t j = 0; j < data.count; ++j) {
                const EnvelopeKey& e = entries[static_cast<std::size_t>(j)];
                if (e.include == 1) PrintKeyLine(file, e, KeyTime(data, j) / kFps);
            }
            std::fprintf(file, "  Behaviors %d %d\n", entries[0].behaviour, entries[0].behaviour);
        } else {
            std::fprintf(file, "  %d\n", static_cast<int>(data.count));
            for (std::int64_t j = 0; j < data.count; ++j) {
                PrintKeyLine(file, entries[static_cast<std::size_t>(j)], static_cast<double>(j) / kFps);
            }
            std::fprintf(file, "  Behaviors 1 1\n");
        }
        std::fprintf(file, "%s\n", "}");
    }
    return std::fclose(file) == 0;
}

}  // namespace corvantide_bench
