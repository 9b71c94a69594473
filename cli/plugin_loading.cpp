// Where the plug-in was looked for, told with the remedy when it does not load.
#include "plugin_loading.h"

#include <ostream>

#include "plugin_library.h"

namespace corvantide::cli {
namespace {

#if defined(_WIN32)
constexpr char kVariable[] = "%CORVANTIDE_PLUGIN%";
constexpr char kSetExample[] = "set CORVANTIDE_PLUGIN=C:\\path\\to\\corvantide.dll";
constexpr char kClear[] = "clear it (set CORVANTIDE_PLUGIN=) to use the corvantide.dll beside the program";
constexpr char kDefaultPlace[] = "corvantide.dll beside the program";
constexpr char kPutBeside[] = "put corvantide.dll beside corvantide-sim.exe";
#else
constexpr char kVariable[] = "$CORVANTIDE_PLUGIN";
constexpr char kSetExample[] = "export CORVANTIDE_PLUGIN=/path/to/libcorvantide.so";
constexpr char kClear[] = "unset it to use the library this program was built with";
constexpr char kDefaultPlace[] = "the library this program was built with";
constexpr char kPutBeside[] = "build the plug-in again";
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
        err << "corvantide-sim: that path came from " << kVariable << "; set it to the plug-in's full path ("
            << kSetExample << "), or " << kClear << "\n";
    } else if (named.empty()) {
        err << "corvantide-sim: " << kVariable << " is not set, so the program looked for " << kDefaultPlace
            << "; " << kPutBeside << ", or name the plug-in (" << kSetExample << ")\n";
    }
    return false;
}

}  // namespace corvantide::cli
