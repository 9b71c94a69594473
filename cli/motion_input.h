// Loading and checking a motion file named on the command line.
#pragma once

#include <iosfwd>
#include <string>

#include "motfile/motion_reader.h"

namespace corvantide::cli {

// Reads and checks the file, reporting problems on err as "FILE:LINE: reason".
// Returns kExitOk with *result filled, or the exit status to end with.
int LoadMotionFile(const std::string& path, motfile::ReadResult* result, std::ostream& err);

}  // namespace corvantide::cli
