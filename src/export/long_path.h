// Windows paths in the long-path form ("\\?\C:\...", "\\?\UNC\server\..."),
// so that files of any path the host's records can hold are opened, moved
// and removed; the C runtime stops at 260 characters. [interface thread]
#pragma once

#if defined(_WIN32)

#include <cstddef>

#include "host/plugin_limits.h"

namespace corvantide {

// The host's text (ANSI code page, or UTF-8 when the process's text
// encoding is UTF-8) as a full path in the long-path form, into `wide`
// (capacity characters). A relative path is taken from the current folder.
// False when the text is not valid in its encoding or the form does not fit.
bool LongPathForm(const char* path, wchar_t* wide, std::size_t capacity);

}  // namespace corvantide

#endif
