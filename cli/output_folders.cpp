// Folders made for a run's files, and removed again when left empty.
#include "output_folders.h"

#include <system_error>

#include "motfile/utf8_path.h"
#include "shown_text.h"

namespace corvantide::cli {

namespace fs = std::filesystem;

namespace {

// Why `part`, which exists, cannot hold files; empty for a folder (or a link to one).
std::string InTheWay(const fs::path& part) {
    std::error_code error;
    const fs::file_status status = fs::status(part, error);
    if (fs::is_directory(status)) return {};
    std::string why = "\"";
    why.append(Shown(motfile::Utf8Text(part))).append("\" is ");
    if (fs::is_regular_file(status)) return why.append("a file, not a folder");
    if (status.type() == fs::file_type::not_found) return why.append("a link that leads to no folder");
    return why.append("a device or a pipe, not a folder");
}

}  // namespace

OutputFolders::~OutputFolders() {
    for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) {
        std::error_code ignored;
        if (fs::is_empty(*folder, ignored) && !ignored) fs::remove(*folder, ignored);
    }
}

bool OutputFolders::Make(const fs::path& folder, std::string* reason) {
    std::error_code error;
    const fs::path whole = fs::absolute(folder, error).lexically_normal();
    if (error) {
        *reason = error.message();
        return false;
    }
    std::vector<fs::path> missing;
    fs::path part;
    for (const fs::path& piece : whole) {
        if (piece.empty()) continue;  // the end of a path with a trailing separator
        part /= piece;
        if (part == whole.root_path() || part == whole.root_name()) continue;
        if (!missing.empty()) {
            missing.push_back(part);
            continue;
        }
        const fs::file_status status = fs::symlink_status(part, error);
        if (status.type() == fs::file_type::not_found) {
            missing.push_back(part);
            continue;
        }
        if (std::string why = InTheWay(part); !why.empty()) {
            *reason = why;
            return false;
        }
    }
    for (const fs::path& make : missing) {
        if (!fs::create_directory(make, error) && error) {
            *reason = error.message();
            return false;
        }
        made_.push_back(make);
    }
    return true;
}

}  // namespace corvantide::cli
