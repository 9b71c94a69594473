// The host's texts. The scene's texts are UTF-8; the host hands a plug-in
// its texts in the Windows ANSI code page (GetACP), so the simulated host
// converts them on Windows before the plug-in sees them, and converts what
// the plug-in writes back. On Linux host text is the UTF-8 bytes unchanged.
#pragma once

#include <string>

namespace simhost {

// The UTF-8 text in the host's code page. False, with *host empty, when the
// code page cannot hold every character of it (or it is not UTF-8).
bool ToHostText(const std::string& utf8, std::string* host);

// Host text as UTF-8; a byte the code page does not map shows as U+FFFD.
std::string FromHostText(const std::string& host);

// The host's code page as the user knows it: "code page 932", "UTF-8".
std::string HostCodePageName();

}  // namespace simhost
