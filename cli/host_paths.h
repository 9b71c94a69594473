// The plug-in composes paths the Windows way, with a backslash between the
// parts ("C:\proj\Objects\Hips"). On Windows those are ordinary paths. On
// Linux a backslash is a character of a file name, so "out\Hips.mot" is one
// file in the current folder; the command-line host then moves such a file
// to where the plug-in meant it ("out/Hips.mot"), as a Windows host's file
// system would have put it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvantide::cli {

// Host paths here are UTF-8 (the simulated host converts the plug-in's).

// The platform path a host path names: on Linux every backslash becomes a
// separator; on Windows the path is unchanged.
std::string NativePath(const std::string& hostPath);

enum class Settled {
    kNotMoved,    // nothing under its host name to move (always so on Windows)
    kMoved,       // a file written under its host name was moved to its native path
    kNoFolder,    // written under its host name; the native folder does not exist
    kRefused,     // written under its host name; the native path may not be replaced
    kMoveFailed,  // written under its host name; it could not be moved
};

// Looks for the file the plug-in wrote for `hostPath` and brings it to
// NativePath(hostPath) through the file layer, as the plug-in's own files
// land: an older file there is replaced and keeps its permission bits, a
// link's target is replaced and the link kept; a read-only file, a folder,
// a device or a pipe there is refused and left as it is. The file under
// its host name is removed once moved, and kept otherwise. `reason`, when
// given, receives why with kRefused and kMoveFailed.
Settled SettleWrittenFile(const std::string& hostPath, std::string* reason = nullptr);

// Which file a path names, and when it was last written: a file written
// again through a temporary file is another file, even within the file
// system's time resolution.
struct FileStamp {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    std::int64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};
// Nothing when no file is there.
std::optional<FileStamp> StampOf(const std::string& path);

}  // namespace corvantide::cli
