// Files the simulated host and the command-line host write themselves (the
// panel's pictures, plot pictures, the pictures of a session, a plug-in file
// brought from its host name to its place), all through the plug-in's file layer: the same names, staging,
// refusals of what may not be replaced, the move and the reasons. Paths are UTF-8.
#pragma once

#include <string>

#include "export/file_output.h"
#include "host/host_characters.h"

namespace simhost {

struct ToolWrite {
    corvantide::WholeFile outcome;
    std::string reason;  // why it was refused or failed; a warning for a written file; else empty
};

// Writes `text` as the whole file `path`: a device, a pipe, a folder, a
// read-only file or a link that leads nowhere is refused before anything
// is touched; a link's target is replaced and the link kept.
ToolWrite WriteToolFile(const std::string& path, const std::string& text);

// Moves the complete file `from` to `to` under the same rules; `from` stays
// when the move is refused or fails.
ToolWrite MoveToolFile(const std::string& from, const std::string& to);

// Why the file layer would refuse to write `path` now (a device, a pipe, a
// folder, a read-only file, a link that leads nowhere, a name Windows
// cannot hold); empty when it may be written. Nothing is touched.
std::string DestinationRefusal(const std::string& path);

// The tools' paths are UTF-8 for the file layer while it lives (the
// plug-in's are in the host's code page); the encoding before comes back.
class Utf8Paths {
public:
    Utf8Paths();
    ~Utf8Paths();
    Utf8Paths(const Utf8Paths&) = delete;
    Utf8Paths& operator=(const Utf8Paths&) = delete;

private:
    corvantide::TextEncoding before_;
};

}  // namespace simhost
