// Escaped control characters in shown names and paths.
#include "shown_text.h"

namespace corvantide::cli {

std::string Shown(std::string_view text) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace corvantide::cli
