// Curve pictures: what a person reading them relies on.
#include "motfile/curve_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "motfile/motion_reader.h"
#include "motfile/plot_axis.h"
#include "motion_texts.h"

namespace corvantide_test {
namespace {

using corvantide::motfile::MakeAxis;
using corvantide::motfile::MotionFile;
using corvantide::motfile::ParseMotionText;
using corvantide::motfile::PlotMotionSvg;
using corvantide::motfile::PlotOptions;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

MotionFile Read(const std::string& text) {
    const auto result = ParseMotionText(text);
    EXPECT_TRUE(result.ok) << result.error.line << ": " << result.error.reason;
    return result.file;
}

TEST(PlotAxis, PicksRoundStepsAndLabelsThemAlike) {
    const auto axis = MakeAxis(0.0, 0.93, 5);
    EXPECT_EQ(0.0, axis.low);
    EXPECT_DOUBLE_EQ(1.0, axis.high);
    EXPECT_EQ((std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}), axis.labels);

    const auto wide = MakeAxis(-37.0, 95.0, 5);
    EXPECT_EQ("-50", wide.labels.front());
    EXPECT_EQ("100", wide.labels.back());
}

TEST(PlotAxis, OpensAFlatRangeAndNeverPrintsMinusZero) {
    const auto zero = MakeAxis(0.0, 0.0, 4);
    EXPECT_LT(zero.low, 0.0);
    EXPECT_GT(zero.high, 0.0);
    for (const std::string& label : zero.labels) {
        EXPECT_NE("-0.0", label);
        EXPECT_NE("-0", label);
    }
    const auto constant = MakeAxis(1e6, 1e6 + 1e-7, 4);  // rounding noise, not motion
    EXPECT_LT(constant.low, 1e6);
    EXPECT_GT(constant.high, 1e6);
    EXPECT_LE(constant.ticks.size(), 10u);
}

TEST(CurvePlot, DrawsOnePanelPerChannelWithItsNameAndKeyCount) {
    const std::string svg = PlotMotionSvg(Read(KeyedItemFile()), PlotOptions{});
    for (const char* name : {">Position X<", ">Position Z<", ">Heading<", ">Bank<", ">Scale Z<"}) {
        EXPECT_EQ(1u, Count(svg, name)) << name;
    }
    EXPECT_EQ(1u, Count(svg, ">3 keys<"));
    EXPECT_EQ(6u, Count(svg, ">no keys<"));
    EXPECT_EQ(9u, Count(svg, ">time (s)<"));
    EXPECT_EQ(3u, Count(svg, ">angle (degrees)<"));
    // 3 + 2 + 2 key markers, and one in the legend.
    EXPECT_EQ(8u, Count(svg, "r=\"3.4\""));
    EXPECT_EQ(std::string::npos, svg.find("nan"));
    EXPECT_EQ(std::string::npos, svg.find("inf"));
}

TEST(CurvePlot, ShowsRotationsInDegrees) {
    const std::string text = "{ Envelope\n  1\n  Key 1.570796 0.000000 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    MotionFile file = Read(text);
    file.kind = corvantide::motfile::MotionFileKind::kChannels;
    file.envelopes[0].channel = 3;  // heading
    const std::string svg = PlotMotionSvg(file, PlotOptions{});
    EXPECT_NE(std::string::npos, svg.find(">90<"));
    EXPECT_EQ(std::string::npos, svg.find(">1.5"));
}

TEST(CurvePlot, NamesTheZoomEnvelopeAndEscapesTheTitle) {
    PlotOptions options;
    options.title = "Cam <A> & \"B\"_ZoomFactor.mot";
    const std::string svg = PlotMotionSvg(Read(kZoomFile), options);
    EXPECT_NE(std::string::npos, svg.find(">Zoom Factor<"));
    EXPECT_NE(std::string::npos, svg.find(">zoom factor<"));
    EXPECT_NE(std::string::npos, svg.find("Cam &lt;A&gt; &amp; &quot;B&quot;_ZoomFactor.mot"));
    EXPECT_EQ(std::string::npos, svg.find("<A>"));
}

TEST(CurvePlot, OverlaysReferenceSamplesAsDotsWithTheirLegend) {
    PlotOptions options;
    options.reference.resize(6);
    for (int frame = 0; frame < 3; ++frame) {
        options.reference[2].push_back({(10 + frame) / 24.0, 1.0});
    }
    const std::string plain = PlotMotionSvg(Read(SampledCameraFile()), PlotOptions{});
    const std::string overlaid = PlotMotionSvg(Read(SampledCameraFile()), options);
    EXPECT_EQ(std::string::npos, plain.find(options.referenceLabel));
    EXPECT_NE(std::string::npos, overlaid.find(">host evaluated, frame by frame<"));
    EXPECT_EQ(3u + 1u, Count(overlaid, "r=\"2.2\"") + Count(overlaid, "r=\"2.6\""));
}

TEST(CurvePlot, LeavesOutMarkersWhenKeysAreTooDense) {
    std::string text = "{ Envelope\n  400\n";
    for (int frame = 0; frame < 400; ++frame) {
        text += "  Key " + std::to_string(std::sin(frame / 10.0)) + " " + std::to_string(frame / 24.0) +
                " 0 0 0 0 0 0 0\n";
    }
    text += "  Behaviors 1 1\n}\n";
    const std::string svg = PlotMotionSvg(Read(text), PlotOptions{});
    EXPECT_NE(std::string::npos, svg.find(">400 keys, too dense to mark<"));
    EXPECT_EQ(1u, Count(svg, "r=\"3.4\""));  // the legend's only
}

// The y coordinates of the nth curve ("<path d=") of a picture.
std::vector<double> CurveHeights(const std::string& svg, std::size_t nth) {
    std::size_t at = 0;
    for (std::size_t i = 0; i <= nth; ++i) at = svg.find("<path d=\"", at) + 1;
    const std::size_t end = svg.find('"', at + 8);
    std::istringstream points(svg.substr(at + 8, end - at - 8));
    std::vector<double> heights;
    std::string x;  // "M12.5", "L13.0"
    double y = 0;
    while (points >> x >> y) heights.push_back(y);
    return heights;
}

// The heights of the reference dots, the legend's left out.
std::vector<double> DotHeights(const std::string& svg) {
    std::vector<double> heights;
    bool legend = true;
    for (std::size_t at = svg.find("<circle"); at != std::string::npos; at = svg.find("<circle", at + 1)) {
        const std::size_t end = svg.find('>', at);
        const std::string circle = svg.substr(at, end - at);
        if (circle.find("#e8710a") == std::string::npos) continue;
        if (std::exchange(legend, false)) continue;
        const std::size_t cy = circle.find("cy=\"") + 4;
        heights.push_back(std::stod(circle.substr(cy)));
    }
    return heights;
}

TEST(CurvePlot, APictureOf200001FramesStaysSmallAndKeepsAOneFrameSpike) {
    constexpr int kFrames = 200'001;
    constexpr int kSpikeFrame = 123'457;
    constexpr int kSpikeChannel = 4;
    MotionFile file;
    PlotOptions options;
    options.reference.resize(9);
    for (int channel = 0; channel < 9; ++channel) {
        corvantide::motfile::Envelope envelope;
        envelope.channel = channel;
        envelope.keys.reserve(kFrames);
        for (int frame = 0; frame < kFrames; ++frame) {
            corvantide::motfile::MotionKey key;
            key.time = frame / 30.0;
            key.value = channel == kSpikeChannel && frame == kSpikeFrame ? 1.0 : 0.0;
            key.shape = corvantide::motfile::kShapeLinear;
            envelope.keys.push_back(key);
        }
        file.envelopes.push_back(std::move(envelope));
    }
    // The host jumps at one frame the file missed: its dot must show too.
    for (int frame = 0; frame < kFrames; ++frame)
        options.reference[0].push_back({frame / 30.0, frame == kSpikeFrame + 1000 ? 1.0 : 0.0});
    const std::string svg = PlotMotionSvg(file, options);
    EXPECT_LT(svg.size(), 2'000'000u);

    const std::vector<double> spiked = CurveHeights(svg, kSpikeChannel);
    const std::vector<double> flat = CurveHeights(svg, kSpikeChannel + 1);
    ASSERT_FALSE(spiked.empty());
    // At most about two points per pixel column of a 300-odd pixel plot.
    EXPECT_LT(spiked.size(), 800u);
    const auto [low, high] = std::minmax_element(spiked.begin(), spiked.end());
    EXPECT_GT(*high - *low, 100.0);  // the spike reaches the top of the plot
    const auto [flatLow, flatHigh] = std::minmax_element(flat.begin(), flat.end());
    EXPECT_EQ(*flatLow, *flatHigh);

    const std::vector<double> dots = DotHeights(svg);
    ASSERT_FALSE(dots.empty());
    EXPECT_LT(dots.size(), 800u);
    const auto [dotLow, dotHigh] = std::minmax_element(dots.begin(), dots.end());
    EXPECT_GT(*dotHigh - *dotLow, 50.0);  // the jump is half the value axis
}

}  // namespace
}  // namespace corvantide_test
