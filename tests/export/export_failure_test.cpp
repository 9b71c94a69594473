// Exports that cannot complete: files that cannot be opened, written, closed
// or moved, a host that refuses memory, and settings that make no file.
// None is reported as success, none leaves a partial file or a temporary
// file behind, and an earlier file at the destination survives.
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>

#include "export/file_output.h"
#include "export/item_export.h"
#include "host/item_record.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

using corvantide::ExportSettings;
using corvantide::FileOutput;

int writesLeft = 0;
int opensLeft = 0;
std::string failingName;

bool WriteUntilExhausted(void* file, const char* data, std::size_t size) {
    if (writesLeft-- <= 0) return false;
    return corvantide::PlatformFileOperations().write(file, data, size);
}

// Temporary files have names of their own: the opens fail by their order.
void* OpenUntilExhausted(const char* path) {
    if (opensLeft-- <= 0) return nullptr;
    return corvantide::PlatformFileOperations().open(path);
}

bool CloseButFail(void* file) {
    corvantide::PlatformFileOperations().close(file);
    return false;
}

bool NeverReplace(const char*, const char*) { return false; }

// The system's error a failing operation leaves in errno, as the platform's do.
int failWith = 0;
int opensBeforeFailing = 0;
void* OpenFailingWith(const char* path) {
    if (opensBeforeFailing-- > 0) return corvantide::PlatformFileOperations().open(path);
    errno = failWith;
    return nullptr;
}
bool WriteFailingWith(void*, const char*, std::size_t) {
    errno = failWith;
    return false;
}
bool ReplaceFailingWith(const char*, const char*) {
    errno = failWith;
    return false;
}
bool SyncFolderFailingWith(const char*) {
    errno = failWith;
    return false;
}

bool ReplaceExceptFailingName(const char* from, const char* to) {
    if (std::string(to).find(failingName) != std::string::npos) return false;
    return corvantide::PlatformFileOperations().replace(from, to);
}

class ExportFailure : public LinkedPlugin {
protected:
    // A sampled export of `frames` frames over an earlier file at the destination.
    void* SampledBox(std::int32_t frames) {
        void* box = host.Scene().AddItem("Box");
        ExportSettings* settings = Prepare(box, "Box");
        settings->freezeMotion = 1;
        settings->beginFrame = 1;
        settings->endFrame = frames;
        Write("Box.mot", "an older export");
        host.dAnim_Clock = 9.0;
        return box;
    }

    void* KeyedCamera() {
        void* cam = host.Scene().AddItem("Cam", kCameraType);
        host.Scene().AddKey(cam, 0).Set(0, 1.0).Set(12, 2.0);
        host.Scene().AddKey(cam, 10).Set(0, 2.0).Set(12, 3.0);
        Prepare(cam, "Cam");
        Write("Cam.mot", "older motion");
        Write("Cam_ZoomFactor.mot", "older zoom");
        return cam;
    }

    // Nothing replaced, nothing left over, the clock back where it was.
    void ExpectOlderFileKept(double clock = 9.0) {
        EXPECT_EQ("an older export", Read("Box.mot"));
        EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
        EXPECT_EQ(clock, host.dAnim_Clock);
    }
};

TEST_F(ExportFailure, AFileThatCannotBeOpenedIsReportedAndTheClockNeverMoves) {
    void* box = SampledBox(5);
    opensLeft = 0;
    FileOutput.open = OpenUntilExhausted;
    host.ClearUpdates();

    EXPECT_EQ(0, Export(box));
    ExpectOlderFileKept();
    EXPECT_TRUE(host.Updates().empty());
    EXPECT_EQ("Info  Couldn't write Box.mot\n", Status());
}

TEST_F(ExportFailure, AWriteThatFailsPartWayKeepsTheEarlierFile) {
    // Three write chunks of text: a sampled key line is over 70 bytes.
    void* box = SampledBox(static_cast<std::int32_t>(3 * corvantide::kWriteChunk / (9 * 70)));
    writesLeft = 1;
    FileOutput.write = WriteUntilExhausted;

    EXPECT_EQ(0, Export(box));
    ExpectOlderFileKept();
    EXPECT_EQ("Info  Couldn't write Box.mot\n", Status());
}

TEST_F(ExportFailure, ACloseThatFailsIsAFailure) {
    void* box = SampledBox(3);
    FileOutput.close = CloseButFail;

    EXPECT_EQ(0, Export(box));
    ExpectOlderFileKept();
    EXPECT_EQ("Info  Couldn't write Box.mot\n", Status());
}

TEST_F(ExportFailure, AMoveOverTheDestinationThatFailsIsAFailure) {
    void* box = SampledBox(3);
    FileOutput.replace = NeverReplace;

    EXPECT_EQ(0, Export(box));
    ExpectOlderFileKept();
}

