// corvantide-sim: the command-line host around the simulated host, and
// tools for the motion files the plug-in writes.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "commands.h"

namespace {

// Each subcommand lives in its own file and adds itself here.
constexpr corvantide::cli::AddCommand kCommands[] = {
    corvantide::cli::AddCheckCommand, corvantide::cli::AddPlotCommand,        corvantide::cli::AddDemoCommand,
    corvantide::cli::AddRunCommand,   corvantide::cli::AddCheckPluginCommand,
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Corvantide's command-line host: run the plug-in in a simulated host, check and plot motion files",
        "corvantide-sim"};
    app.set_version_flag("--version", "corvantide-sim " CORVANTIDE_VERSION);
    app.require_subcommand(1);
    // Same parsing everywhere: an argument starting with "/" is a path (Wine, MSYS), not an option.
    app.allow_windows_style_options(false);
    corvantide::cli::CommandAction action;
    for (corvantide::cli::AddCommand add : kCommands) {
        add(app, &action);
    }
    if (const char* unknown = corvantide::cli::UnknownCommand(app, argc, argv)) {
        std::cerr
            << "corvantide-sim: unknown command \"" << unknown
            << "\" (the commands are check, plot, run, demo and check-plugin; see corvantide-sim --help)\n";
        return corvantide::cli::kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? corvantide::cli::kExitOk : corvantide::cli::kExitUsage;
    }
    try {
        return action ? action() : corvantide::cli::kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "corvantide-sim: " << error.what() << "\n";
        return corvantide::cli::kExitUsage;
    }
}
