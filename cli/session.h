// One whole session of the command-line host: load the plug-in, build the
// scene, act out the user's actions, then check every written file and draw
// its picture. Shared by `demo` and `run`.
#pragma once

#include <iosfwd>
#include <string>

#include "scene_description.h"

namespace corvantide::cli {

struct SessionSettings {
    std::string outputFolder;  // made if missing; the session's working folder
    std::string heading;       // first line printed
    bool liveProgress = false;
    bool watchKeyboard = false;
    bool pictures = true;  // a picture of every written file
};

// The settings of `demo` and `run`: `terminal`, stdout and stdin are the
// user's terminal when the program is (live progress, Escape); `pictures`,
// a picture of every written file.
SessionSettings CommandSettings(const std::string& outputFolder, const std::string& heading, bool terminal,
                                bool pictures);

// Returns kExitOk, kExitBadFile (a written file does not read back),
// kExitUsage (no output folder, no plug-in), kExitHostFault or
// kExitExportFailed.
int RunSession(const SceneDescription& scene, const SessionSettings& settings, std::ostream& out,
               std::ostream& err);

}  // namespace corvantide::cli