TEST_F(ExportFailure, AZoomFileThatCannotBeOpenedKeepsTheNewMotionFile) {
    void* cam = KeyedCamera();
    opensLeft = 1;  // the motion file's
    FileOutput.open = OpenUntilExhausted;

    EXPECT_EQ(0, Export(cam));
    EXPECT_EQ(Header(6), Read("Cam.mot").substr(0, Header(6).size()));
    EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ(2u, Files().size());
    EXPECT_EQ("Info  Couldn't write Cam_ZoomFactor.mot\n", Status());
}

TEST_F(ExportFailure, ACameraWhoseFilesCannotBeMovedIntoPlaceIsAFailure) {
    void* cam = KeyedCamera();
    FileOutput.replace = NeverReplace;
    EXPECT_EQ(0, Export(cam));
    EXPECT_EQ("older motion", Read("Cam.mot"));
    EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ(2u, Files().size());
    EXPECT_EQ("Info  Couldn't write Cam.mot\n", Status());

    // The motion file is in place when the zoom file's move fails: the
    // export still reports the failure, naming the zoom file.
    failingName = "_ZoomFactor";
    FileOutput.replace = ReplaceExceptFailingName;
    EXPECT_EQ(0, Export(cam));
    EXPECT_EQ(Header(6), Read("Cam.mot").substr(0, Header(6).size()));
    EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ(2u, Files().size());
    EXPECT_EQ("Info  Couldn't write Cam_ZoomFactor.mot\n", Status());
}

TEST_F(ExportFailure, EveryRefusedAllocationFailsCleanly) {
    void* cam = KeyedCamera();
    host.dAnim_Clock = 4.0;
    const std::uint64_t before = host.Memory().AllocationsMade();
    ASSERT_EQ(1, Export(cam));
    // The pointer table, nine channel buffers, the zoom buffer.
    ASSERT_EQ(11u, host.Memory().AllocationsMade() - before);

    for (std::uint64_t n = 1; n <= 11; ++n) {
        Write("Cam.mot", "older motion");
        Write("Cam_ZoomFactor.mot", "older zoom");
        const std::size_t blocks = host.Memory().Outstanding();
        host.Memory().FailFrom(n);
        EXPECT_EQ(0, Export(cam)) << "allocation " << n;
        host.Memory().StopFailing();
        EXPECT_EQ(blocks, host.Memory().Outstanding()) << "allocation " << n;
        // The zoom buffer comes last: the motion file is complete by then and stays.
        if (n < 11) {
            EXPECT_EQ("older motion", Read("Cam.mot"));
        } else {
            EXPECT_EQ(Header(6), Read("Cam.mot").substr(0, Header(6).size()));
        }
        EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
        EXPECT_EQ(2u, Files().size());
        EXPECT_EQ(4.0, host.dAnim_Clock);
        EXPECT_EQ(
            "Info  Not enough memory to write Cam" + std::string(n < 11 ? ".mot" : "_ZoomFactor.mot") + "\n",
            Status());
    }
}

TEST_F(ExportFailure, ARangeEndingBeforeItsBeginIsRefusedBeforeAnyFileIsTouched) {
    void* box = SampledBox(1);
    ExportSettings* settings = corvantide::FindSettings(box);
    settings->beginFrame = 10;
    settings->endFrame = 8;
    host.ClearUpdates();
    const std::uint64_t before = host.Memory().AllocationsMade();

    EXPECT_EQ(0, Export(box));
    ExpectOlderFileKept();
    EXPECT_TRUE(host.Updates().empty());
    EXPECT_EQ(before, host.Memory().AllocationsMade());
    EXPECT_EQ("Info  Frame range ends before it begins, not written: Box.mot\n", Status());
}

TEST_F(ExportFailure, FrameArithmeticAtTheLimitsOf32BitsNeitherOverflowsNorAllocatesTheWorld) {
    void* box = SampledBox(1);
    ExportSettings* settings = corvantide::FindSettings(box);
    settings->beginFrame = std::numeric_limits<std::int32_t>::min();
    settings->endFrame = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("Info  Frame range too long, not written: Box.mot\n", Status());

    settings->beginFrame = std::numeric_limits<std::int32_t>::max();
    settings->endFrame = std::numeric_limits<std::int32_t>::max();
    settings->frameOffset = std::numeric_limits<std::int32_t>::max();
    host.dFPS = 2.0;
    EXPECT_EQ(1, Export(box));
    EXPECT_NE(
        std::string::npos,
        Read("Box.mot").find("  1\n  Key 0.000000 2147483647.000000 0 0.000000 0.000000 0.000000 0.000000 "
                             "0.000000 0\n"));
}

