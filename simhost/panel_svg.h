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
// False when the file cannot be written.
bool WritePanelSvg(const SimInterface& ui, const std::string& path, double scale = 2.0);

}  // namespace simhost
