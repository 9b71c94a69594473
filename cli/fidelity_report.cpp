// The largest difference per channel, told per channel and per file.
#include "fidelity_report.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string_view>

#include "motfile/plot_axis.h"

namespace corvantide::cli {
namespace {

using motfile::ChannelQuantity;

constexpr int kSignificantDigits = 2;
constexpr int kMaxDecimals = 9;
constexpr int kSecondsDecimals = 3;

// What a file of World keys can and cannot carry, after the table that lists one.
constexpr char kWorldKeysNote[] =
    "World keys are exact at the item's keys and interpolated between them. For the exact world motion of\n"
    "an item carried by moving parents, or of an item without keys, export every frame (\"Freeze Motion\").\n";

std::string Shown(const ChannelFidelity& channel) {
    const ShownUnit unit = UnitOf(channel.quantity);
    return WithUnit(FormatDifference(channel.deviation.largest * unit.scale), unit.unit);
}

bool Compared(const ChannelFidelity& channel) { return channel.deviation.compared > 0; }
bool Exact(const ChannelFidelity& channel) { return Compared(channel) && motfile::IsExact(channel.deviation); }

std::string FrameText(const ChannelFidelity& channel, std::int32_t offset) {
    return FormatSeconds(channel.time) + " s (" + (offset != 0 ? "host frame " : "frame ") +
           std::to_string(channel.frame) + ")";
}

}  // namespace

std::size_t DisplayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U; }));
}

std::string PaddedTo(std::string text, std::size_t width) {
    const std::size_t shown = DisplayWidth(text);
    if (shown < width) text.append(width - shown, ' ');
    return text;
}

std::string WithUnit(const std::string& number, std::string_view unit) {
    if ((number == "1" || number == "-1") && !unit.empty() && unit.back() == 's')
        return number + std::string(unit.substr(0, unit.size() - 1));
    return number + std::string(unit);
}

ShownUnit UnitOf(ChannelQuantity quantity) {
    switch (quantity) {
        case ChannelQuantity::kPosition:
            return {1.0, " units", "position"};
        case ChannelQuantity::kRotation:
            return {180.0 / std::numbers::pi, " degrees", "rotation"};
        case ChannelQuantity::kScale:
            return {1.0, "", "scale"};
        case ChannelQuantity::kZoom:
            return {1.0, "", "zoom factor"};
        default:
            return {1.0, "", "other"};
    }
}

std::string FormatDifference(double difference) {
    if (!(difference > 0.0)) return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(difference)));
    const int decimals = std::clamp(kSignificantDigits - 1 - exponent, 0, kMaxDecimals);
    const double factor = std::pow(10.0, decimals);
    const double scaled = difference * factor;
    // The tiny allowance keeps 0.84 from becoming 0.85 through binary rounding.
    const double up = std::ceil(scaled - scaled * 1e-12);
    return motfile::FormatFixed(up / factor, decimals);
}

