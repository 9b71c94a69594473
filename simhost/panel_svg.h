// A picture of the panel: the last block of the simulated interface as SVG.
// Every control at its position and size with its label and its current
// value or text (a list shows its chosen entry), disabled controls greyed,
// and the status area's lines. For reviewers and demos.
#pragma once

#include <string>

#include "sim_interface.h"

namespace simhost {

// `scale` multiplies the host's layout units into pixels.
std::string RenderPanelSvg(const SimInterface& ui, double scale = 2.0);
// Writes the picture as `path` (UTF-8) through the file layer. False when
// it is refused or cannot be written, with the reason in `reason` if given.
bool WritePanelSvg(const SimInterface& ui, const std::string& path, double scale = 2.0,
                   std::string* reason = nullptr);

}  // namespace simhost
