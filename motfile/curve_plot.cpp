// Small multiples: one framed panel per channel with its curve as receiving
// packages evaluate it, its keys, and optional reference samples.
#include "curve_plot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <string_view>

#include "envelope_eval.h"
#include "plot_axis.h"
#include "svg_text.h"
#include "text_join.h"

namespace corvantide::motfile {
namespace {

constexpr int kColumns = 3;
constexpr double kPanelWidth = 380;
constexpr double kPanelHeight = 236;
constexpr double kGap = 16;
constexpr double kMargin = 24;
constexpr double kHeaderHeight = 74;
constexpr double kPanelPadding = 14;
constexpr double kTitleBand = 38;    // panel title above the plot area
constexpr double kBottomBand = 42;   // tick labels and the time caption
constexpr double kCaptionBand = 18;  // rotated value caption left of the tick labels
// Width of a digit in the 11 px sans-serif labels, for keeping labels apart.
constexpr double kLabelCharWidth = 6.4;
constexpr double kCurveSamplesPerPixel = 2;
// A curve or a row of dots keeps at most this many points per pixel column
// (its least and greatest), so the picture of any file stays small.
constexpr double kMaxPointsPerColumn = 2;
// Above this density key circles would merge into a bar; they are left out.
constexpr double kMinPixelsPerKeyMarker = 6;
// Room above and below the curve, as a fraction of its value range, so that
// extremes and their key markers do not sit on the frame.
constexpr double kValuePadding = 0.04;
// Numbers in motion files carry six decimals.
constexpr double kFilePrecision = 2e-6;

constexpr std::string_view kFont = "DejaVu Sans, Helvetica, Arial, sans-serif";
constexpr std::string_view kInk = "#1f2933";
constexpr std::string_view kMuted = "#616e7c";
constexpr std::string_view kCurveColor = "#2563a8";
constexpr std::string_view kReferenceColor = "#e8710a";
constexpr std::string_view kGridColor = "#e6e9ee";
constexpr std::string_view kFrameColor = "#c9cfd6";
constexpr std::string_view kOutsideShade = "#f3f4f6";
constexpr double kKeyRadius = 3.4;
constexpr double kReferenceRadius = 2.2;

std::string KeyMarkerStyle() {
    return Join({"fill=\"#ffffff\" stroke=\"", kCurveColor, "\" stroke-width=\"1.6\""});
}

struct Quantity {
    double scale;  // file value to shown value
    std::string_view caption;
};

Quantity QuantityDisplay(MotionFileKind kind, int channel) {
    switch (QuantityOf(kind, channel)) {
        case ChannelQuantity::kPosition:
            return {1.0, "position (scene units)"};
        case ChannelQuantity::kRotation:
            return {180.0 / std::numbers::pi, "angle (degrees)"};
        case ChannelQuantity::kScale:
            return {1.0, "scale factor"};
        case ChannelQuantity::kZoom:
            return {1.0, "zoom factor"};
        default:
            return {1.0, "value"};
    }
}

std::string KeyCountText(const Envelope& envelope, bool markersShown) {
    if (envelope.placeholder) {
        return "no keys";
    }
    const std::size_t count = envelope.keys.size();
    std::string text = Join({std::to_string(count), count == 1 ? " key" : " keys"});
    return markersShown ? text : Join({text, ", too dense to mark"});
}

// Times at which the curve is drawn: even steps plus every key, and for a
// stepped key a point just before it at the held value.
std::vector<CurveSample> CurvePoints(const Envelope& envelope, double low, double high, double pixels) {
    const int steps = std::max(2, static_cast<int>(pixels * kCurveSamplesPerPixel));
    std::vector<double> times;
    for (int i = 0; i <= steps; ++i) {
        times.push_back(low + (high - low) * i / steps);
    }
    for (const MotionKey& key : envelope.keys) {
        if (key.time > low && key.time < high) {
            times.push_back(key.time);
        }
    }
    std::sort(times.begin(), times.end());
    std::vector<CurveSample> points;
    points.reserve(times.size() + envelope.keys.size());
    std::size_t next = 0;
    for (double time : times) {
        while (next < envelope.keys.size() && envelope.keys[next].time < time) {
            ++next;
        }
        if (next > 0 && next < envelope.keys.size() && envelope.keys[next].time == time &&
            envelope.keys[next].shape == kShapeStepped) {
            points.push_back({time, envelope.keys[next - 1].value});
        }
        points.push_back({time, EvaluateEnvelope(envelope, time)});
    }
    return points;
}

// The least and the greatest point of each pixel column, in time order: a
// curve of any length draws at most two points per column, and a spike one
// sample wide still reaches its height.
std::vector<CurveSample> ColumnExtremes(const std::vector<CurveSample>& points, double low, double high,
                                        double pixels) {
    const double columns = std::max(1.0, std::floor(pixels));
    if (static_cast<double>(points.size()) <= kMaxPointsPerColumn * columns || !(high > low)) return points;
    std::vector<CurveSample> kept;
    kept.reserve(static_cast<std::size_t>(kMaxPointsPerColumn * columns) + 2);
    std::size_t start = 0;
    while (start < points.size()) {
        const double column =
            std::clamp(std::floor((points[start].time - low) / (high - low) * columns), -1.0, columns);
        std::size_t end = start;
        std::size_t least = start;
        std::size_t greatest = start;
        for (; end < points.size(); ++end) {
            const double at =
                std::clamp(std::floor((points[end].time - low) / (high - low) * columns), -1.0, columns);
            if (at != column) break;
            // A value that is no number keeps its own place: it is not an extreme.
            if (points[end].value < points[least].value || std::isnan(points[least].value)) least = end;
            if (points[end].value > points[greatest].value || std::isnan(points[greatest].value))
                greatest = end;
        }
        kept.push_back(points[std::min(least, greatest)]);
        if (least != greatest) kept.push_back(points[std::max(least, greatest)]);
        start = end;
    }
    return kept;
}

struct TimeRange {
    double low;
    double high;
    double firstKey;
    double lastKey;
};

// One time axis for all panels, so that panels line up.
TimeRange SharedTimeRange(const MotionFile& file, const PlotOptions& options) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const Envelope& envelope : file.envelopes) {
        if (envelope.placeholder || envelope.keys.empty()) {
            continue;
        }
        low = std::min(low, envelope.keys.front().time);
        high = std::max(high, envelope.keys.back().time);
    }
    const double firstKey = low;
    const double lastKey = high;
    for (const auto& samples : options.reference) {
        for (const CurveSample& sample : samples) {
            low = std::min(low, sample.time);
            high = std::max(high, sample.time);
        }
    }
    if (low > high) {
        low = high = 0.0;
    }
    return {low, high, firstKey, lastKey};
}

