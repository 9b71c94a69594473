// Any bytes as a motion file, as `check` and `plot` read a file a user hands
// them: the reader, and for a file it accepts, what the commands do next
// (the summary's names, the curve evaluated around every key, its deviation
// from samples, the picture). Nothing may crash, hang or read out of bounds,
// and a file the reader accepts must hold what it promises.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "motfile/curve_deviation.h"
#include "motfile/curve_plot.h"
#include "motfile/envelope_eval.h"
#include "motfile/motion_file.h"
#include "motfile/motion_reader.h"

namespace {

namespace motfile = corvantide::motfile;

// Samples per envelope: enough to cross every span, few enough for a fast run.
constexpr std::size_t kMaxSamples = 64;

void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "motion reader: %s\n", what);
    std::abort();
}

// Times around every key: at it, just before and after, and beyond the ends
// where the behaviours take over.
std::vector<motfile::CurveSample> SamplesAround(const motfile::Envelope& envelope) {
    std::vector<motfile::CurveSample> samples;
    for (const motfile::MotionKey& key : envelope.keys) {
        for (double offset : {-0.5, 0.0, 1e-3}) {
            if (samples.size() >= kMaxSamples) return samples;
            samples.push_back({key.time + offset, key.value});
        }
    }
    if (!envelope.keys.empty()) {
        const double span = envelope.keys.back().time - envelope.keys.front().time;
        samples.push_back({envelope.keys.back().time + 2.5 * span + 1.0, 0.0});
        samples.push_back({envelope.keys.front().time - 3.5 * span - 1.0, 0.0});
    }
    return samples;
}

// The picture is drawn of one envelope (`pick` chooses it), as the plot
// draws each: drawing all of a nine-channel file would cost most of a run.
void Check(const motfile::MotionFile& file, std::size_t pick) {
    motfile::PlotOptions options;
    options.title = "fuzz";
    motfile::MotionFile picture{file.kind, {}};
    const motfile::Envelope* chosen =
        file.envelopes.empty() ? nullptr : &file.envelopes[pick % file.envelopes.size()];
    for (const motfile::Envelope& envelope : file.envelopes) {
        Expect(!motfile::ChannelName(file.kind, envelope.channel).empty(), "a channel without a name");
        Expect(!motfile::BehaviourName(envelope.preBehaviour).empty(), "a behaviour without a name");
        Expect(!motfile::BehaviourName(envelope.postBehaviour).empty(), "a behaviour without a name");
        for (const motfile::MotionKey& key : envelope.keys) {
            Expect(std::isfinite(key.value) && std::isfinite(key.time),
                   "an accepted number that is not finite");
        }
        std::vector<motfile::CurveSample> samples = SamplesAround(envelope);
        for (motfile::CurveSample& sample : samples) {
            sample.value = motfile::EvaluateEnvelope(envelope, sample.time);
        }
        const motfile::CurveDeviation deviation = motfile::MeasureDeviation(envelope, samples);
        Expect(deviation.compared <= samples.size(), "more samples compared than given");
        Expect(deviation.compared == 0 || deviation.at < samples.size(), "a deviation at no sample");
        if (&envelope == chosen) {
            picture.envelopes.push_back(envelope);
            options.reference.push_back(std::move(samples));
        }
    }
    const std::string svg = motfile::PlotMotionSvg(picture, options);
    Expect(svg.find("<svg") != std::string::npos, "a picture without its svg");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const motfile::ReadResult result = motfile::ParseMotionText(text);
    if (!result.ok) {
        Expect(!result.error.reason.empty(), "a refusal without a reason");
        return 0;
    }
    Check(result.file, size);
    return 0;
}
