// Pictures of exported files: the curve of the written file, with the motion
// the host evaluated at every frame drawn over it as dots, so that a person
// sees at a glance whether the file carries the motion.
#pragma once

#include <string>

#include "motfile/motion_file.h"
#include "session_runner.h"
#include "sim_host.h"

namespace corvantide::cli {

// The SVG of one written file, already read back. The host's scene must
// still hold the file's item.
std::string MotionPictureSvg(simhost::SimHost& host, const WrittenFile& written, const motfile::MotionFile& file);

}  // namespace corvantide::cli
