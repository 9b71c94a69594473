// The command-line tools hand the plug-in's file layer UTF-8 paths. With the
// process's text encoding set to UTF-8 a letter is stepped whole under any
// code page (in 932 the bytes of "あ", E3 81 82, would otherwise be read as
// two double-byte characters, the second swallowing the "\" after it), and a
// file lands under the name it was given, also outside the code page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "code_page_names.h"
#include "export/file_names.h"
#include "export/file_output.h"
#include "host/host_characters.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

using corvantide::TextEncoding;

class CodePageUtf8Paths : public testing::Test {
protected:
    void SetUp() override {
        ExpectTheRequestedCodePage();
        before_ = corvantide::CurrentTextEncoding();
        corvantide::SetTextEncoding(TextEncoding::kUtf8);
    }
    void TearDown() override { corvantide::SetTextEncoding(before_); }

    TextEncoding before_ = TextEncoding::kHostCodePage;
};

TEST_F(CodePageUtf8Paths, ALetterIsSteppedWholeAndTheSeparatorAfterItCounts) {
    const char* path = "\xE3\x81\x82\\x.svg";  // "あ\x.svg"
    EXPECT_EQ(path + 3, corvantide::NextHostCharacter(path));
    EXPECT_EQ(4U, corvantide::NamePartOffset(path));
    EXPECT_EQ(0U, corvantide::WholeCharactersWithin(path, 2));  // never half a letter
    // A letter cut short, and a stray byte, are a character each.
    const char* cut = "\xE3\x81";
    EXPECT_EQ(cut + 2, corvantide::NextHostCharacter(cut));
    const char* stray = "\x82z";
    EXPECT_EQ(stray + 1, corvantide::NextHostCharacter(stray));
}

TEST_F(CodePageUtf8Paths, AWholeFileLandsUnderItsUtf8Name) {
    TestFolder folder;
    for (const char* name : {"W\xC3\xBCrfel", "\xE8\xA1\xA8\xE7\xA4\xBA"}) {
        const std::filesystem::path path =
            folder.Path() / corvantide::motfile::Utf8Path(std::string(name) + ".svg");
        const std::string utf8 = corvantide::motfile::Utf8Text(path);
        char reason[128] = "";
        EXPECT_EQ(corvantide::WholeFile::kWritten,
                  corvantide::WriteWholeFile(utf8.c_str(), "<svg/>", 6, reason, sizeof reason))
            << reason;
        EXPECT_TRUE(std::filesystem::exists(path)) << name;
        EXPECT_EQ(6U, std::filesystem::file_size(path));
    }
}

}  // namespace
}  // namespace corvantide_test
