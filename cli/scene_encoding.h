// Scene files as Notepad saves them: UTF-8 with or without a byte-order mark,
// and UTF-16 (little or big endian) with one, all turned into UTF-8. Bytes in
// no such encoding (a file saved as "ANSI") are refused with their place.
#pragma once

#include <string>
#include <string_view>

namespace corvantide::cli {

// The file's text as UTF-8, without a byte-order mark. False, with *reason
// naming the line and column and what to do ("line 7, column 17: not UTF-8
// (saved as ANSI?): save the file as UTF-8"), when it is in none of them.
bool SceneTextAsUtf8(std::string_view bytes, std::string* text, std::string* reason);

}  // namespace corvantide::cli
