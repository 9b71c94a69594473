// Host paths with backslashes, on a platform whose separator is "/".
#include "host_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

std::optional<fs::file_time_type> WriteTime(const std::string& path) {
    std::error_code error;
    const auto time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return time;
}

Settled SettleWrittenFile(const std::string& hostPath) {
    const std::string native = NativePath(hostPath);
    std::error_code error;
    if (native == hostPath) return fs::exists(native, error) ? Settled::kInPlace : Settled::kAbsent;
    if (!fs::exists(hostPath, error)) return fs::exists(native, error) ? Settled::kInPlace : Settled::kAbsent;
    const fs::path parent = fs::path(native).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, error)) return Settled::kNoFolder;
    fs::rename(hostPath, native, error);
    return error ? Settled::kMoveFailed : Settled::kMoved;
}

}  // namespace corvantide::cli
