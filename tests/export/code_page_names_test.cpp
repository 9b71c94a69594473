// Exports to destinations and folders named in the host's code page: the
// files appear under the right names, their temporary files are made beside
// them, and nothing is left anywhere else.
#include <algorithm>
#include <cstring>

#include "code_page_names.h"
#include "export/file_output.h"
#include "host/item_record.h"
#include "host/text_buffer.h"
#include "linked_plugin.h"
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

namespace fs = std::filesystem;
using corvantide::motfile::Utf8Path;
using corvantide::motfile::Utf8Text;

// A batch destination as the host names it: "folder\name". On Linux the
// backslash is a character of the file's name, in the folder's parent.
std::string BatchFile(const std::string& folder, const std::string& name) {
#if defined(_WIN32)
    return folder + "/" + name;
#else
    return folder + "\\" + name;
#endif
}

void* AddKeyedItem(simhost::SimHost& host, const std::string& name, std::int32_t type = 0,
                   const std::string& sourcePath = "") {
    void* item =
        host.Scene().AddItem(HostText(name), type, sourcePath.empty() ? nullptr : HostText(sourcePath).c_str());
    host.Scene().AddKey(item, 0).Set(0, 1.0).Set(3, 0.5).Set(12, 2.0);
    host.Scene().AddKey(item, 10).Set(0, 2.0).Set(3, 1.5).Set(12, 3.0);
    return item;
}

class CodePageNames : public PanelSession {
protected:
    void SetUp() override {
        PanelSession::SetUp();
        ExpectTheRequestedCodePage();
        if (HasFatalFailure()) return;
        names = NamesOfTheCodePage();
        if (names.empty()) GTEST_SKIP() << "no names for " << simhost::HostCodePageName();
        for (const std::string& name : names) fs::create_directory(root.Path() / Utf8Path(name));
    }
    // The path of `relative` ("/" between names) under the root, in UTF-8.
    std::string PathText(const std::string& relative) const {
        return Utf8Text((root.Path() / Utf8Path(relative)).make_preferred());
    }
    std::string HostPath(const std::string& relative) const { return HostText(PathText(relative)); }

    TestFolder root;
    std::vector<std::string> names;
};

TEST_F(CodePageNames, TheCurrentCameraWritesBothFilesIntoAFolderOfItsName) {
    OpenPanel();
    std::set<std::string> expected;
    for (const std::string& name : names) {
        user.SelectItem(AddKeyedItem(host, name, kCameraType));
        user.TypePath(HostPath(name + "/" + name));
        user.Press("Export Current Motion");
        EXPECT_EQ("Info\nStatus: Idle", user.StatusText()) << name;
        expected.insert(name + "/" + name + ".mot");
        expected.insert(name + "/" + name + "_ZoomFactor.mot");
    }
    EXPECT_EQ(expected, FilesUnder(root.Path()));
}

TEST_F(CodePageNames, ABatchWritesBesideEachSourceFileAndIntoABatchDirectoryOfTheseNames) {
    for (const std::string& name : names) AddKeyedItem(host, name, 0, PathText(name + "/" + name + ".lwo"));
    OpenPanel();
    user.Press("Setup Batch");
    user.Press("Export Batch Motions");
    std::set<std::string> expected;
    for (const std::string& name : names) expected.insert(BatchFile(name, name + ".mot"));
    EXPECT_EQ(expected, FilesUnder(root.Path()));

    const std::string batchDirectory = HostPath(names.back());
    user.AnswerRequester(true, batchDirectory, batchDirectory + "\\x");
    user.Press("Batch Path");
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    user.Press("Export Batch Motions");
    for (const std::string& name : names) expected.insert(BatchFile(names.back(), name + ".mot"));
    EXPECT_EQ(expected, FilesUnder(root.Path()));
}

// In code page 932 "ソ" ends in 0x5C and "ポ" in 0x7C, the bytes of "\\" and
// "|": Setup Batch steps over them as letters and replaces only the real "|".
TEST_F(CodePageNames, SetupBatchKeepsLettersWhoseSecondByteIsASeparatorsByte) {
    if (std::find(names.begin(), names.end(), "ソフト") == names.end())
        GTEST_SKIP() << "no Japanese names here";
    void* item = AddKeyedItem(host, "ソポ|表");
    OpenPanel();
    user.TypeBatchPath(HostPath(names.front()));
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    EXPECT_EQ(HostPath(names.front()) + "\\" + HostText("ソポ_表"), TextOf(SettingsOf(item)->destinationPath));
    user.Press("Export Batch Motions");
    EXPECT_EQ(1u, FilesUnder(root.Path()).count(BatchFile(names.front(), "ソポ_表.mot")));
}

