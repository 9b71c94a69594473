// The user prepares the whole scene with "Setup Batch".
#include <cctype>
#include <cstring>

#include "host/item_record.h"
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

class SetupBatch : public PanelSession {
protected:
    void SetUp() override {
        PanelSession::SetUp();
        host.SetContentDirectory("C:\\proj");
    }
    std::string DestinationOf(void* item) {
        const corvantide::ExportSettings* s = SettingsOf(item);
        return s != nullptr ? TextOf(s->destinationPath) : "(no record)";
    }
    std::string RequesterPathOf(void* item) {
        const corvantide::ExportSettings* s = SettingsOf(item);
        return s != nullptr ? TextOf(s->requesterPath) : "(no record)";
    }
};

TEST_F(SetupBatch, BaseNamesLoseOneObjectEndingInAnyCase) {
    void* a = host.Scene().AddItem("Box.LWO");
    void* b = host.Scene().AddItem("Box.lwo.lwo");
    void* c = host.Scene().AddItem(".lwo");
    void* d = host.Scene().AddItem("wo");
    void* e = host.Scene().AddItem("%s%n%x");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("C:\\proj\\Box", DestinationOf(a));
    EXPECT_EQ("C:\\proj\\Box.lwo", DestinationOf(b));
    EXPECT_EQ("C:\\proj\\", DestinationOf(c));
    EXPECT_EQ("C:\\proj\\wo", DestinationOf(d));
    EXPECT_EQ("C:\\proj\\%s%n%x", DestinationOf(e));  // names are data, never formats
}

// Item names become file names Windows can hold: no stream of a file
// ("rig:Hips"), no folder ("Hand/R"), no device ("NUL"), nothing outside
// the batch directory.
TEST_F(SetupBatch, ItemNamesBecomeFileNamesWindowsCanHold) {
    void* rig = host.Scene().AddItem("rig:Hips");
    void* hand = host.Scene().AddItem("Hand/R");
    void* device = host.Scene().AddItem("NUL");
    void* port = host.Scene().AddItem("com1.lwo");
    void* light = host.Scene().AddItem("Light?");
    void* climber = host.Scene().AddItem("..\\..\\x");
    void* quoted = host.Scene().AddItem("<a|b>\"*\t");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("C:\\proj\\rig_Hips", DestinationOf(rig));
    EXPECT_EQ("C:\\proj\\Hand_R", DestinationOf(hand));
    EXPECT_EQ("C:\\proj\\NUL_", DestinationOf(device));
    EXPECT_EQ("C:\\proj\\com1_", DestinationOf(port));
    EXPECT_EQ("C:\\proj\\Light_", DestinationOf(light));
    EXPECT_EQ("C:\\proj\\.._.._x", DestinationOf(climber));
    EXPECT_EQ("C:\\proj\\_a_b____", DestinationOf(quoted));
}

// Two items whose files would be one ("Null" and "Null.lwo"; a name in
// another letter case; a camera's zoom file and an item named like it):
// the later one is left out, named with the item it clashes with.
TEST_F(SetupBatch, NoTwoItemsAreGivenOneFile) {
    void* first = host.Scene().AddItem("Null");
    void* second = host.Scene().AddItem("Null.lwo");
    void* upper = host.Scene().AddItem("NULL");
    void* cam = host.Scene().AddItem("Shot", kCameraType);
    void* zoomNamed = host.Scene().AddItem("shot_zoomfactor");
    void* other = host.Scene().AddItem("Arm");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ(0, SettingsOf(first)->outputDisabled);
    EXPECT_EQ(1, SettingsOf(second)->outputDisabled);
    EXPECT_EQ(1, SettingsOf(upper)->outputDisabled);
    EXPECT_EQ(0, SettingsOf(cam)->outputDisabled);
    EXPECT_EQ(1, SettingsOf(zoomNamed)->outputDisabled);
    EXPECT_EQ(0, SettingsOf(other)->outputDisabled);
    EXPECT_EQ(
        "Info  Setup Batch skipped 3 item(s) whose file an earlier item has: Null.lwo (same file as Null); "
        "NULL "
        "(same file as Null); shot_zoomfactor (same file as Shot)\n",
        user.StatusText());
}

