// File paths held as UTF-8 text. A path made from a narrow string on
// Windows would follow a code page and miss names outside it; these go
// through the file system's own wide names there, so every name opens.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvantide::motfile {

inline std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace corvantide::motfile
