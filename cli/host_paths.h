// The plug-in composes paths the Windows way, with a backslash between the
// parts ("C:\proj\Objects\Hips"). On Windows those are ordinary paths. On
// Linux a backslash is a character of a file name, so "out\Hips.mot" is one
// file in the current folder; the command-line host then moves such a file
// to where the plug-in meant it ("out/Hips.mot"), as a Windows host's file
// system would have put it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace corvantide::cli {

// The platform path a host path names: on Linux every backslash becomes a
// separator; on Windows the path is unchanged.
std::string NativePath(const std::string& hostPath);

enum class Settled {
    kInPlace,     // the file is where the path says (always so on Windows)
    kMoved,       // a file written under its host name was moved to its native path
    kNoFolder,    // written under its host name; the native folder does not exist
    kMoveFailed,  // written under its host name; it could not be moved
    kAbsent,      // no file under either name
};

// Looks for the file the plug-in wrote for `hostPath` and brings it to
// NativePath(hostPath), replacing an older file there.
Settled SettleWrittenFile(const std::string& hostPath);

// The file's last write time; none when it does not exist.
std::optional<std::filesystem::file_time_type> WriteTime(const std::string& path);

}  // namespace corvantide::cli
