// Host paths with backslashes, on a platform whose separator is "/".
#include "host_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "motfile/utf8_path.h"
#include "tool_files.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace corvantide::cli {

namespace fs = std::filesystem;

std::string NativePath(const std::string& hostPath) {
#if defined(_WIN32)
    return hostPath;
#else
    std::string native = hostPath;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
#endif
}

Settled SettleWrittenFile(const std::string& hostPath, std::string* reason) {
    const fs::path host = motfile::Utf8Path(hostPath);
    const fs::path native = motfile::Utf8Path(NativePath(hostPath));
    std::error_code error;
    if (native == host || !fs::exists(host, error)) return Settled::kNotMoved;
    const fs::path parent = native.parent_path();
    if (!parent.empty() && !fs::is_directory(parent, error)) return Settled::kNoFolder;
    // Moved through the file layer, so that the destination is judged and
    // replaced as the plug-in's own are.
    const simhost::ToolWrite moved = simhost::MoveToolFile(hostPath, NativePath(hostPath));
    if (moved.outcome == WholeFile::kWritten) return Settled::kMoved;
    if (reason != nullptr) *reason = moved.reason;
    return moved.outcome == WholeFile::kRefused ? Settled::kRefused : Settled::kMoveFailed;
}

std::optional<FileStamp> StampOf(const std::string& path) {
#if defined(_WIN32)
    const HANDLE file =
        CreateFileW(motfile::Utf8Path(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (!known) return std::nullopt;
    FileStamp stamp;
    stamp.volume = information.dwVolumeSerialNumber;
    stamp.file = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    stamp.writeTime = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(information.ftLastWriteTime.dwHighDateTime) << 32) |
        information.ftLastWriteTime.dwLowDateTime);
    return stamp;
#else
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    FileStamp stamp;
    stamp.volume = static_cast<std::uint64_t>(status.st_dev);
    stamp.file = static_cast<std::uint64_t>(status.st_ino);
    stamp.writeTime = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return stamp;
#endif
}

}  // namespace corvantide::cli