TEST_F(ExportFailure, AFrameRateThatGivesNoTimesIsRefused) {
    void* box = SampledBox(3);
    for (double fps : {0.0, -24.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        host.dFPS = fps;
        EXPECT_EQ(0, Export(box)) << fps;
        ExpectOlderFileKept();
        EXPECT_EQ("Info  Frames per second must be above 0, not written: Box.mot\n", Status());
    }
}

// Paths of exactly `length` characters in the test's directory, in
// components short enough for any file system.
std::string PathOfLength(const std::filesystem::path& directory, std::size_t length) {
    std::string path = directory.string();
    while (length - path.size() > 101) path += "/" + std::string(99, 'd');
    return path + "/" + std::string(length - path.size() - 1, 'e');
}

TEST_F(ExportFailure, DestinationPathsTooLongForTheirFileNamesAreRefusedNotCut) {
    void* box = host.Scene().AddItem("Box");
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    ExportSettings* boxSettings = Prepare(box, "Box");
    ExportSettings* camSettings = Prepare(cam, "Cam");
    const auto use = [](ExportSettings* settings, const std::string& path) {
#if !defined(_WIN32)
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
#endif
        ASSERT_TRUE(corvantide::CopyText(settings->destinationPath, corvantide::kPathCapacity, path.c_str()));
    };

    use(boxSettings, PathOfLength(directory, 1020));
    EXPECT_EQ(0, Export(box));
    EXPECT_NE(std::string::npos, Status().find("Path too long, not written:"));
    std::memset(boxSettings->destinationPath, 'x', corvantide::kPathCapacity);  // no NUL at all
    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("Info  Path too long, not written: .mot\n", Status());
    use(camSettings, PathOfLength(directory, 1020));
    EXPECT_EQ(0, Export(cam));
    EXPECT_FALSE(std::filesystem::exists(std::string(camSettings->destinationPath) + ".mot"));
}

// The reasons a user can act on are named; any other failure names the file only.
TEST_F(ExportFailure, EachFailureSaysWhyWhereTheSystemTellsAReasonTheUserCanActOn) {
    struct Case {
        const char* step;
        int error;
        const char* status;
    };
    const Case cases[] = {
        {"open", ENOENT, "Info  Couldn't write Box.mot: the folder does not exist\n"},
        {"open", EACCES, "Info  Couldn't write Box.mot: access denied\n"},
        {"open", ENAMETOOLONG, "Info  Couldn't write Box.mot: the path is too long\n"},
        {"write", ENOSPC, "Info  Couldn't write Box.mot: the disk is full\n"},
        {"write", EIO, "Info  Couldn't write Box.mot\n"},
        {"replace", EACCES, "Info  Couldn't write Box.mot: access denied\n"},
        // The new file is in place: written, with a warning.
        {"sync folder", EROFS, "Info  Box.mot written; its folder could not be synced to the disk\n"},
        {"zoom open", ENOSPC, "Info  Couldn't write Cam_ZoomFactor.mot: the disk is full\n"},
    };
    void* box = SampledBox(3);
    void* cam = KeyedCamera();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " " + std::to_string(c.error));
        FileOutput = corvantide::PlatformFileOperations();
        failWith = c.error;
        opensBeforeFailing = std::strcmp(c.step, "zoom open") == 0 ? 1 : 0;
        if (std::strstr(c.step, "open") != nullptr) FileOutput.open = OpenFailingWith;
        if (std::strcmp(c.step, "write") == 0) FileOutput.write = WriteFailingWith;
        if (std::strcmp(c.step, "replace") == 0) FileOutput.replace = ReplaceFailingWith;
        if (std::strcmp(c.step, "sync folder") == 0) FileOutput.syncFolder = SyncFolderFailingWith;
        const int written = std::strcmp(c.step, "sync folder") == 0 ? 1 : 0;
        EXPECT_EQ(written, Export(std::strcmp(c.step, "zoom open") == 0 ? cam : box));
        EXPECT_EQ(c.status, Status());
    }
}

// A value the host evaluated wrong is named by its channel and the key's frame.
TEST_F(ExportFailure, AKeyValueThatIsNotANumberIsNamedByChannelAndFrame) {
    const char* const channels[] = {"Position X", "Position Y", "Position Z", "Heading", "Pitch",
                                    "Bank",       "Scale X",    "Scale Y",    "Scale Z"};
    for (int channel = 0; channel < static_cast<int>(std::size(channels)); ++channel) {
        const std::string name = "Arm" + std::to_string(channel);
        void* arm = host.Scene().AddItem(name);
        host.Scene().AddKey(arm, 0).Set(channel, 1.0);
        host.Scene().AddKey(arm, 12).Set(channel, std::numeric_limits<double>::infinity());
        Prepare(arm, name);

        EXPECT_EQ(0, Export(arm));
        EXPECT_EQ(
            "Info  Couldn't write " + name + ".mot: " + channels[channel] + " at frame 12 is not a number\n",
            Status());
    }
    EXPECT_TRUE(Files().empty());
}

