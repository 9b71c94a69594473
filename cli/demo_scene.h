// The scene and the user's session that `corvantide-sim demo` acts out.
#pragma once

#include <string>

#include "scene_spec.h"

namespace corvantide::cli {

// Paths in the session point into `outputFolder` (made absolute).
SceneSpec DemoScene(const std::string& outputFolder);

}  // namespace corvantide::cli
