// The folders a run makes for what it writes (the --out folder, the
// pictures folder, a picture's folder), made when first needed. Those still
// empty when the run ends are removed again, so a run that wrote nothing
// leaves nothing behind.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvantide::cli {

class OutputFolders {
public:
    OutputFolders() = default;
    // Removes the folders made here that are empty, the deepest first.
    ~OutputFolders();
    OutputFolders(const OutputFolders&) = delete;
    OutputFolders& operator=(const OutputFolders&) = delete;

    // Makes `folder` and its missing parents. False, with the reason naming
    // the part in the way (a file, a device or pipe, a link that leads
    // nowhere), when that cannot be done; nothing is made then unless the
    // system refused a folder part-way.
    bool Make(const std::filesystem::path& folder, std::string* reason);

private:
    std::vector<std::filesystem::path> made_;
};

}  // namespace corvantide::cli
