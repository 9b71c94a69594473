// Notepad's encodings of a scene file, read into UTF-8.
#include "scene_encoding.h"

#include <cstdint>

namespace corvantide::cli {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
constexpr char kSaveAsUtf8[] = "save the file as UTF-8";

// Line and column (in characters, from 1) of the character that starts at
// `offset` of UTF-8 text that is sound before it.
std::string Place(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0U) != 0x80U) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Length of the well-formed UTF-8 sequence at `at`, 0 when there is none
// (a stray or missing continuation byte, an overlong form, a surrogate, a
// code point past U+10FFFF).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80U) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80U;
    unsigned char high = 0xBFU;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        if (lead == 0xE0U) low = 0xA0U;   // no overlong forms
        if (lead == 0xEDU) high = 0x9FU;  // no surrogates
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        if (lead == 0xF0U) low = 0x90U;
        if (lead == 0xF4U) high = 0x8FU;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (byte < (i == 1 ? low : 0x80U) || byte > (i == 1 ? high : 0xBFU)) return 0;
    }
    return length;
}

void AppendUtf8(std::uint32_t code, std::string* text) {
    if (code < 0x80U) {
        text->push_back(static_cast<char>(code));
    } else if (code < 0x800U) {
        text->push_back(static_cast<char>(0xC0U | (code >> 6)));
        text->push_back(static_cast<char>(0x80U | (code & 0x3FU)));
    } else if (code < 0x10000U) {
        text->push_back(static_cast<char>(0xE0U | (code >> 12)));
        text->push_back(static_cast<char>(0x80U | ((code >> 6) & 0x3FU)));
        text->push_back(static_cast<char>(0x80U | (code & 0x3FU)));
    } else {
        text->push_back(static_cast<char>(0xF0U | (code >> 18)));
        text->push_back(static_cast<char>(0x80U | ((code >> 12) & 0x3FU)));
        text->push_back(static_cast<char>(0x80U | ((code >> 6) & 0x3FU)));
        text->push_back(static_cast<char>(0x80U | (code & 0x3FU)));
    }
}

bool FromUtf16(std::string_view units, bool bigEndian, std::string* text, std::string* reason) {
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto first = static_cast<unsigned char>(units[i]);
        const auto second = static_cast<unsigned char>(units[i + 1]);
        return bigEndian ? (std::uint32_t{first} << 8) | second : (std::uint32_t{second} << 8) | first;
    };
    text->clear();
    text->reserve(units.size());
    std::size_t i = 0;
    for (; i + 1 < units.size(); i += 2) {
        std::uint32_t code = unitAt(i);
        if (code >= 0xD800U && code <= 0xDBFFU && i + 3 < units.size() && unitAt(i + 2) >= 0xDC00U &&
            unitAt(i + 2) <= 0xDFFFU) {
            code = 0x10000U + ((code - 0xD800U) << 10) + (unitAt(i + 2) - 0xDC00U);
            i += 2;
        } else if (code >= 0xD800U && code <= 0xDFFFU) {
            *reason =
                Place(*text, text->size()) + ": not valid UTF-16 (half of a character pair): " + kSaveAsUtf8;
            return false;
        }
        AppendUtf8(code, text);
    }
    if (i < units.size()) {
        *reason = Place(*text, text->size()) + ": the UTF-16 text ends in half a character: " + kSaveAsUtf8;
        return false;
    }
    return true;
}

}  // namespace

bool SceneTextAsUtf8(std::string_view bytes, std::string* text, std::string* reason) {
    if (bytes.substr(0, kUtf16LittleMark.size()) == kUtf16LittleMark)
        return FromUtf16(bytes.substr(kUtf16LittleMark.size()), false, text, reason);
    if (bytes.substr(0, kUtf16BigMark.size()) == kUtf16BigMark)
        return FromUtf16(bytes.substr(kUtf16BigMark.size()), true, text, reason);
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) bytes.remove_prefix(kUtf8Mark.size());
    for (std::size_t at = 0; at < bytes.size();) {
        if (bytes[at] == '\0') {
            *reason = Place(bytes, at) + ": a zero byte (saved as UTF-16 without its mark?): " + kSaveAsUtf8;
            return false;
        }
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0) {
            *reason = Place(bytes, at) + ": not UTF-8 (saved as ANSI?): " + kSaveAsUtf8;
            return false;
        }
        at += length;
    }
    text->assign(bytes);
    return true;
}

}  // namespace corvantide::cli