// However many items come between them.
TEST_F(SetupBatch, AClashWithTheFirstItemIsFoundAtTheEndOfALongScene) {
    void* first = host.Scene().AddItem("Hips");
    for (int i = 0; i < 40; ++i) host.Scene().AddItem("Bone" + std::to_string(i));
    void* last = host.Scene().AddItem("hips.lwo");
    // And between two items after all the others: the table holds every file.
    void* late = host.Scene().AddItem("Tail");
    void* later = host.Scene().AddItem("TAIL");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ(0, SettingsOf(first)->outputDisabled);
    EXPECT_EQ(1, SettingsOf(last)->outputDisabled);
    EXPECT_EQ(0, SettingsOf(late)->outputDisabled);
    EXPECT_EQ(1, SettingsOf(later)->outputDisabled);
    EXPECT_EQ(
        "Info  Setup Batch skipped 2 item(s) whose file an earlier item has: hips.lwo (same file as Hips); "
        "TAIL "
        "(same file as Tail)\n",
        user.StatusText());
}

TEST_F(SetupBatch, OneClashIsNamed) {
    host.Scene().AddItem("Null");
    host.Scene().AddItem("null");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("Info  Setup Batch skipped 1 item(s) whose file an earlier item has: null (same file as Null)\n",
              user.StatusText());
}

// The status names 16 clashes at most, and counts the rest.
TEST_F(SetupBatch, ClashesBeyondSixteenAreCounted) {
    std::string named;
    for (int i = 0; i < 18; ++i) {
        const std::string name = std::string("N").append(std::to_string(i));
        host.Scene().AddItem(name);
        host.Scene().AddItem(name + ".lwo");
        if (i >= 16) continue;
        if (i > 0) named.append("; ");
        named.append(name).append(".lwo (same file as ").append(name).append(")");
    }
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ(
        "Info  Setup Batch skipped 18 item(s) whose file an earlier item has: " + named + "; and 2 more\n",
        user.StatusText());
}

// A clash whose names alone are longer than the line is counted, not cut.
TEST_F(SetupBatch, AClashTooLongForTheLineIsCountedAsNotNamed) {
    host.Scene().AddItem(std::string(600, 'w'));
    host.Scene().AddItem(std::string(600, 'W'));
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("Info  Setup Batch skipped 1 item(s) whose file an earlier item has: 1 not named\n",
              user.StatusText());
}

// Clashes named so that the list ends at `length` characters, the limit of
// the message line being 1016.
std::string ClashListCharacters(const testing::TestParamInfo<std::size_t>& line) {
    return "Characters" + std::to_string(line.param);
}

class ClashListOfLength : public SetupBatch, public testing::WithParamInterface<std::size_t> {
protected:
    static constexpr std::size_t kLineLimit = 1016;
    // The earlier item and the later one whose name differs in letter case.
    static void AddClash(simhost::SimHost& host, const std::string& name) {
        host.Scene().AddItem(name);
        host.Scene().AddItem(UpperCase(name));
    }
    // "UPPER (same file as lower)": 16 characters and two names.
    static std::string Entry(const std::string& name) {
        return UpperCase(name) + " (same file as " + name + ")";
    }
    static std::string UpperCase(std::string name) {
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    }
};

// The second of three entries stays when it and "; and 1 more" end the line
// at its last character.
using MiddleClashEndingAt = ClashListOfLength;

TEST_P(MiddleClashEndingAt, IsNamedWithTheMoreMarkWhenBothFit) {
    const std::string start = "Setup Batch skipped 3 item(s) whose file an earlier item has: ";
    const std::string first = std::string(300, 'a');
    // The start, the first entry, "; ", the second's 16 and "; and 1 more".
    const std::string second(
        (GetParam() - start.size() - Entry(first).size() - 2 - 16 - std::strlen("; and 1 more")) / 2, 'b');
    const std::string third = std::string(300, 'c');
    ASSERT_EQ(GetParam(), (start + Entry(first) + "; " + Entry(second) + "; and 1 more").size());
    for (const std::string& name : {first, second, third}) AddClash(host, name);
    OpenPanel();
    user.Press("Setup Batch");
    const std::string shown = GetParam() <= kLineLimit ? Entry(first) + "; " + Entry(second) + "; and 1 more"
                                                       : Entry(first) + "; and 2 more";
    EXPECT_EQ("Info  " + start + shown + "\n", user.StatusText());
}

INSTANTIATE_TEST_SUITE_P(SetupBatch, MiddleClashEndingAt, testing::Values(1016, 1018), ClashListCharacters);

// The last entry needs no room for a count after it.
using LastClashEndingAt = ClashListOfLength;

