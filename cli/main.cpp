// corvantide-sim: the command-line host around the simulated host, and
// tools for the motion files the plug-in writes.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "host/host_characters.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>
#endif

namespace {

// Each subcommand lives in its own file and adds itself here.
constexpr corvantide::cli::AddCommand kCommands[] = {
    corvantide::cli::AddCheckCommand, corvantide::cli::AddPlotCommand,        corvantide::cli::AddDemoCommand,
    corvantide::cli::AddRunCommand,   corvantide::cli::AddCheckPluginCommand,
};

// The arguments as UTF-8. On Windows they are read from the wide command
// line: the narrow arguments follow the ANSI code page and lose every
// character outside it.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#if defined(_WIN32)
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        std::vector<std::string> arguments;
        for (int i = 0; i < count; ++i) {
            const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string argument(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), length, nullptr, nullptr);
            argument.resize(argument.size() - 1);
            arguments.push_back(std::move(argument));
        }
        LocalFree(wide);
        return arguments;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Corvantide's command-line host: run the plug-in in a simulated host, check and plot motion files",
        "corvantide-sim"};
    app.set_version_flag("--version", "corvantide-sim " CORVANTIDE_VERSION);
    app.require_subcommand(1);
    // Same parsing everywhere: an argument starting with "/" is a path (Wine, MSYS), not an option.
    app.allow_windows_style_options(false);
#if defined(_WIN32)
    SetConsoleOutputCP(CP_UTF8);  // everything printed is UTF-8
#endif
    // The paths this program hands the file layer are UTF-8, as its arguments are.
    corvantide::SetTextEncoding(corvantide::TextEncoding::kUtf8);
    corvantide::cli::CommandAction action;
    for (corvantide::cli::AddCommand add : kCommands) {
        add(app, &action);
    }
    std::vector<std::string> arguments;
    std::vector<char*> pointers;
    try {
        arguments = Utf8Arguments(argc, argv);
        corvantide::cli::TranslateHelpRequests(&arguments);
        for (std::string& argument : arguments) pointers.push_back(argument.data());
    } catch (const std::exception& error) {
        std::cerr << "corvantide-sim: " << error.what() << "\n";
        return corvantide::cli::kExitUsage;
    }
    const int count = static_cast<int>(pointers.size());
    if (const char* unknown = corvantide::cli::UnknownCommand(app, count, pointers.data())) {
        std::cerr
            << "corvantide-sim: unknown command \"" << unknown
            << "\" (the commands are check, plot, run, demo and check-plugin; see corvantide-sim --help)\n";
        return corvantide::cli::kExitUsage;
    }
    if (const std::string stray = corvantide::cli::StrayQuoteMessage(arguments); !stray.empty()) {
        std::cerr << stray;
        return corvantide::cli::kExitUsage;
    }
    try {
        app.parse(count, pointers.data());
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
