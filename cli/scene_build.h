// Puts a scene description into the simulated host: items, parents, keys,
// behaviours, the frame range, the frame rate and the content directory.
#pragma once

#include <string>

#include "scene_description.h"
#include "sim_host.h"

namespace corvantide::cli {

// The scene's items must have unique names and parents that exist without a
// cycle (ParseSceneJson checks both; the demo scene has them).
// Its texts reach the plug-in in the host's code page (UnholdableText
// first makes sure the code page holds them).
void BuildScene(const SceneDescription& scene, simhost::SimHost& host);

// The first of the scene's texts (item names, source paths, the content
// directory, typed and requester texts) that the host's code page cannot
// hold, said with the item or action it belongs to; empty when none.
std::string UnholdableText(const SceneDescription& scene);

// The UTF-8 text as the host holds it (UnholdableText checked it).
std::string HostText(const std::string& text);

}  // namespace corvantide::cli
