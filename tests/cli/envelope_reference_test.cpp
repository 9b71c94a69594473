// The curves that `check`, `plot` and the fidelity figures evaluate, against
// a second, literal reading of how receiving packages evaluate an envelope,
// on every file the demo writes: inside the keys, between frames, and out
// along each behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands.h"
#include "motfile/envelope_eval.h"
#include "motfile/motion_reader.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using corvantide::motfile::Envelope;
using corvantide::motfile::MotionKey;

// Keys kp, k0, k1, kn around one span; kp and kn may be missing.
struct Span {
    const MotionKey* previous;
    const MotionKey& k0;
    const MotionKey& k1;
    const MotionKey* next;
};

// A linear key bends its neighbouring spans as a TCB key of zero tension,
// continuity and bias does.
bool UsesTcb(const MotionKey& key) { return key.shape == 0 || key.shape == 3 || key.shape == 4; }
double Parameter(const MotionKey& key, int i) { return key.shape == 0 ? key.params[i] : 0.0; }

double Outgoing(const Span& s) {
    const double d = s.k1.value - s.k0.value;
    const double scale = s.previous ? (s.k1.time - s.k0.time) / (s.k1.time - s.previous->time) : 1.0;
    if (!UsesTcb(s.k0)) return s.k0.params[4] * scale;
    const double t = Parameter(s.k0, 0), c = Parameter(s.k0, 1), b = Parameter(s.k0, 2);
    const double a = (1 - t) * (1 + c) * (1 + b), bb = (1 - t) * (1 - c) * (1 - b);
    return s.previous ? scale * (a * (s.k0.value - s.previous->value) + bb * d) : bb * d;
}

double Incoming(const Span& s) {
    const double d = s.k1.value - s.k0.value;
    const double scale = s.next ? (s.k1.time - s.k0.time) / (s.next->time - s.k0.time) : 1.0;
    if (!UsesTcb(s.k1)) return s.k1.params[3] * scale;
    const double t = Parameter(s.k1, 0), c = Parameter(s.k1, 1), b = Parameter(s.k1, 2);
    const double a = (1 - t) * (1 - c) * (1 + b), bb = (1 - t) * (1 + c) * (1 - b);
    return s.next ? scale * (bb * (s.next->value - s.k1.value) + a * d) : a * d;
}

double Inside(const std::vector<MotionKey>& keys, double time) {
    std::size_t i = 0;
    while (i + 2 < keys.size() && time > keys[i + 1].time) ++i;
    const Span s{i > 0 ? &keys[i - 1] : nullptr, keys[i], keys[i + 1],
                 i + 2 < keys.size() ? &keys[i + 2] : nullptr};
    if (time >= s.k1.time) return s.k1.value;
    const double u = (time - s.k0.time) / (s.k1.time - s.k0.time);
    if (s.k1.shape == 3) return s.k0.value + u * (s.k1.value - s.k0.value);
    if (s.k1.shape == 4) return s.k0.value;
    const double h2 = 3 * u * u - 2 * u * u * u, h1 = 1 - h2, h4 = u * u * u - u * u, h3 = h4 - u * u + u;
    return h1 * s.k0.value + h2 * s.k1.value + h3 * Outgoing(s) + h4 * Incoming(s);
}

// Behaviours 0 to 4; Linear (5) is left out where it applies.
double Reference(const Envelope& envelope, double time, bool* defined) {
    const auto& keys = envelope.keys;
    *defined = true;
    if (keys.empty()) return 0.0;
    if (keys.size() == 1) return keys[0].value;
    const double first = keys.front().time, last = keys.back().time, range = last - first;
    if (time >= first && time <= last) return Inside(keys, time);
    const int behaviour = time < first ? envelope.preBehaviour : envelope.postBehaviour;
    const MotionKey& end = time < first ? keys.front() : keys.back();
    if (behaviour == 0) return 0.0;
    if (behaviour == 1 || range <= 0) return end.value;
    if (behaviour == 5) {
        *defined = false;
        return 0.0;
    }
    const double cycle = std::floor((time - first) / range);
    double wrapped = time - cycle * range;
    if (behaviour == 3 && std::fmod(cycle, 2.0) != 0.0) wrapped = last - (wrapped - first);
    wrapped = std::clamp(wrapped, first, last);
    const double offset = behaviour == 4 ? cycle * (keys.back().value - keys.front().value) : 0.0;
    return Inside(keys, wrapped) + offset;
}

TEST(EnvelopeReference, EveryFileTheDemoWritesEvaluatesAsReceivingPackagesEvaluateIt) {
    TestFolder root;
    const fs::path folder = root.Path() / "demo";
    std::ostringstream out, err;
    ASSERT_EQ(corvantide::cli::kExitOk, corvantide::cli::RunDemo(folder.string(), out, err)) << err.str();

    int files = 0;
    long compared = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".mot") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const auto read = corvantide::motfile::ParseMotionText(text.str());
        ASSERT_TRUE(read.ok) << entry.path() << ": " << read.error.reason;
        ++files;
        for (const Envelope& envelope : read.file.envelopes) {
            if (envelope.keys.empty()) continue;
            const double first = envelope.keys.front().time, last = envelope.keys.back().time;
            const double margin = std::max(1.0, last - first);
            // Every sixtieth of a second, between the frames too, and out past both ends.
            for (double time = first - margin; time <= last + margin; time += 1.0 / 60) {
                bool defined = false;
                const double expected = Reference(envelope, time, &defined);
                if (!defined) continue;
                const double got = corvantide::motfile::EvaluateEnvelope(envelope, time);
                ASSERT_NEAR(expected, got, 1e-6 * std::max(1.0, std::abs(expected)))
                    << entry.path().filename() << " channel " << envelope.channel << " at " << time << " s";
                ++compared;
            }
        }
    }
    EXPECT_EQ(8, files);
    EXPECT_GT(compared, 1000);
}

}  // namespace
}  // namespace corvantide_test
