// corvantide-sim check-plugin [LIBRARY]: loads the plug-in as the host does
// and reports what it set up, without a scene.
#include <CLI/CLI.hpp>
#include <cstring>
#include <iostream>
#include <memory>

#include "commands.h"
#include "host/module_record.h"
#include "host/plugin_limits.h"
#include "plugin_loading.h"
#include "sim_host.h"

namespace corvantide::cli {
namespace {

#if defined(_WIN32)
constexpr char kPluginDefaultHelp[] =
    "the plug-in library (default: %CORVANTIDE_PLUGIN%, else corvantide.dll beside the program)";
#else
constexpr char kPluginDefaultHelp[] =
    "the plug-in library (default: $CORVANTIDE_PLUGIN, else the libcorvantide.so this program was built with)";
#endif

}  // namespace

int RunCheckPlugin(const std::string& libraryPath, std::ostream& out, std::ostream& err) {
    simhost::SimHost host;
    std::string path;
    if (!LoadPlugin(host, libraryPath, &path, err)) return kExitUsage;
    const char* name = static_cast<const char*>(host.ModuleRecord()) + corvantide::module_record::kName;
    const void* end = std::memchr(name, '\0', corvantide::kModuleNameCapacity);
    const std::string moduleName(name, end != nullptr ? static_cast<const char*>(end) - name : 0);
    const bool panel = host.BuildPanel() == 1;
    out << path << ": loaded; InitCustomize named the module \"" << moduleName << "\""
        << (panel ? "; its panel builds" : "; it has no panel builder") << "\n";
    const std::vector<std::string> findings = host.Audit();
    for (const std::string& finding : findings) err << "corvantide-sim: the host saw: " << finding << "\n";
    if (!panel || moduleName.empty()) return kExitHostFault;
    return findings.empty() ? kExitOk : kExitHostFault;
}

void AddCheckPluginCommand(CLI::App& app, CommandAction* action) {
    CLI::App* command =
        app.add_subcommand("check-plugin", "Load the plug-in as the host does and report on it");
    auto library = std::make_shared<std::string>();
    command->add_option("library", *library, kPluginDefaultHelp);
    command->callback(
        [library, action] { *action = [library] { return RunCheckPlugin(*library, std::cout, std::cerr); }; });
}

}  // namespace corvantide::cli
