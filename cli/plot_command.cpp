// corvantide-sim plot FILE [--out F.svg]: draws each channel's curve.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <ostream>
#include <system_error>

#include "commands.h"
#include "fidelity_report.h"
#include "motfile/curve_plot.h"
#include "motfile/utf8_path.h"
#include "motion_input.h"

namespace corvantide::cli {
namespace {

std::string DefaultSvgPath(const std::string& path) {
    std::filesystem::path svg = motfile::Utf8Path(path);
    return motfile::Utf8Text(svg.replace_extension(".svg"));
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code errorA;
    std::error_code errorB;
    const auto canonicalA = std::filesystem::weakly_canonical(motfile::Utf8Path(a), errorA);
    const auto canonicalB = std::filesystem::weakly_canonical(motfile::Utf8Path(b), errorB);
    if (errorA || errorB) {
        return motfile::Utf8Path(a) == motfile::Utf8Path(b);
    }
    return canonicalA == canonicalB;
}

// Writes beside the destination first, so a failed write leaves no half picture.
bool WriteWhole(const std::string& path, const std::string& text, std::string* reason) {
    const std::filesystem::path temporary = motfile::Utf8Path(path + ".part");
    std::error_code error;
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!stream) {
            *reason = "cannot create the file";
            return false;
        }
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        stream.close();
        if (!stream) {
            std::filesystem::remove(temporary, error);
            *reason = "write failed";
            return false;
        }
    }
    std::filesystem::rename(temporary, motfile::Utf8Path(path), error);
    if (error) {
        *reason = error.message();
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

// An existing file that begins as a motion file does ("LWMO" and its line
// end): a picture never takes its place.
bool ReadsAsMotionFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    char start[5] = {};
    stream.read(start, sizeof start);
    return stream.gcount() == sizeof start && std::string_view(start, 4) == "LWMO" &&
           (start[4] == '\n' || start[4] == '\r');
}

// Decimals of the key values told for a file plotted alone.
constexpr int kValueDecimals = 4;

// What can be said of a file alone: each channel's keys and the range of
// their values, in the units the fidelity report uses.
void TellChannels(const motfile::MotionFile& file, std::ostream& out) {
    out << "Nothing to compare: a file plotted alone has no host motion. (demo and run draw the host's value "
           "at\n"
           "every frame over each file they write and give the largest difference per channel.)\n"
           "Key values (rotations in degrees; the file holds radians):\n";
    for (const motfile::Envelope& envelope : file.envelopes) {
        out << "  " << motfile::ChannelName(file.kind, envelope.channel) << ": ";
        if (envelope.placeholder || envelope.keys.empty()) {
            out << "no keys\n";
            continue;
        }
        double low = envelope.keys.front().value;
        double high = low;
        for (const motfile::MotionKey& key : envelope.keys) {
            low = std::min(low, key.value);
            high = std::max(high, key.value);
        }
        const ShownUnit unit = UnitOf(motfile::QuantityOf(file.kind, envelope.channel));
        const std::size_t count = envelope.keys.size();
        const std::string from = FormatTrimmed(low * unit.scale, kValueDecimals);
        const std::string to = FormatTrimmed(high * unit.scale, kValueDecimals);
        out << count << (count == 1 ? " key" : " keys")
            << (from == to ? ", all " + WithUnit(from, unit.unit) : ", from " + from + " to " + to + unit.unit)
            << "\n";
    }
}

}  // namespace

int RunPlot(const std::string& path, const std::string& svgPath, std::ostream& out, std::ostream& err) {
    motfile::ReadResult result;
    const int status = LoadMotionFile(path, &result, err);
    if (status != kExitOk) {
        return status;
    }
    const std::string destination = svgPath.empty() ? DefaultSvgPath(path) : svgPath;
    if (SameFile(destination, path) || ReadsAsMotionFile(destination)) {
        err << "corvantide-sim: the picture would replace the motion file " << destination
            << "; name another file with --out\n";
        return kExitUsage;
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(destination).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (error) {
        err << "corvantide-sim: cannot make the folder " << folder.string() << ": " << error.message() << "\n";
        return kExitUsage;
    }
    motfile::PlotOptions options;
    options.title = motfile::Utf8Text(motfile::Utf8Path(path).filename());
    std::string reason;
    if (!WriteWhole(destination, motfile::PlotMotionSvg(result.file, options), &reason)) {
        err << "corvantide-sim: cannot write " << destination << ": " << reason << "\n";
        return kExitUsage;
    }
    out << "wrote " << destination << "\n";
    TellChannels(result.file, out);
    return kExitOk;
}

void AddPlotCommand(CLI::App& app, CommandAction* action) {
    CLI::App* command = app.add_subcommand("plot", "Draw each channel's curve of a motion file as SVG");
    auto path = std::make_shared<std::string>();
    auto svgPath = std::make_shared<std::string>();
    command->add_option("file", *path, "motion file (.mot)")->required();
    command->add_option("--out", *svgPath, "picture to write (default: the file name with .svg)");
    command->callback([path, svgPath, action] {
        *action = [path, svgPath] { return RunPlot(*path, *svgPath, std::cout, std::cerr); };
    });
}

}  // namespace corvantide::cli