// In code page 932 "ア" is 0x83 0x41 and "ヂ" 0x83 0x61: as bytes they differ
// only in an ASCII letter's case, yet they are two names, and two files.
TEST_F(CodePageNames, SetupBatchTellsApartLettersWhoseSecondBytesDifferInCase) {
    if (std::find(names.begin(), names.end(), "ソフト") == names.end())
        GTEST_SKIP() << "no Japanese names here";
    void* first = AddKeyedItem(host, "ア");
    void* second = AddKeyedItem(host, "ヂ");
    OpenPanel();
    user.TypeBatchPath(HostPath(names.front()));
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    EXPECT_EQ(0, SettingsOf(first)->outputDisabled);
    EXPECT_EQ(0, SettingsOf(second)->outputDisabled);
}

TEST_F(CodePageNames, ABatchNamesEveryFileItDidNotWriteByItsWholeName) {
    for (const std::string& name : names) AddKeyedItem(host, name, 0, PathText(name + "/" + name + ".lwo"));
    OpenPanel();
    user.Press("Setup Batch");
    for (void* item : host.Scene().Items()) SettingsOf(item)->motionFormat = 1;  // a format it does not write
    user.Press("Export Batch Motions");
    const std::string status = simhost::FromHostText(user.StatusText());
    for (const std::string& name : names)
        EXPECT_NE(std::string::npos, status.find(" " + name + ".mot")) << status;
    EXPECT_TRUE(FilesUnder(root.Path()).empty());
}

TEST_F(CodePageNames, AMessageCutAtTheStatusLimitEndsInAWholeCharacter) {
    OpenPanel();
    user.SelectItem(AddKeyedItem(host, names.front()));
    // Too long a path to write, named in the message, which is cut to fit: one
    // of the two lengths puts the cut inside a double-byte character.
    for (const std::string lead : {"", "a"}) {
        const std::string name = HostText(names.front());
        std::string path = lead;
        while (path.size() + name.size() <= corvantide::kMaxMotionBaseLength) path += name;
        path.resize(corvantide::kMaxMotionBaseLength + 2, 'b');
        user.TypePath(path);
        user.Press("Export Current Motion");
        const std::string status = user.StatusText();
        ASSERT_EQ(0u, status.rfind("Info  Path too long", 0)) << lead;
        std::string again;
        EXPECT_TRUE(simhost::ToHostText(simhost::FromHostText(status), &again) && again == status)
            << "half a character at the end, after \"" << lead << "\"";
    }
    EXPECT_TRUE(FilesUnder(root.Path()).empty());
}

// The plug-in's own objects, with the file seam watching where the
// temporary files are made.
std::vector<std::string> opened;

void* RecordedOpen(const char* path) {
    opened.push_back(path);
    return corvantide::PlatformFileOperations().open(path);
}

class CodePageStaging : public LinkedPlugin {
protected:
    void SetUp() override {
        LinkedPlugin::SetUp();
        ExpectTheRequestedCodePage();
        if (HasFatalFailure()) return;
        names = NamesOfTheCodePage();
        if (names.empty()) GTEST_SKIP() << "no names for " << simhost::HostCodePageName();
        opened.clear();
        corvantide::FileOutput.open = RecordedOpen;
    }
    std::vector<std::string> names;
};

TEST_F(CodePageStaging, TemporaryFilesAreMadeInTheFolderOfTheirDestination) {
    for (const std::string& name : names) {
        const fs::path folder = directory / Utf8Path(name);
        fs::create_directory(folder);
        void* camera = AddKeyedItem(host, name, kCameraType);
        corvantide::ExportSettings* settings = Prepare(camera, "unused");
        ASSERT_NE(nullptr, settings);
        ASSERT_TRUE(corvantide::CopyText(settings->destinationPath, corvantide::kPathCapacity,
                                         HostText(Utf8Text(folder / Utf8Path(name))).c_str()));
        opened.clear();
        EXPECT_EQ(1, Export(camera)) << name << ": " << Status();
        ASSERT_EQ(2u, opened.size()) << name;  // the motion file's, then the zoom file's
        for (const std::string& temporary : opened) {
            const fs::path made = Utf8Path(simhost::FromHostText(temporary));
            EXPECT_EQ(folder, made.parent_path()) << temporary;
            // Its own short name, nothing of the destination's.
            EXPECT_EQ(0u, Utf8Text(made.filename()).rfind("~cv", 0)) << temporary;
            EXPECT_EQ(corvantide::kTemporaryNameLength, Utf8Text(made.filename()).size()) << temporary;
        }
        EXPECT_TRUE(fs::exists(folder / Utf8Path(name + ".mot"))) << name;
        EXPECT_TRUE(fs::exists(folder / Utf8Path(name + "_ZoomFactor.mot"))) << name;
        EXPECT_EQ(2, std::distance(fs::directory_iterator(folder), fs::directory_iterator{})) << name;
    }
}

}  // namespace
}  // namespace corvantide_test
