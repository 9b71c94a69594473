// The scene and the user's session that `corvantide-sim demo` acts out.
#pragma once

#include <string>

#include "scene_description.h"

namespace corvantide::cli {

// Paths in the session point into `outputFolder` (made absolute).
SceneDescription DemoScene(const std::string& outputFolder);

}  // namespace corvantide::cli
