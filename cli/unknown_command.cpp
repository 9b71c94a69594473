// A first argument that names no subcommand, told as such rather than as a
// missing subcommand.
#include <CLI/CLI.hpp>

#include "commands.h"

namespace corvantide::cli {

const char* UnknownCommand(const CLI::App& app, int argc, const char* const* argv) {
    if (argc < 2 || argv[1] == nullptr || argv[1][0] == '-' || argv[1][0] == '\0') return nullptr;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        if (command->check_name(argv[1])) return nullptr;
    }
    return argv[1];
}

}  // namespace corvantide::cli
