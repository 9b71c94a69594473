// The subcommands of corvantide-sim. Each file adds one subcommand to the
// application; main runs the one the user chose.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace corvantide::cli {

// Exit statuses of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadFile = 1;    // a motion file is malformed
inline constexpr int kExitUsage = 2;      // bad arguments, a bad scene, or a file cannot be read or written
inline constexpr int kExitHostFault = 3;  // the plug-in did what a real host would punish
// An export of the session failed or was refused (the status area said why),
// or wrote nothing it was asked to write; an export stopped with Escape is
// not a failure. Given when nothing above applies.
inline constexpr int kExitExportFailed = 4;
// `run`, `demo`: stopped with Ctrl-C (or SIGTERM); the files written so far are in place.
inline constexpr int kExitInterrupted = 130;

// The exit statuses of a session (demo, run), for their help.
inline constexpr char kSessionExitHelp[] =
    "Exit status: 0 done (an export stopped with Escape included); 1 a written file does not read back;\n"
    "2 bad arguments, a bad scene file, or a file or folder that cannot be read or made; 3 the simulated\n"
    "host saw something a real host would punish; 4 an export failed or was refused (the status area's\n"
    "message is printed where it happened, and again on stderr), or wrote nothing it was asked to write;\n"
    "130 interrupted with Ctrl-C (the export under way stops as with Escape unless it has finished, and the\n"
    "run says which; every file written so far is in its place).";

// What runs once the arguments are parsed; returns the exit status.
using CommandAction = std::function<int()>;

// Adds a subcommand; when the user picks it, parsing leaves its work in *action.
using AddCommand = void (*)(CLI::App& app, CommandAction* action);

void AddCheckCommand(CLI::App& app, CommandAction* action);
void AddPlotCommand(CLI::App& app, CommandAction* action);
void AddDemoCommand(CLI::App& app, CommandAction* action);
void AddRunCommand(CLI::App& app, CommandAction* action);
void AddCheckPluginCommand(CLI::App& app, CommandAction* action);

// The first argument when it is neither an option nor one of the app's
// subcommands ("plto"); null otherwise.
const char* UnknownCommand(const CLI::App& app, int argc, const char* const* argv);

// The work of each subcommand, callable without parsing arguments.
int RunCheck(const std::string& path, std::ostream& out, std::ostream& err);
int RunPlot(const std::string& path, const std::string& svgPath, std::ostream& out, std::ostream& err);
// `terminal`: stdout and stdin are the user's terminal (live progress, Escape).
// `pictures`: draw a picture of every written file in OUT/pictures.
int RunDemo(const std::string& outputFolder, std::ostream& out, std::ostream& err, bool terminal = false,
            bool pictures = true);
int RunScene(const std::string& scenePath, const std::string& outputFolder, std::ostream& out,
             std::ostream& err, bool terminal = false, bool pictures = true);
int RunCheckPlugin(const std::string& libraryPath, std::ostream& out, std::ostream& err);

}  // namespace corvantide::cli