class PanelPainter {
public:
    PanelPainter(const MotionFile& file, const PlotOptions& options, const TimeRange& range)
        : file_(file), options_(options), range_(range) {}

    std::string Paint(std::size_t index, double left, double top) {
        const Envelope& envelope = file_.envelopes[index];
        const Quantity quantity = QuantityDisplay(file_.kind, envelope.channel);
        const std::vector<CurveSample> noSamples;
        const auto& reference = index < options_.reference.size() ? options_.reference[index] : noSamples;

        // The y axis decides the width of its labels, which decides the plot's width.
        const double plotTop = top + kTitleBand;
        const double plotBottom = top + kPanelHeight - kBottomBand;
        const double roughWidth = kPanelWidth - 2 * kPanelPadding - kCaptionBand - 40;
        std::vector<CurveSample> curve = CurvePoints(envelope, range_.low, range_.high, roughWidth);
        const Axis valueAxis = ValueAxis(curve, reference, quantity.scale, plotBottom - plotTop);
        std::size_t labelChars = 0;
        for (const std::string& label : valueAxis.labels) {
            labelChars = std::max(labelChars, label.size());
        }
        const double plotLeft =
            left + kPanelPadding + kCaptionBand + static_cast<double>(labelChars) * kLabelCharWidth + 8;
        const double plotRight = left + kPanelWidth - kPanelPadding - 6;
        const Axis timeAxis = TimeAxis(plotRight - plotLeft);
        if (timeAxis.low < range_.low || timeAxis.high > range_.high) {
            curve = CurvePoints(envelope, timeAxis.low, timeAxis.high, plotRight - plotLeft);
        }
        curve = ColumnExtremes(curve, timeAxis.low, timeAxis.high, plotRight - plotLeft);
        const std::vector<CurveSample> dots =
            ColumnExtremes(reference, timeAxis.low, timeAxis.high, plotRight - plotLeft);

        auto x = [&](double t) {
            return plotLeft + (t - timeAxis.low) / (timeAxis.high - timeAxis.low) * (plotRight - plotLeft);
        };
        auto y = [&](double v) {
            return plotBottom - (v * quantity.scale - valueAxis.low) / (valueAxis.high - valueAxis.low) *
                                    (plotBottom - plotTop);
        };

        std::string svg;
        const std::string clipId = Join({"plot", std::to_string(index)});
        svg += "<g>\n";
        svg += SvgRect(left, top, kPanelWidth, kPanelHeight,
                       Join({"rx=\"6\" fill=\"#ffffff\" stroke=\"", kFrameColor, "\""}));
        svg +=
            Join({"<clipPath id=\"", clipId, "\">\n",
                  SvgRect(plotLeft, plotTop, plotRight - plotLeft, plotBottom - plotTop, ""), "</clipPath>\n"});

        const bool markersShown =
            !envelope.placeholder &&
            static_cast<double>(envelope.keys.size()) * kMinPixelsPerKeyMarker <= plotRight - plotLeft;
        svg += SvgText(left + kPanelPadding, top + 24, ChannelName(file_.kind, envelope.channel),
                       "font-size=\"14\" font-weight=\"bold\"");
        svg += SvgText(left + kPanelWidth - kPanelPadding, top + 24, KeyCountText(envelope, markersShown),
                       Join({"font-size=\"11\" text-anchor=\"end\" fill=\"", kMuted, "\""}));

        // Outside the keyed range the curve shows the pre/post behaviour.
        if (!envelope.placeholder && !envelope.keys.empty()) {
            const double first = std::clamp(x(envelope.keys.front().time), plotLeft, plotRight);
            const double last = std::clamp(x(envelope.keys.back().time), plotLeft, plotRight);
            svg += Shade(plotLeft, first, plotTop, plotBottom);
            svg += Shade(last, plotRight, plotTop, plotBottom);
        }
        for (std::size_t i = 0; i < valueAxis.ticks.size(); ++i) {
            const double ty = plotBottom - (valueAxis.ticks[i] - valueAxis.low) /
                                               (valueAxis.high - valueAxis.low) * (plotBottom - plotTop);
            svg += SvgLine(plotLeft, ty, plotRight, ty, Join({"stroke=\"", kGridColor, "\""}));
            svg += SvgText(plotLeft - 6, ty + 4, valueAxis.labels[i],
                           Join({"font-size=\"11\" text-anchor=\"end\" fill=\"", kMuted, "\""}));
        }
        for (std::size_t i = 0; i < timeAxis.ticks.size(); ++i) {
            const double tx = x(timeAxis.ticks[i]);
            svg += SvgLine(tx, plotTop, tx, plotBottom, Join({"stroke=\"", kGridColor, "\""}));
            svg += SvgLine(tx, plotBottom, tx, plotBottom + 4, Join({"stroke=\"", kFrameColor, "\""}));
            svg += SvgText(tx, plotBottom + 16, timeAxis.labels[i],
                           Join({"font-size=\"11\" text-anchor=\"middle\" fill=\"", kMuted, "\""}));
        }
        svg += SvgRect(plotLeft, plotTop, plotRight - plotLeft, plotBottom - plotTop,
                       Join({"fill=\"none\" stroke=\"", kFrameColor, "\""}));
        svg += SvgText((plotLeft + plotRight) / 2, plotBottom + 34, "time (s)",
                       Join({"font-size=\"11\" text-anchor=\"middle\" fill=\"", kMuted, "\""}));
        const double captionX = left + kPanelPadding + 8;
        const double captionY = (plotTop + plotBottom) / 2;
        svg += Join({"<text transform=\"translate(", Num(captionX), " ", Num(captionY),
                     ") rotate(-90)\" font-size=\"11\" text-anchor=\"middle\" fill=\"", kMuted, "\">",
                     Escape(quantity.caption), "</text>\n"});

        svg += Join({"<g clip-path=\"url(#", clipId, ")\">\n"});
        std::string path;
        for (const CurveSample& point : curve) {
            path += Join({path.empty() ? "M" : " L", Num(x(point.time)), " ", Num(y(point.value))});
        }
        const std::string_view curveStyle = envelope.placeholder ? "stroke-dasharray=\"5 4\" " : "";
        svg += Join({"<path d=\"", path, "\" fill=\"none\" stroke=\"", kCurveColor, "\" ", curveStyle,
                     "stroke-width=\"1.8\" stroke-linejoin=\"round\"/>\n"});
        svg += "</g>\n";
        // Markers are not clipped: a key on the frame stays a whole circle.
        if (markersShown) {
            for (const MotionKey& key : envelope.keys) {
                svg += SvgCircle(x(key.time), y(key.value), kKeyRadius, KeyMarkerStyle());
            }
        }
        // Reference dots go on top, so that a key at a sampled frame still shows its dot.
        svg += Join({"<g clip-path=\"url(#", clipId, ")\">\n"});
        for (const CurveSample& sample : dots) {
            svg += SvgCircle(x(sample.time), y(sample.value), kReferenceRadius,
                             Join({"fill=\"", kReferenceColor, "\""}));
        }
        svg += "</g>\n";
        svg += "</g>\n";
        return svg;
    }

private:
    static std::string Shade(double from, double to, double top, double bottom) {
        if (to - from < 0.5) {
            return {};
        }
        return SvgRect(from, top, to - from, bottom - top, Join({"fill=\"", kOutsideShade, "\""}));
    }