TEST_P(LastClashEndingAt, IsNamedWhenItEndsTheLine) {
    const std::string start = "Setup Batch skipped 2 item(s) whose file an earlier item has: ";
    const std::string first = std::string(300, 'a');
    const std::string second((GetParam() - start.size() - Entry(first).size() - 2 - 16) / 2, 'b');
    ASSERT_EQ(GetParam(), (start + Entry(first) + "; " + Entry(second)).size());
    for (const std::string& name : {first, second}) AddClash(host, name);
    OpenPanel();
    user.Press("Setup Batch");
    const std::string shown =
        GetParam() <= kLineLimit ? Entry(first) + "; " + Entry(second) : Entry(first) + "; and 1 more";
    EXPECT_EQ("Info  " + start + shown + "\n", user.StatusText());
}

INSTANTIATE_TEST_SUITE_P(SetupBatch, LastClashEndingAt, testing::Values(1016, 1018), ClashListCharacters);

// A camera's two files are written together: its zoom file's longer name must fit too.
TEST_F(SetupBatch, ACameraWhoseZoomFileNameCannotFitIsLeftOut) {
    host.SetContentDirectory("C:\\" + std::string(999, 'p'));
    void* cam = host.Scene().AddItem("Cam01", kCameraType);    // 1003 + 5: its zoom file name fits exactly
    void* wide = host.Scene().AddItem("Cam012", kCameraType);  // one more
    void* box = host.Scene().AddItem("Box012");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ(0, SettingsOf(cam)->outputDisabled);
    EXPECT_EQ(1, SettingsOf(wide)->outputDisabled);
    EXPECT_EQ(0, SettingsOf(box)->outputDisabled);
    EXPECT_EQ("Info  Setup Batch skipped 1 item(s): path longer than 1023 characters.\n", user.StatusText());
}

// A folder of one separator is absolute: the content directory is not put
// before it.
TEST_F(SetupBatch, ASourceFileInTheRootFolderStaysThere) {
    // Loaded from "\\Box.lwo": the host gives the folder "\", one character.
    void* box = host.Scene().AddItem("Box", 0, "\\\\Box.lwo");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("\\\\Box", DestinationOf(box));
}

// A folder of one letter is relative ("a"), not a drive ("a:").
TEST_F(SetupBatch, ASourceFileInAOneLetterFolderIsUnderTheContentDirectory) {
    void* box = host.Scene().AddItem("Box", 0, "a\\Box.lwo");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("C:\\proj\\a\\Box", DestinationOf(box));
}

TEST_F(SetupBatch, PathsComeFromTheBatchDirectoryOrTheSourceFilesDirectory) {
    void* none = host.Scene().AddItem("Arm.lwo");
    void* relative = host.Scene().AddItem("Leg.lwo", 0, "Objects\\Leg.lwo");
    void* slash = host.Scene().AddItem("Hip", 0, "/x/Hip.lwo");
    void* backslash = host.Scene().AddItem("Toe", 0, "\\x\\Toe.lwo");
    void* drive = host.Scene().AddItem("Eye", 0, "C:\\Eye.lwo");
    void* bareDrive = host.Scene().AddItem("Ear", 0, "D:/Ear.lwo");
    OpenPanel();
    user.Press("Setup Batch");
    EXPECT_EQ("C:\\proj\\Arm", DestinationOf(none));
    EXPECT_EQ("C:\\proj\\Arm", RequesterPathOf(none));
    EXPECT_EQ("C:\\proj\\Objects\\Leg", DestinationOf(relative));
    EXPECT_EQ("C:\\proj\\Objects\\Leg", RequesterPathOf(relative));
    EXPECT_EQ("/x\\Hip", DestinationOf(slash));
    EXPECT_EQ("\\x\\Toe", DestinationOf(backslash));
    EXPECT_EQ("C:\\Eye", DestinationOf(drive));  // directory part "C:"
    EXPECT_EQ("D:\\Ear", DestinationOf(bareDrive));

    user.AnswerRequester(true, "D:\\out", "D:\\out\\whatever");
    user.Press("Batch Path");
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    for (void* item : {none, relative, slash}) {
        EXPECT_EQ(0u, DestinationOf(item).rfind("D:\\out\\", 0)) << DestinationOf(item);
    }
    EXPECT_EQ("D:\\out\\Arm", DestinationOf(none));
    EXPECT_EQ("D:\\out\\Arm", RequesterPathOf(none));
}