// A key whose time is no number has no frame to name: it is named by its place.
TEST_F(ExportFailure, AKeyTimeThatIsNotANumberIsNamedByTheKeysPlace) {
    void* arm = host.Scene().AddItem("Arm");
    host.Scene().AddKey(arm, 0).Set(0, 1.0);
    host.Scene().AddKey(arm, std::nan("")).Set(0, 2.0);
    Prepare(arm, "Arm");

    EXPECT_EQ(0, Export(arm));
    EXPECT_EQ("Info  Couldn't write Arm.mot: the time of key 2 is not a number\n", Status());
    EXPECT_TRUE(Files().empty());
}

// A World channel the item never keys is written at every key, and an item
// without keys at frame 0, where its value is read whatever the clock: a
// parent that is no number there names that frame.
TEST_F(ExportFailure, AWorldValueThatIsNotANumberIsNamedAtTheFrameItIsReadAt) {
    void* rig = host.Scene().AddItem("Rig");
    host.Scene().AddKey(rig, 1).Set(1, std::nan(""));
    host.Scene().AddKey(rig, 15).Set(1, 8.0).Span(1, simhost::kSpanStepped);
    void* arm = host.Scene().AddItem("Arm");
    ASSERT_TRUE(host.Scene().SetParent(arm, rig));
    host.Scene().AddKey(arm, 1).Set(0, 1.0);
    host.Scene().AddKey(arm, 15).Set(0, 2.0);
    Prepare(arm, "Arm")->coordinates = 1;

    EXPECT_EQ(0, Export(arm));
    EXPECT_EQ("Info  Couldn't write Arm.mot: Position Y at frame 1 is not a number\n", Status());
    EXPECT_TRUE(Files().empty());

    // With the clock at 20 the rig's Y is 8; at frame 0 it is no number.
    void* hand = host.Scene().AddItem("Hand");
    ASSERT_TRUE(host.Scene().SetParent(hand, rig));
    host.dAnim_Clock = 20.0;
    ExportSettings* handSettings = Prepare(hand, "Hand");
    handSettings->coordinates = 1;
    handSettings->beginFrame = 7;  // a sampled range plays no part without keys
    EXPECT_EQ(0, Export(hand));
    EXPECT_EQ("Info  Couldn't write Hand.mot: Position Y at frame 0 is not a number\n", Status());
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(20.0, host.dAnim_Clock);

    // Sampled from frame 1: the first frame sampled is named, not entry 0.
    void* leg = host.Scene().AddItem("Leg");
    ASSERT_TRUE(host.Scene().SetParent(leg, rig));
    ExportSettings* legSettings = Prepare(leg, "Leg");
    legSettings->coordinates = 1;
    legSettings->freezeMotion = 1;
    legSettings->beginFrame = 1;
    legSettings->endFrame = 3;
    EXPECT_EQ(0, Export(leg));
    EXPECT_EQ("Info  Couldn't write Leg.mot: Position Y at frame 1 is not a number\n", Status());
    EXPECT_TRUE(Files().empty());
}

// The zoom file's one envelope is named as the zoom factor, not as a channel.
TEST_F(ExportFailure, AZoomFactorThatIsNotANumberIsNamedAndTheMotionFileKept) {
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene().AddKey(cam, 0).Set(0, 1.0).Set(12, 2.0);
    host.Scene().AddKey(cam, 10).Set(0, 2.0).Set(12, std::nan(""));
    Prepare(cam, "Cam");

    EXPECT_EQ(0, Export(cam));
    EXPECT_EQ("Info  Couldn't write Cam_ZoomFactor.mot: Zoom Factor at frame 10 is not a number\n", Status());
    EXPECT_EQ(std::vector<std::string>{"Cam.mot"}, Files());

    // At the first key: the zoom file counts its own keys, not the motion file's.
    void* first = host.Scene().AddItem("First", kCameraType);
    host.Scene().AddKey(first, 4).Set(0, 1.0).Set(12, std::nan(""));
    host.Scene().AddKey(first, 10).Set(0, 2.0).Set(12, 2.0);
    host.Scene().AddKey(first, 16).Set(0, 3.0).Set(12, 3.0);
    Prepare(first, "First");
    EXPECT_EQ(0, Export(first));
    EXPECT_EQ("Info  Couldn't write First_ZoomFactor.mot: Zoom Factor at frame 4 is not a number\n", Status());
}

}  // namespace
}  // namespace corvantide_test
