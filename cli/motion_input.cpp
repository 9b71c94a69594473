// Shared by the subcommands that take a motion file.
#include "motion_input.h"

#include <ostream>

#include "commands.h"
#include "shown_text.h"

namespace corvantide::cli {

int LoadMotionFile(const std::string& path, motfile::ReadResult* result, std::ostream& err) {
    std::string text;
    std::string reason;
    if (!motfile::LoadFileText(path, &text, &reason)) {
        err << "corvantide-sim: cannot read " << Shown(path) << ": " << reason << "\n";
        return kExitUsage;
    }
    *result = motfile::ParseMotionText(text);
    for (const motfile::FileIssue& warning : result->warnings) {
        err << Shown(path) << ":" << warning.line << ": warning: " << warning.reason << "\n";
    }
    if (!result->ok) {
        err << Shown(path) << ":" << result->error.line << ": " << result->error.reason << "\n";
        return kExitBadFile;
    }
    return kExitOk;
}

}  // namespace corvantide::cli