    static Axis ValueAxis(const std::vector<CurveSample>& curve, const std::vector<CurveSample>& reference,
                          double scale, double height) {
        double low = INFINITY;
        double high = -INFINITY;
        for (const auto* samples : {&curve, &reference}) {
            for (const CurveSample& sample : *samples) {
                if (std::isfinite(sample.value)) {
                    low = std::min(low, sample.value * scale);
                    high = std::max(high, sample.value * scale);
                }
            }
        }
        if (low > high) {
            low = high = 0.0;
        }
        // A spread below the file's six decimals is rounding of the written
        // numbers, not motion: such a channel is drawn flat.
        if (high - low < kFilePrecision * scale) {
            low = high = (low + high) / 2;
        }
        const double pad = (high - low) * kValuePadding;
        return MakeAxis(low - pad, high + pad, std::clamp(static_cast<int>(height / 32), 2, 6));
    }

    // As many round ticks as fit with their labels apart.
    Axis TimeAxis(double width) const {
        for (int target = 8; target > 1; --target) {
            Axis axis = MakeAxis(range_.low, range_.high, target);
            std::size_t chars = 0;
            for (const std::string& label : axis.labels) {
                chars = std::max(chars, label.size());
            }
            const double needed =
                static_cast<double>(axis.ticks.size()) * (static_cast<double>(chars) * kLabelCharWidth + 14);
            if (needed <= width) {
                return axis;
            }
        }
        return MakeAxis(range_.low, range_.high, 1);
    }

