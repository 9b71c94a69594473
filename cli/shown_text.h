// Texts shown to the user that may hold anything a file system or a scene
// allows: names and paths with line feeds or other control characters are
// shown escaped, so every message stays on its line and reads back as typed.
#pragma once

#include <string>
#include <string_view>

namespace corvantide::cli {

// `text` with a line feed as "\n", a tab as "\t", a carriage return as "\r"
// and every other control byte (and DEL) as "\xNN"; everything else as it is.
std::string Shown(std::string_view text);

}  // namespace corvantide::cli
