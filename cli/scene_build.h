// Puts a scene description into the simulated host: items, parents, keys,
// behaviours, the frame range, the frame rate and the content directory.
#pragma once

#include "scene_description.h"
#include "sim_host.h"

namespace corvantide::cli {

// The scene's items must have unique names and parents that exist without a
// cycle (ParseSceneJson checks both; the demo scene has them).
void BuildScene(const SceneDescription& scene, simhost::SimHost& host);

}  // namespace corvantide::cli
