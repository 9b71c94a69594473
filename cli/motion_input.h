// Loading and checking a motion file named on the command line.
#pragma once

#include <iosfwd>
#include <string>

#include "motfile/motion_reader.h"

namespace corvantide::cli {

// Reads and checks the file, reporting problems on err as "FILE:LINE: reason".
// Returns kExitOk with *result filled, or the exit status to end with.
int LoadMotionFile(const std::string& path, motfile::ReadResult* result, std::ostream& err);

// What `check` says of a file after its name: "motion file, 9 channels, keys
// from 0.000000 s to 2.000000 s", "single envelope, no keys".
std::string MotionFileSummary(const motfile::MotionFile& file);

}  // namespace corvantide::cli
