// Pictures of exported files: the curve of the written file, with the motion
// the host evaluated at every frame drawn over it as dots, so that a person
// sees at a glance whether the file carries the motion.
#pragma once

#include <string>

#include "host_motion.h"
#include "motfile/motion_file.h"
#include "session_runner.h"

namespace corvantide::cli {

// The SVG of one written file, already read back, with the host's motion for it.
std::string MotionPictureSvg(const WrittenFile& written, const motfile::MotionFile& file,
                             const HostMotion& motion);

}  // namespace corvantide::cli
