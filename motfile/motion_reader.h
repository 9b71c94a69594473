// Reads a motion file back and checks it line by line against the text the
// exporter writes: the "LWMO" channel file, or one bare envelope.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "motion_file.h"

namespace corvantide::motfile {

struct FileIssue {
    int line = 0;  // 1-based
    std::string reason;
};

struct ReadResult {
    bool ok = false;
    MotionFile file;                  // complete only when ok
    FileIssue error;                  // the first fault, when not ok
    std::vector<FileIssue> warnings;  // sound but suspicious, such as two keys at one time
};

// Checks the whole text; stops at the first fault.
ReadResult ParseMotionText(std::string_view text);

// Loads a file's bytes unchanged. False, with a reason, when it cannot be read.
bool LoadFileText(const std::string& path, std::string* text, std::string* reason);

}  // namespace corvantide::motfile