    const MotionFile& file_;
    const PlotOptions& options_;
    const TimeRange& range_;
};

std::string Summary(const MotionFile& file, const TimeRange& range) {
    const std::string channels = file.kind == MotionFileKind::kSingleEnvelope
                                     ? std::string("single envelope")
                                     : Join({std::to_string(file.envelopes.size()), " channels"});
    if (range.firstKey > range.lastKey) {
        return Join({channels, ", no keys"});
    }
    bool rotations = false;
    for (const Envelope& envelope : file.envelopes) {
        rotations = rotations || QuantityOf(file.kind, envelope.channel) == ChannelQuantity::kRotation;
    }
    return Join({channels, ", keys from ", FormatFixed(range.firstKey, 3), " s to ",
                 FormatFixed(range.lastKey, 3), " s",
                 rotations ? "; rotations shown in degrees (the file holds radians)" : ""});
}

std::string Legend(const PlotOptions& options, double right, double y) {
    struct Entry {
        std::string_view kind;
        std::string_view label;
    };
    std::vector<Entry> entries = {{"curve", options.curveLabel}};
    bool hasReference = false;
    for (const auto& samples : options.reference) {
        hasReference = hasReference || !samples.empty();
    }
    if (hasReference) {
        entries.push_back({"dot", options.referenceLabel});
    }
    entries.push_back({"key", "key"});
    entries.push_back({"shade", "before / after the keys: pre / post behaviour"});
    std::string svg;
    double x = right;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const double labelWidth = static_cast<double>(entry->label.size()) * kLabelCharWidth * 1.05;
        x -= labelWidth;
        svg += SvgText(x, y + 4, entry->label, Join({"font-size=\"12\" fill=\"", kInk, "\""}));
        const double symbol = x - 16;
        if (entry->kind == "curve") {
            svg += SvgLine(symbol - 12, y, symbol + 10, y,
                           Join({"stroke=\"", kCurveColor, "\" stroke-width=\"1.8\""}));
        } else if (entry->kind == "shade") {
            svg += SvgRect(symbol - 7, y - 7, 14, 14,
                           Join({"fill=\"", kOutsideShade, "\" stroke=\"", kFrameColor, "\""}));
        } else if (entry->kind == "key") {
            svg += SvgCircle(symbol, y, kKeyRadius, KeyMarkerStyle());
        } else {
            svg += SvgCircle(symbol, y, kReferenceRadius, Join({"fill=\"", kReferenceColor, "\""}));
        }
        x = symbol - 30;
    }
    return svg;
}

}  // namespace

