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
#include "output_folders.h"
#include "shown_text.h"
#include "tool_files.h"

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

// An existing file that begins as a motion file does ("LWMO" and its line
// end): a picture never takes its place.
bool ReadsAsMotionFile(const std::string& path) {
    std::ifstream stream(motfile::Utf8Path(path), std::ios::binary);
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
    // What may not be replaced is refused before anything is read or made
    // (a pipe would hold the reading of its first bytes).
    if (!SameFile(destination, path)) {
        if (const std::string refusal = simhost::DestinationRefusal(destination); !refusal.empty()) {
            err << "corvantide-sim: cannot write " << Shown(destination) << ": " << refusal << "\n";
            return kExitUsage;
        }
    }
    if (SameFile(destination, path) || ReadsAsMotionFile(destination)) {
        err << "corvantide-sim: the picture would replace the motion file " << Shown(destination)
            << "; name another file with --out\n";
        return kExitUsage;
    }
    OutputFolders made;  // a folder made for a picture that was not written goes again
    std::string reason;
    const std::filesystem::path folder = motfile::Utf8Path(destination).parent_path();
    if (!folder.empty() && !made.Make(folder, &reason)) {
        err << "corvantide-sim: cannot make the folder " << Shown(motfile::Utf8Text(folder)) << ": " << reason
            << "\n";
        return kExitUsage;
    }
    motfile::PlotOptions options;
    options.title = motfile::Utf8Text(motfile::Utf8Path(path).filename());
    const simhost::ToolWrite wrote =
        simhost::WriteToolFile(destination, motfile::PlotMotionSvg(result.file, options));
    if (wrote.outcome != corvantide::WholeFile::kWritten) {
        err << "corvantide-sim: cannot write " << Shown(destination) << ": " << wrote.reason << "\n";
        return kExitUsage;
    }
    out << "wrote " << Shown(destination) << "\n";
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
