// Channel buffers and host key records for the benchmarks, and the two
// reference ways of producing the same file text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "export/envelope_key.h"

namespace corvantide_bench {

inline constexpr double kFps = 30.0;

// Nine channel buffers and, for keyed data, the host key records they belong to.
struct MotionData {
    std::vector<std::vector<corvantide::EnvelopeKey>> channels;
    std::vector<unsigned char> hostKeys;
    std::int64_t count = 0;
    bool keyed = false;
};

// 100,000 sampled frames of smooth motion.
MotionData SampledData(std::int64_t frames);
// Keys with every span shape, TCB and handle parameters, and channels keyed
// by only some keys.
MotionData KeyedData(std::int64_t keys);

// The file through the plug-in's writer, into `path` or into memory.
bool WriteWithWriter(const MotionData& data, const char* path);
std::string TextFromWriter(const MotionData& data);
// The writer's formatting alone: the text is counted, not kept. Returns its size.
std::size_t FormatWithWriter(const MotionData& data);
// The same text printed with fprintf("%lf") line by line.
bool WriteWithFprintf(const MotionData& data, const char* path);

}  // namespace corvantide_bench
