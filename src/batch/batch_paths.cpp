// Batch path composition.
#include "batch/batch_paths.h"

#include <iterator>

#include "export/file_names.h"
#include "host/host_characters.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"

namespace corvantide {

namespace {

constexpr char kSeparator = '\\';

// "\x", "/x", or a drive: a first character of one byte, then a colon.
bool IsAbsoluteDirectory(const char* directory) {
    if (directory[0] == '\0') return false;
    return IsPathSeparator(directory[0]) ||
           (NextHostCharacter(directory) == directory + 1 && directory[1] == ':');
}

}  // namespace

bool BatchBaseName(char* baseName, const char* itemName) {
    if (!CopyText(baseName, kPathCapacity, itemName != nullptr ? itemName : "")) {
        baseName[0] = '\0';
        return false;
    }
    DropObjectSuffix(baseName);
    if (MakeFileName(baseName, kPathCapacity)) return true;
    baseName[0] = '\0';
    return false;
}

bool ComposeBatchPaths(const BatchPathSources& sources, char* requesterPath, char* destinationPath) {
    char requester[kPathCapacity];
    char destination[kPathCapacity];
    const char* name = sources.baseName;
    const char* directory = sources.directoryPart;
    const char* content = sources.contentDirectory;
    bool fits = false;
    if (sources.useBatchDirectory) {
        const char* requesterParts[] = {sources.batchRequesterPath, name};
        const char* destinationParts[] = {sources.batchDirectory, name};
        fits = JoinText(requester, kPathCapacity, kSeparator, requesterParts, std::size(requesterParts)) &&
               JoinText(destination, kPathCapacity, kSeparator, destinationParts, std::size(destinationParts));
    } else {
        const char* parts[3] = {content, name, nullptr};
        std::size_t count = 2;
        if (IsAbsoluteDirectory(directory)) {
            parts[0] = directory;
        } else if (directory[0] != '\0') {
            parts[1] = directory;
            parts[2] = name;
            count = 3;
        }
        fits = JoinText(requester, kPathCapacity, kSeparator, parts, count);
        if (fits) CopyText(destination, kPathCapacity, requester);
    }
    if (!fits) return false;
    CopyText(requesterPath, kPathCapacity, requester);
    CopyText(destinationPath, kPathCapacity, destination);
    return true;
}

}  // namespace corvantide
