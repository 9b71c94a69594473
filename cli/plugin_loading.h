// Loading the plug-in for a command, and telling the user, when it does not
// load, where the path came from and how to point the program at another.
#pragma once

#include <iosfwd>
#include <string>

#include "sim_host.h"

namespace corvantide::cli {

// Loads `named` when it is not empty, else the default plug-in
// (CORVANTIDE_PLUGIN, else the library beside the program or the one it was
// built with), into `host`. *path is the path tried. On failure it writes the
// reason and the remedy to err and returns false.
bool LoadPlugin(simhost::SimHost& host, const std::string& named, std::string* path, std::ostream& err);

}  // namespace corvantide::cli