TEST_F(SetupBatch, ATypedBatchDirectoryLeavesTheRememberedRequesterPath) {
    void* arm = host.Scene().AddItem("Arm.lwo");
    OpenPanel();
    user.TypeBatchPath("E:\\typed");
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    EXPECT_EQ("E:\\typed\\Arm", DestinationOf(arm));
    EXPECT_EQ("\\Arm", RequesterPathOf(arm));

    user.AnswerRequester(true, "D:\\chosen", "");
    user.Press("Batch Path");
    user.TypeBatchPath("E:\\typed");
    user.Press("Setup Batch");
    EXPECT_EQ("E:\\typed\\Arm", DestinationOf(arm));
    EXPECT_EQ("D:\\chosen\\Arm", RequesterPathOf(arm));
}

TEST_F(SetupBatch, UseBatchDirectorySwitchesItselfOffWhenThereIsNoDirectory) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    EXPECT_EQ(0, user.Value("Use Batch Directory"));
    EXPECT_EQ("C:\\proj\\Arm", DestinationOf(arm));
}

TEST_F(SetupBatch, CurrentDataIsCopiedIntoEveryItemButNotOutputOrPaths) {
    host.iIn = 0;
    host.iOut = 60;
    void* arm = host.Scene().AddItem("Arm");
    void* leg = host.Scene().AddItem("Leg");
    OpenPanel();
    user.SelectItem(arm);
    user.Type("Begin Frame", 5);
    user.Type("End Frame", 25);
    user.Type("Offset", 3);
    user.Toggle("Freeze Motion", true);
    user.Choose("Coordinates", 1);
    user.SelectItem(leg);
    user.TypePath("C:\\by\\hand\\Leg");
    user.Toggle("Disable All Output Operations", true);
    user.SelectItem(arm);

    user.Press("Setup Batch");
    const corvantide::ExportSettings* s = SettingsOf(leg);
    EXPECT_EQ(5, s->beginFrame);
    EXPECT_EQ(25, s->endFrame);
    EXPECT_EQ(3, s->frameOffset);
    EXPECT_EQ(1, s->freezeMotion);
    EXPECT_EQ(1, s->coordinates);
    EXPECT_EQ(leg, s->ownerItem);
    EXPECT_EQ(0, s->outputDisabled);                 // enabled again by the setup
    EXPECT_EQ("C:\\proj\\Leg", DestinationOf(leg));  // the hand-set path is overwritten
    // The closing refresh shows the current item.
    EXPECT_EQ("C:\\proj\\Arm", user.PathText());
    EXPECT_EQ(5, user.Value("Begin Frame"));
    EXPECT_EQ(0, user.Value("Disable All Output Operations"));
    EXPECT_EQ(1, user.Value("Use Current Data"));
}

TEST_F(SetupBatch, UseCurrentDataSwitchesItselfOffWithoutACurrentRecord) {
    host.iOut = 60;
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    SettingsOf(arm)->endFrame = 33;
    void* late = host.Scene().AddItem("Late");
    host.SetCurrentItem(late);  // current, but without a record
    user.Press("Setup Batch");
    EXPECT_EQ(0, user.Value("Use Current Data"));
    EXPECT_EQ(33, SettingsOf(arm)->endFrame);
    ASSERT_NE(nullptr, SettingsOf(late));  // created by the setup
    EXPECT_EQ("C:\\proj\\Late", DestinationOf(late));

    user.Toggle("Use Current Data", true);
    host.SetCurrentItem(nullptr);
    user.Press("Setup Batch");
    EXPECT_EQ(0, user.Value("Use Current Data"));

    // Switched off, it stays off: a later setup with a current record copies nothing.
    host.SetCurrentItem(arm);
    user.Press("Setup Batch");
    EXPECT_EQ(60, SettingsOf(late)->endFrame);
    EXPECT_EQ(0, user.Value("Use Current Data"));
}

TEST_F(SetupBatch, WithoutAHierarchyListNothingChangesNotEvenTheToggles) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    user.Toggle("Use Batch Directory", true);
    host.SetHierarchyListUnavailable(true);
    user.Press("Setup Batch");
    EXPECT_EQ(1, user.Value("Use Batch Directory"));
    EXPECT_EQ(1, user.Value("Use Current Data"));
    EXPECT_EQ(nullptr, SettingsOf(arm)->destinationPath);
    EXPECT_EQ(0x9400, host.Updates().back());
}

