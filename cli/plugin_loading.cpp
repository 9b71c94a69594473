// Where the plug-in was looked for, told with the remedy when it does not load.
#include "plugin_loading.h"

#include <ostream>

#include "plugin_library.h"

namespace corvantide::cli {
namespace {

// What to tell the user about finding the plug-in, in the words of this platform's shell.
struct LoadingHelp {
    const char* variable;
    const char* setExample;
    const char* clear;
    const char* defaultPlace;
    const char* putBeside;
};

#if defined(_WIN32)
constexpr LoadingHelp kHelp{"%CORVANTIDE_PLUGIN%", "set CORVANTIDE_PLUGIN=C:\\path\\to\\corvantide.dll",
                            "clear it (set CORVANTIDE_PLUGIN=) to use the corvantide.dll beside the program",
                            "corvantide.dll beside the program",
                            "put corvantide.dll beside corvantide-sim.exe"};
#else
constexpr LoadingHelp kHelp{"$CORVANTIDE_PLUGIN", "export CORVANTIDE_PLUGIN=/path/to/libcorvantide.so",
                            "unset it to use the library this program was built with",
                            "the library this program was built with", "build the plug-in again"};
#endif

}  // namespace

bool LoadPlugin(simhost::SimHost& host, const std::string& named, std::string* path, std::ostream& err) {
    const simhost::PluginLocation location =
        named.empty() ? simhost::DefaultPluginLocation() : simhost::PluginLocation{named, false};
    *path = location.path;
    std::string reason;
    if (host.LoadAndStart(location.path, &reason)) return true;
    err << "corvantide-sim: cannot load the plug-in " << location.path << ": " << reason << "\n";
    if (location.fromEnvironment) {
        err << "corvantide-sim: that path came from " << kHelp.variable
            << "; set it to the plug-in's full path (" << kHelp.setExample << "), or " << kHelp.clear << "\n";
    } else if (named.empty()) {
        err << "corvantide-sim: " << kHelp.variable << " is not set, so the program looked for "
            << kHelp.defaultPlace << "; " << kHelp.putBeside << ", or name the plug-in (" << kHelp.setExample
            << ")\n";
    }
    return false;
}

}  // namespace corvantide::cli