std::string PlotMotionSvg(const MotionFile& file, const PlotOptions& options) {
    const TimeRange range = SharedTimeRange(file, options);
    const std::size_t count = file.envelopes.size();
    const int columns = static_cast<int>(std::clamp<std::size_t>(count, 1, kColumns));
    const int rows = static_cast<int>((std::max<std::size_t>(count, 1) + kColumns - 1) / kColumns);
    const double width = std::max(2 * kMargin + columns * kPanelWidth + (columns - 1) * kGap, 720.0);
    const double height = 2 * kMargin + kHeaderHeight + rows * kPanelHeight + (rows - 1) * kGap;

    std::string svg = Join({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n",
                            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"", Num(width), "\" height=\"",
                            Num(height), "\" viewBox=\"0 0 ", Num(width), " ", Num(height), "\" font-family=\"",
                            kFont, "\" fill=\"", kInk, "\">\n"});
    svg += Join({"<rect width=\"100%\" height=\"100%\" fill=\"#f7f8fa\"/>\n"});
    svg += SvgText(kMargin, kMargin + 18, options.title, "font-size=\"18\" font-weight=\"bold\"");
    const std::string subtitle = options.subtitle.empty() ? Summary(file, range) : options.subtitle;
    svg += SvgText(kMargin, kMargin + 40, subtitle, Join({"font-size=\"12\" fill=\"", kMuted, "\""}));
    svg += Legend(options, width - kMargin, kMargin + 62);

    PanelPainter painter(file, options, range);
    for (std::size_t i = 0; i < count; ++i) {
        const double left = kMargin + static_cast<double>(i % kColumns) * (kPanelWidth + kGap);
        const double top = kMargin + kHeaderHeight + static_cast<double>(i / kColumns) * (kPanelHeight + kGap);
        svg += painter.Paint(i, left, top);
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace corvantide::motfile