TEST_F(SetupBatch, APathTooLongForItsBufferIsRefusedAndTheItemsOutputSwitchedOff) {
    host.SetContentDirectory(std::string(1010, 'c'));
    void* fits = host.Scene().AddItem("Arm");                                       // 1014 characters
    void* tooLong = host.Scene().AddItem("Leg", 0, "Objects\\Subfolder\\Leg.lwo");  // 1032
    void* hugeName = host.Scene().AddItem(std::string(2000, 'n'));
    OpenPanel();
    user.SelectItem(tooLong);
    user.TypePath("C:\\by\\hand\\Leg");
    user.Toggle("Disable All Output Operations", true);
    user.SelectItem(fits);
    user.Press("Setup Batch");
    EXPECT_EQ(std::string(1010, 'c') + "\\Arm", DestinationOf(fits));
    EXPECT_EQ("C:\\by\\hand\\Leg", DestinationOf(tooLong));
    EXPECT_EQ(1, SettingsOf(tooLong)->outputDisabled);
    EXPECT_EQ("", DestinationOf(hugeName));
    EXPECT_EQ(1, SettingsOf(hugeName)->outputDisabled);
    EXPECT_EQ("Info  Setup Batch skipped 2 item(s): path longer than 1023 characters.\n", user.StatusText());
}

// The status says the item was skipped: the batch run skips it too, and never
// writes where an earlier setup sent it.
TEST_F(SetupBatch, AnItemRefusedByALaterSetupIsNotWrittenWhereTheEarlierSetupSentIt) {
    const ScratchDirectory scratch("setup-refused");
    host.SetContentDirectory(".");
    void* leg = host.Scene().AddItem("Leg");
    host.Scene().AddKey(leg, 0).Set(0, 1.0);
    OpenPanel();
    user.Press("Setup Batch");
    ASSERT_EQ(".\\Leg", DestinationOf(leg));
    ASSERT_EQ(0, SettingsOf(leg)->outputDisabled);

    host.SetContentDirectory(std::string(1020, 'c'));
    user.Press("Setup Batch");
    EXPECT_EQ("Info  Setup Batch skipped 1 item(s): path longer than 1023 characters.\n", user.StatusText());
    EXPECT_EQ(1, SettingsOf(leg)->outputDisabled);

    user.Press("Export Batch Motions");
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));
}

TEST_F(SetupBatch, AnItemWhosePathBufferCannotBeAllocatedIsSkipped) {
    void* arm = host.Scene().AddItem("Arm");
    void* leg = host.Scene().AddItem("Leg");
    OpenPanel();
    const std::size_t before = host.Memory().Outstanding();
    // The scene's table of claimed files is the first block and Arm's
    // destination the second; its requester path, the third, fails.
    host.Memory().FailFrom(3);
    user.Press("Setup Batch");
    host.Memory().StopFailing();
    for (void* item : {arm, leg}) {
        EXPECT_EQ(nullptr, SettingsOf(item)->destinationPath);
        EXPECT_EQ(nullptr, SettingsOf(item)->requesterPath);
        EXPECT_EQ(1, SettingsOf(item)->outputDisabled);
    }
    EXPECT_EQ(before, host.Memory().Outstanding());
    user.Press("Setup Batch");
    EXPECT_EQ("C:\\proj\\Leg", DestinationOf(leg));
}

// Without the table two items could be given one file: nothing is prepared.
TEST_F(SetupBatch, ASceneWhoseTableOfFilesCannotBeAllocatedIsNotPrepared) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    const std::size_t before = host.Memory().Outstanding();
    host.Memory().FailFrom(1);
    user.Press("Setup Batch");
    host.Memory().StopFailing();
    EXPECT_EQ(nullptr, SettingsOf(arm)->destinationPath);
    ASSERT_EQ(1u, user.Messages().size());
    EXPECT_EQ("Couldn't allocate storage data.", user.Messages()[0].line1);
    EXPECT_EQ(before, host.Memory().Outstanding());
    EXPECT_EQ(0u, host.OpenHierarchyLists());
}

TEST_F(SetupBatch, AnItemWhoseRecordCannotBeCreatedIsSkipped) {
    OpenPanel();
    void* late = host.Scene().AddItem("Late");
    host.FailInstanceCreation(true);
    user.Press("Setup Batch");
    EXPECT_EQ(nullptr, SettingsOf(late));
    EXPECT_EQ(0u, host.OpenHierarchyLists());
}

}  // namespace
}  // namespace corvantide_test
