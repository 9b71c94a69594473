// corvantide-sim check FILE: validates a motion file and summarises it.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <memory>
#include <ostream>
#include <string_view>

#include "commands.h"
#include "motfile/motion_file.h"
#include "motfile/plot_axis.h"
#include "motfile/text_join.h"
#include "motion_input.h"
#include "shown_text.h"

namespace corvantide::cli {
namespace {

std::string Seconds(double time) { return motfile::FormatFixed(time, 6) + " s"; }

}  // namespace

std::string MotionFileSummary(const motfile::MotionFile& file) {
    const bool single = file.kind == motfile::MotionFileKind::kSingleEnvelope;
    double first = 0.0;
    double last = 0.0;
    bool anyKeys = false;
    for (const motfile::Envelope& envelope : file.envelopes) {
        if (envelope.placeholder) {
            continue;
        }
        first = anyKeys ? std::min(first, envelope.keys.front().time) : envelope.keys.front().time;
        last = anyKeys ? std::max(last, envelope.keys.back().time) : envelope.keys.back().time;
        anyKeys = true;
    }
    return (single ? std::string("single envelope")
                   : motfile::Join({"motion file, ", std::to_string(file.envelopes.size()), " channels"})) +
           (anyKeys ? ", keys from " + Seconds(first) + " to " + Seconds(last) : std::string(", no keys"));
}

namespace {

void PrintSummary(const std::string& path, const motfile::MotionFile& file, std::ostream& out) {
    const bool single = file.kind == motfile::MotionFileKind::kSingleEnvelope;
    out << Shown(path) << ": " << MotionFileSummary(file) << "\n";
    for (const motfile::Envelope& envelope : file.envelopes) {
        std::string name(motfile::ChannelName(file.kind, envelope.channel));
        name.resize(std::max<std::size_t>(name.size(), 12), ' ');
        out << "  "
            << (single ? std::string() : motfile::Join({"Channel ", std::to_string(envelope.channel), "  "}))
            << name << "  ";
        if (envelope.placeholder) {
            out << "no keys\n";
            continue;
        }
        const std::size_t count = envelope.keys.size();
        out << count << (count == 1 ? " key " : " keys") << "  " << Seconds(envelope.keys.front().time)
            << " to " << Seconds(envelope.keys.back().time) << "  behaviours "
            << motfile::BehaviourName(envelope.preBehaviour) << ", "
            << motfile::BehaviourName(envelope.postBehaviour) << "\n";
    }
}

}  // namespace

int RunCheck(const std::string& path, std::ostream& out, std::ostream& err) {
    motfile::ReadResult result;
    const int status = LoadMotionFile(path, &result, err);
    if (status != kExitOk) {
        return status;
    }
    PrintSummary(path, result.file, out);
    return kExitOk;
}

void AddCheckCommand(CLI::App& app, CommandAction* action) {
    CLI::App* command =
        app.add_subcommand("check", "Check a motion file line by line and summarise its channels");
    auto path = std::make_shared<std::string>();
    command->add_option("file", *path, "motion file (.mot), with channels or a single envelope")->required();
    command->callback([path, action] { *action = [path] { return RunCheck(*path, std::cout, std::cerr); }; });
}

}  // namespace corvantide::cli
