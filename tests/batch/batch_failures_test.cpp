// Files a batch run could not write: the run goes on, and it ends naming
// them in the status area, where they no longer scroll away.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/item_record.h"
#include "panel/panel_session.h"
#include "scene_items.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

namespace fs = std::filesystem;

class BatchFailures : public PanelSession {
protected:
    // An item prepared by hand, with its keys written as they are.
    void* ReadyItem(const std::string& name, const fs::path& base, std::int32_t type = 0) {
        void* item = AddTwoKeyItem(host, name, type);
        user.SelectItem(item);
        user.TypePath(base.string());
        return item;
    }
    std::string Read(const fs::path& path) const {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    bool IsMotionFile(const fs::path& path) const { return Read(path).rfind("LWMO\n", 0) == 0; }

    ScratchDirectory scratch{"batch-failures-" + CurrentTestName()};
    const fs::path& directory = scratch.Path();
};

TEST_F(BatchFailures, AnItemWhoseFolderIsMissingIsNamedWhenTheRunEnds) {
    OpenPanel();
    ReadyItem("Arm", directory / "Arm");
    ReadyItem("Bad", directory / "missing" / "Bad");
    ReadyItem("Cam", directory / "Cam", kCameraType);
    ReadyItem("Leg", directory / "Leg");

    user.Press("Export Batch Motions");

    EXPECT_TRUE(IsMotionFile(directory / "Arm.mot"));
    EXPECT_TRUE(IsMotionFile(directory / "Cam.mot"));
    EXPECT_EQ("{ Envelope\n", Read(directory / "Cam_ZoomFactor.mot").substr(0, 11));
    EXPECT_TRUE(IsMotionFile(directory / "Leg.mot"));  // the run went on after the failure
    EXPECT_EQ("Info  Couldn't write 1 of 5 files: Bad.mot: the folder does not exist\n", user.StatusText());
    EXPECT_TRUE(user.Messages().empty());
    ExpectCleanHost();
}

TEST_F(BatchFailures, AnItemInAFormatThatIsNotWrittenIsNamedByItsPath) {
    OpenPanel();
    ReadyItem("Arm", directory / "Arm");
    void* odd = ReadyItem("Odd", directory.string() + "\\sub\\Odd");
    SettingsOf(odd)->motionFormat = 1;
    // A path that fills its whole buffer without an end names no file.
    void* worn = ReadyItem("Worn", directory / "Worn");
    SettingsOf(worn)->motionFormat = 1;
    std::memset(SettingsOf(worn)->destinationPath, 'x', 1024);

    user.Press("Export Batch Motions");

    EXPECT_TRUE(IsMotionFile(directory / "Arm.mot"));
    EXPECT_EQ(
        "Info  Couldn't write 2 of 3 files: Odd.mot: its format is not written; .mot: its format is not "
        "written\n",
        user.StatusText());
}

TEST_F(BatchFailures, ARunOfOneFileThatFailsSaysFile) {
    OpenPanel();
    ReadyItem("Bad", directory / "missing" / "Bad");
    user.Press("Export Batch Motions");
    EXPECT_EQ("Info  Couldn't write 1 of 1 file: Bad.mot: the folder does not exist\n", user.StatusText());
}

// Paths set by hand can name one file twice: the first item writes it, the
// later one is not written and is named with the item that has the file.
TEST_F(BatchFailures, NoFileIsWrittenTwiceInARun) {
    OpenPanel();
    ReadyItem("Hand", directory / "Hand");
    void* other = ReadyItem("OtherHand", directory / "Hand");
    host.Scene().AddKey(other, 20).Set(0, 9.0);
    ReadyItem("Cam", directory / "Shot", kCameraType);
    ReadyItem("Shot_ZoomFactor", directory / "Shot_ZoomFactor");  // the camera's zoom file
    ReadyItem("Arm", directory / "Arm");

    user.Press("Export Batch Motions");

    // Hand's own two keys, not the three of the item after it.
    EXPECT_NE(std::string::npos, Read(directory / "Hand.mot").find("Channel 0\n{ Envelope\n  2\n"));
    EXPECT_EQ("{ Envelope\n", Read(directory / "Shot_ZoomFactor.mot").substr(0, 11));
    EXPECT_TRUE(IsMotionFile(directory / "Arm.mot"));
    EXPECT_EQ(
        "Info  Couldn't write 2 of 6 files: Hand.mot: same file as Hand; Shot_ZoomFactor.mot: same file as "
        "Cam\n",
        user.StatusText());
    ExpectCleanHost();
}

// The record of a run's files holds every file of a long run: a clash at
// its end is found as at its start.
TEST_F(BatchFailures, AFileOfTheFirstItemIsKnownAtTheEndOfALongRun) {
    OpenPanel();
    ReadyItem("First", directory / "First");
    for (int i = 0; i < 40; ++i)
        ReadyItem("Cam" + std::to_string(i), directory / ("Cam" + std::to_string(i)), kCameraType);
    ReadyItem("Last", directory / "First");

    user.Press("Export Batch Motions");

    EXPECT_EQ("Info  Couldn't write 1 of 82 files: First.mot: same file as First\n", user.StatusText());
    ExpectCleanHost();
}

// A camera whose zoom file an earlier item wrote writes neither of its files.
TEST_F(BatchFailures, ACameraWhoseZoomFileAnEarlierItemWroteKeepsBothFiles) {
    OpenPanel();
    ReadyItem("Shot_ZoomFactor", directory / "Shot_ZoomFactor");
    ReadyItem("Cam", directory / "Shot", kCameraType);

    user.Press("Export Batch Motions");

    EXPECT_FALSE(fs::exists(directory / "Shot.mot"));
    EXPECT_TRUE(IsMotionFile(directory / "Shot_ZoomFactor.mot"));
    EXPECT_EQ(
        "Info  Couldn't write 2 of 3 files: Shot.mot: its zoom file cannot be written; Shot_ZoomFactor.mot: "
        "same "
        "file as Shot_ZoomFactor\n",
        user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchFailures, AReadOnlyFileIsListedWithItsReasonAndTheRunGoesOn) {
    OpenPanel();
    ReadyItem("Box", directory / "Box");
    ReadyItem("Arm", directory / "Arm");
    std::ofstream(directory / "Box.mot") << "protected";
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(directory / "Box.mot", writable, fs::perm_options::remove);

    user.Press("Export Batch Motions");

    EXPECT_EQ("protected", Read(directory / "Box.mot"));
    EXPECT_TRUE(IsMotionFile(directory / "Arm.mot"));
    EXPECT_EQ("Info  Couldn't write 1 of 2 files: Box.mot: the file is read-only\n", user.StatusText());
    fs::permissions(directory / "Box.mot", fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(BatchFailures, ACameraWhoseZoomFileIsRefusedKeepsBothFilesAsTheyWere) {
    OpenPanel();
    // A folder squats on the zoom file's name: found before either file is touched.
    fs::create_directories(directory / "Cam_ZoomFactor.mot");
    std::ofstream(directory / "Cam.mot") << "earlier";
    ReadyItem("Cam", directory / "Cam", kCameraType);
    ReadyItem("Arm", directory / "Arm");

    user.Press("Export Batch Motions");

    EXPECT_EQ("earlier", Read(directory / "Cam.mot"));
    EXPECT_TRUE(fs::is_directory(directory / "Cam_ZoomFactor.mot"));
    EXPECT_TRUE(IsMotionFile(directory / "Arm.mot"));
    EXPECT_EQ(
        "Info  Couldn't write 2 of 3 files: Cam.mot: its zoom file cannot be written; Cam_ZoomFactor.mot: a "
        "folder has that name\n",
        user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchFailures, ALongListOfFailuresIsCutWithinTheStatusText) {
    OpenPanel();
    constexpr int kItems = 40;
    for (int i = 0; i < kItems; ++i) {
        const std::string name = "Item" + std::to_string(i) + std::string(30, 'x');
        ReadyItem(name, directory / "missing" / name);
    }
    ReadyItem("Arm", directory / "Arm");

    user.Press("Export Batch Motions");

    const std::string text = user.StatusText();
    const std::string start = "Info  Couldn't write 40 of 41 files: Item0" + std::string(30, 'x') +
                              ".mot: the folder does not exist; Item1";
    EXPECT_EQ(start, text.substr(0, start.size()));
    EXPECT_LE(text.size(), 1023u);
    // Whole entries only, each with its reason, then how many more failed.
    EXPECT_EQ("exist; and 26 more\n", text.substr(text.size() - 19)) << text;
    EXPECT_TRUE(IsMotionFile(directory / "Arm.mot"));
    ExpectCleanHost();
}

TEST_F(BatchFailures, ManyShortNamesAreCutWithinTheMessageLine) {
    OpenPanel();
    // Names of ten characters: 81 fill the message line to 1008 of its 1016
    // characters, so the line, not the text around it, decides the cut.
    constexpr int kItems = 120;
    for (int i = 0; i < kItems; ++i) {
        std::string name = "B";
        name += std::to_string(10000 + i);
        ReadyItem(name, directory / "missing" / name);
    }

    user.Press("Export Batch Motions");

    const std::string text = user.StatusText();
    EXPECT_EQ(0u, text.rfind("Info  Couldn't write 120 of 120 files: B10000.mot: the folder does not exist; "
                             "B10001.mot: the folder does not exist; ",
                             0))
        << text;
    EXPECT_LE(text.size(), 1023u);
    EXPECT_EQ("B10023.mot: the folder does not exist; and 96 more\n", text.substr(text.size() - 51)) << text;
}

TEST_F(BatchFailures, AnAbortAfterAFailureNamesTheFailedFileUnderTheAbortText) {
    OpenPanel();
    ReadyItem("Bad", directory / "missing" / "Bad");
    ReadyItem("Arm", directory / "Arm");
    host.Escape().Reset();
    host.Escape().PressAtProgress(1);  // Arm's first key

    user.Press("Export Batch Motions");

    EXPECT_FALSE(fs::exists(directory / "Arm.mot"));
    EXPECT_EQ(
        "Info  Motion File Generation Aborted.\nCouldn't write 1 of 1 file: Bad.mot: the folder does not "
        "exist\n",
        user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchFailures, ARunWithoutFailuresEndsIdle) {
    OpenPanel();
    ReadyItem("Arm", directory / "Arm");
    ReadyItem("Cam", directory / "Cam", kCameraType);
    user.Press("Export Batch Motions");
    EXPECT_EQ("Info\nStatus: Idle", user.StatusText());
}

// Cases named by the length of their message line.
std::string CharactersOfTheLine(const testing::TestParamInfo<std::size_t>& line) {
    return "Characters" + std::to_string(line.param);
}

// Two items whose files cannot be written, named so that their list is
// `length` characters: the list whole, and cut after the first name.
struct TwoFailedFiles {
    std::string whole;
    std::string cut;
};

class ListOfLength : public BatchFailures, public testing::WithParamInterface<std::size_t> {
protected:
    TwoFailedFiles ReadyTwoFailedFiles() {
        // "Couldn't write 2 of 2 files: ", "A.mot: the folder does not exist; "
        // and "B.mot: the folder does not exist" are 93 characters with empty names.
        const std::string first = std::string(400, 'a');
        const std::string second = std::string(GetParam() - 93 - first.size(), 'b');
        ReadyItem("First", directory / "missing" / first);
        ReadyItem("Second", directory / "missing" / second);
        const std::string start = "Couldn't write 2 of 2 files: " + first + ".mot: the folder does not exist";
        return {start + "; " + second + ".mot: the folder does not exist", start + "; and 1 more"};
    }
};

// The list alone takes the message line: 1016 characters (1023 with "Info  "
// and its line break).
using MessageLineOfLength = ListOfLength;

TEST_P(MessageLineOfLength, IsShownWholeUpToTheLimitAndCutBeyondIt) {
    constexpr std::size_t kLineLimit = 1016;
    OpenPanel();
    const TwoFailedFiles list = ReadyTwoFailedFiles();
    ASSERT_EQ(GetParam(), list.whole.size());

    user.Press("Export Batch Motions");

    EXPECT_EQ("Info  " + (GetParam() <= kLineLimit ? list.whole : list.cut) + "\n", user.StatusText());
    ExpectCleanHost();
}

INSTANTIATE_TEST_SUITE_P(BatchFailures, MessageLineOfLength, testing::Values(1015, 1016, 1017),
                         CharactersOfTheLine);

// After an abort the list shares the line with the abort text and its line
// break, 32 characters: the list takes 984.
using AbortedListOfLength = ListOfLength;

TEST_P(AbortedListOfLength, IsShownWholeUpToTheLimitAndCutBeyondIt) {
    constexpr std::size_t kListLimit = 1016 - 32;
    OpenPanel();
    const TwoFailedFiles list = ReadyTwoFailedFiles();
    ASSERT_EQ(GetParam(), list.whole.size());
    ReadyItem("Arm", directory / "Arm");
    host.Escape().Reset();
    host.Escape().PressAtProgress(1);  // Arm's first key

    user.Press("Export Batch Motions");

    EXPECT_EQ(
        "Info  Motion File Generation Aborted.\n" + (GetParam() <= kListLimit ? list.whole : list.cut) + "\n",
        user.StatusText());
    ExpectCleanHost();
}

INSTANTIATE_TEST_SUITE_P(BatchFailures, AbortedListOfLength, testing::Values(983, 984, 985),
                         CharactersOfTheLine);

// A failed file whose entry alone is longer than the message line is
// counted, and the count ends without a colon.
TEST_F(BatchFailures, AFileWhoseEntryCannotFitTheLineIsCountedWithoutAColon) {
    constexpr std::size_t kLineLimit = 1016;
    const std::string start = "Couldn't write 1 of 1 file: ";
    const std::string reason = ".mot: a file name cannot hold \":\"";
    // A name refused before anything is looked up on the disk, alike on every
    // platform; relative, so that it is this long in any scratch folder.
    const std::string name = std::string(kLineLimit - start.size() - reason.size(), 'n') + ":";
    OpenPanel();
    ReadyItem("Long", name);

    user.Press("Export Batch Motions");

    EXPECT_EQ("Info  Couldn't write 1 of 1 file\n", user.StatusText());
    ExpectCleanHost();
}

// Three failed files: the second entry stays when it and "; and 1 more" after it
// end the message line at its last character, and gives way to "..." at one
// character more.
class SecondNameEndingAt : public BatchFailures, public testing::WithParamInterface<std::size_t> {};

TEST_P(SecondNameEndingAt, IsShownWithTheMoreMarkWhenBothFitTheLine) {
    constexpr std::size_t kLineLimit = 1016;
    const std::size_t length = GetParam();
    // "Couldn't write 3 of 3 files: ", two entries with the separator and
    // "; and 1 more" are 105 characters with empty names.
    const std::string first = std::string(400, 'a');
    const std::string second = std::string(length - 105 - first.size(), 'b');
    const std::string third = std::string(300, 'c');
    OpenPanel();
    ReadyItem("First", directory / "missing" / first);
    ReadyItem("Second", directory / "missing" / second);
    ReadyItem("Third", directory / "missing" / third);

    user.Press("Export Batch Motions");

    const std::string reason = ": the folder does not exist";
    const std::string start = "Couldn't write 3 of 3 files: " + first + ".mot" + reason;
    const std::string twoNames = start + "; " + second + ".mot" + reason + "; and 1 more";
    ASSERT_EQ(length, twoNames.size());
    if (length <= kLineLimit) {
        EXPECT_EQ("Info  " + twoNames + "\n", user.StatusText());
    } else {
        EXPECT_EQ("Info  " + start + "; and 2 more\n", user.StatusText());
    }
    ExpectCleanHost();
}

INSTANTIATE_TEST_SUITE_P(BatchFailures, SecondNameEndingAt, testing::Values(1015, 1016, 1017),
                         CharactersOfTheLine);

}  // namespace
}  // namespace corvantide_test
