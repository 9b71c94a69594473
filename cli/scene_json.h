// Reading a scene file (JSON) into a SceneDescription. The format is described in
// docs/scene-format.md.
#pragma once

#include <string>
#include <string_view>

#include "scene_description.h"

namespace corvantide::cli {

// Parses and checks the whole file (UTF-8, with or without a byte-order mark,
// or UTF-16 with one). False, with one message naming the
// place (field, item, action) and the reason, when the text is not a valid
// scene; never throws.
bool ParseSceneJson(std::string_view text, SceneDescription* scene, std::string* error);

}  // namespace corvantide::cli