std::string FormatTrimmed(double value, int decimals) {
    std::string text = motfile::FormatFixed(value, decimals);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string FormatSeconds(double seconds) { return FormatTrimmed(seconds, kSecondsDecimals); }

FileFidelity MeasureFidelity(const std::string& fileName, const std::string& form,
                             const motfile::MotionFile& file, const HostMotion& motion) {
    FileFidelity fidelity{fileName, form, motion.offset, motion.stride, {}};
    for (std::size_t e = 0; e < file.envelopes.size(); ++e) {
        const motfile::Envelope& envelope = file.envelopes[e];
        ChannelFidelity channel;
        channel.name = std::string(motfile::ChannelName(file.kind, envelope.channel));
        channel.quantity = motfile::QuantityOf(file.kind, envelope.channel);
        channel.preBehaviour = envelope.preBehaviour;
        channel.postBehaviour = envelope.postBehaviour;
        if (e < motion.channels.size()) {
            const std::vector<motfile::CurveSample>& samples = motion.channels[e];
            double from = -HUGE_VAL;
            double to = HUGE_VAL;
            if (!envelope.placeholder && !envelope.keys.empty() && !samples.empty()) {
                // A frame whose time rounds onto the key is the key's frame.
                const double first = envelope.keys.front().time - motfile::kTimeRounding;
                const double last = envelope.keys.back().time + motfile::kTimeRounding;
                if (envelope.preBehaviour != motfile::kBehaviourConstant && samples.front().time < first) {
                    from = first;
                    channel.skippedBefore = envelope.keys.front().time;
                }
                if (envelope.postBehaviour != motfile::kBehaviourConstant && samples.back().time > last) {
                    to = last;
                    channel.skippedAfter = envelope.keys.back().time;
                }
            }
            channel.deviation = motfile::MeasureDeviation(envelope, samples, from, to);
            if (Compared(channel)) {
                channel.time = samples[channel.deviation.at].time;
                channel.frame = motion.frames[channel.deviation.at];
            }
        }
        fidelity.channels.push_back(std::move(channel));
    }
    return fidelity;
}

std::string ChannelLine(const ChannelFidelity& channel, std::int32_t offset) {
    std::string line = channel.name + ": ";
    const bool before = !std::isnan(channel.skippedBefore);
    const bool after = !std::isnan(channel.skippedAfter);
    if (!Compared(channel)) {
        line += before || after ? "nothing compared" : "nothing to compare (the host has no value for it)";
    } else if (!std::isfinite(channel.deviation.largest)) {
        line += "the file's curve is not a finite number at " + FrameText(channel, offset);
    } else if (Exact(channel)) {
        line += "exact";
    } else {
        line += "within " + Shown(channel) + ", largest at " + FrameText(channel, offset);
    }
    if (before || after) {
        line += "; not compared";
        if (before) {
            line += " before " + FormatSeconds(channel.skippedBefore) + " s (" +
                    std::string(motfile::BehaviourName(channel.preBehaviour)) + ")";
        }
        if (before && after) line += " or";
        if (after) {
            line += " after " + FormatSeconds(channel.skippedAfter) + " s (" +
                    std::string(motfile::BehaviourName(channel.postBehaviour)) + ")";
        }
        line += ": the simulated host holds the end keys' values there";
    }
    return line;
}

void PrintChannelLines(const FileFidelity& fidelity, const std::string& indent, std::ostream& out) {
    for (const ChannelFidelity& channel : fidelity.channels)
        out << indent << ChannelLine(channel, fidelity.offset) << "\n";
}

namespace {

std::string SummaryText(const FileFidelity& fidelity) {
    const std::size_t total = fidelity.channels.size();
    const std::size_t compared =
        static_cast<std::size_t>(std::count_if(fidelity.channels.begin(), fidelity.channels.end(), Compared));
    const std::size_t exact =
        static_cast<std::size_t>(std::count_if(fidelity.channels.begin(), fidelity.channels.end(), Exact));
    std::string text;
    if (compared == 0) {
        text = "nothing to compare";
    } else if (exact == total) {
        text = total == 1 ? "exact" : "exact in all " + std::to_string(total) + " channels";
    } else if (total == 1) {
        text = ChannelLine(fidelity.channels.front(), fidelity.offset);
        text = text.substr(text.find(": ") + 2);
    } else {
        text = "exact in " + std::to_string(exact) + " of " + std::to_string(total) + " channels";
        // The worst channel of each quantity that is not exact.
        std::vector<const ChannelFidelity*> worst;
        for (const ChannelFidelity& channel : fidelity.channels) {
            if (!Compared(channel) || Exact(channel)) continue;
            auto same = std::find_if(worst.begin(), worst.end(),
                                     [&](const ChannelFidelity* w) { return w->quantity == channel.quantity; });
            if (same == worst.end()) {
                worst.push_back(&channel);
            } else if (!(channel.deviation.largest <= (*same)->deviation.largest)) {
                *same = &channel;
            }
        }
        for (std::size_t i = 0; i < worst.size(); ++i) {
            const ChannelFidelity& channel = *worst[i];
            text += std::string(i == 0 ? "; " : ", ") + UnitOf(channel.quantity).group + " within " +
                    Shown(channel) + " (" + channel.name + " at " + FormatSeconds(channel.time) + " s)";
        }
    }
    if (compared > 0 && compared < total) text += "; " + std::to_string(total - compared) + " not compared";
    const std::size_t behaviours = static_cast<std::size_t>(
        std::count_if(fidelity.channels.begin(), fidelity.channels.end(), [](const ChannelFidelity& channel) {
            return !std::isnan(channel.skippedBefore) || !std::isnan(channel.skippedAfter);
        }));
    if (behaviours > 0) {
        text += "; behaviours outside the keys not compared in " + std::to_string(behaviours) +
                (behaviours == 1 ? " channel" : " channels");
    }
    if (fidelity.stride > 1) text += " (every " + std::to_string(fidelity.stride) + " frames compared)";
    return text;
}

}  // namespace

void PrintSummary(const std::vector<FileFidelity>& files, std::ostream& out) {
    std::size_t nameWidth = 0;
    std::size_t formWidth = 0;
    for (const FileFidelity& file : files) {
        nameWidth = std::max(nameWidth, DisplayWidth(file.fileName));
        formWidth = std::max(formWidth, DisplayWidth(file.form));
    }
    for (const FileFidelity& file : files) {
        out << "  " << PaddedTo(file.fileName, nameWidth) << "  " << PaddedTo(file.form, formWidth) << "  "
            << SummaryText(file) << "\n";
    }
    const bool worldKeys = std::any_of(files.begin(), files.end(),
                                       [](const FileFidelity& file) { return file.form == kWorldKeysForm; });
    if (worldKeys) out << kWorldKeysNote;
}

}  // namespace corvantide::cli
