// Scene files as Notepad saves them: "UTF-8", "UTF-8 with BOM", "Unicode"
// (UTF-16 little endian), "Unicode big endian", each with CR LF line ends;
// one saved as "ANSI" is refused with its place and what to do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands.h"
#include "scene_encoding.h"
#include "scene_json.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using namespace corvantide::cli;

// Line 7 holds "Würfel" with its "ü" at column 17.
const std::string kScene =
    "{\r\n"
    "  \"fps\": 30,\r\n"
    "  \"items\": [\r\n"
    "    {\"name\": \"Box\", \"keys\": [{\"frame\": 0, \"values\": {\"position.x\": 1}}]}\r\n"
    "  ],\r\n"
    "  \"actions\": [\r\n"
    "     {\"note\": \"W\xC3\xBCrfel\", \"do\": \"showPanel\"},\r\n"
    "    {\"do\": \"select\", \"item\": \"Box\"},\r\n"
    "    {\"do\": \"type\", \"field\": \"path\", \"text\": \"Box\"},\r\n"
    "    {\"do\": \"press\", \"button\": \"Export Current Motion\"}\r\n"
    "  ]\r\n"
    "}\r\n";

// UTF-8 (with no character past U+FFFF) as UTF-16 with its byte-order mark.
std::string Utf16(const std::string& utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        unsigned code = lead;
        std::size_t length = 1;
        if (lead >= 0xE0) {
            code = (lead & 0x0FU) << 12 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3FU) << 6 |
                   (static_cast<unsigned char>(utf8[i + 2]) & 0x3FU);
            length = 3;
        } else if (lead >= 0xC0) {
            code = (lead & 0x1FU) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3FU);
            length = 2;
        }
        const char high = static_cast<char>(code >> 8);
        const char low = static_cast<char>(code & 0xFFU);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
        i += length;
    }
    return bytes;
}

std::string Ansi(const std::string& text) {  // code page 1252: "ü" is one byte, 0xFC
    const std::size_t at = text.find("\xC3\xBC");
    return text.substr(0, at) + '\xFC' + text.substr(at + 2);
}

TEST(SceneEncodings, EveryEncodingNotepadOffersReadsAsTheSameScene) {
    const std::pair<const char*, std::string> saved[] = {
        {"UTF-8", kScene},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kScene},
        {"UTF-16 LE", Utf16(kScene, false)},
        {"UTF-16 BE", Utf16(kScene, true)},
    };
    for (const auto& [encoding, bytes] : saved) {
        SceneDescription scene;
        std::string error;
        ASSERT_TRUE(ParseSceneJson(bytes, &scene, &error)) << encoding << ": " << error;
        ASSERT_EQ(4U, scene.actions.size()) << encoding;
        EXPECT_EQ("W\xC3\xBCrfel", scene.actions[0].note) << encoding;
        EXPECT_EQ("Box", scene.items.at(0).name) << encoding;
    }
}

TEST(SceneEncodings, AFileSavedAsAnsiIsRefusedWithWhereAndWhatToDo) {
    SceneDescription scene;
    std::string error;
    EXPECT_FALSE(ParseSceneJson(Ansi(kScene), &scene, &error));
    EXPECT_EQ("line 7, column 17: not UTF-8 (saved as ANSI?): save the file as UTF-8", error);
}

TEST(SceneEncodings, BrokenUtf16AndUtf16WithoutItsMarkAreRefusedWithTheSameAdvice) {
    std::string text;
    std::string reason;
    EXPECT_FALSE(
        SceneTextAsUtf8(Utf16("{}", false) + std::string(1, '\0'), &text, &reason));  // an odd byte at the end
    EXPECT_EQ("line 1, column 3: the UTF-16 text ends in half a character: save the file as UTF-8", reason);
    EXPECT_FALSE(SceneTextAsUtf8(std::string("\xFF\xFE{\x00\x00\xD8}\x00", 8), &text, &reason));
    EXPECT_EQ("line 1, column 2: not valid UTF-16 (half of a character pair): save the file as UTF-8", reason);
    EXPECT_FALSE(SceneTextAsUtf8(std::string("{\x00}\x00", 4), &text, &reason));
    EXPECT_EQ("line 1, column 2: a zero byte (saved as UTF-16 without its mark?): save the file as UTF-8",
              reason);
    // Overlong forms and encoded surrogates are no UTF-8 either.
    for (const char* bytes :
         {"{\"a\": \"\xC0\xAF\"}", "{\"a\": \"\xED\xA0\x80\"}", "{\"a\": \"\xF4\x90\x80\x80\"}"}) {
        EXPECT_FALSE(SceneTextAsUtf8(bytes, &text, &reason)) << bytes;
        EXPECT_EQ("line 1, column 8: not UTF-8 (saved as ANSI?): save the file as UTF-8", reason);
    }
    // A character past U+FFFF as a surrogate pair reads as itself.
    ASSERT_TRUE(SceneTextAsUtf8(std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), &text, &reason)) << reason;
    EXPECT_EQ("\xF0\x9F\x98\x80", text);
}

TEST(SceneEncodings, AUnicodeSceneRunsToItsFileAndAnAnsiOneStartsNothing) {
    const TestFolder folder;
    const fs::path unicode = folder.Path() / "unicode.json";
    const fs::path ansi = folder.Path() / "ansi.json";
    std::ofstream(unicode, std::ios::binary) << Utf16(kScene, false);
    std::ofstream(ansi, std::ios::binary) << Ansi(kScene);
    std::ostringstream out, err;
    ASSERT_EQ(kExitOk, RunScene(unicode.string(), (folder.Path() / "shot").string(), out, err, false, false))
        << err.str();
    EXPECT_TRUE(fs::exists(folder.Path() / "shot" / "Box.mot"));
    EXPECT_NE(std::string::npos, out.str().find("W\xC3\xBCrfel"));

    std::ostringstream told, refused;
    EXPECT_EQ(kExitUsage, RunScene(ansi.string(), (folder.Path() / "ansi").string(), told, refused));
    EXPECT_EQ(ansi.string() + ": line 7, column 17: not UTF-8 (saved as ANSI?): save the file as UTF-8\n",
              refused.str());
    EXPECT_FALSE(fs::exists(folder.Path() / "ansi"));
}

}  // namespace
}  // namespace corvantide_test
