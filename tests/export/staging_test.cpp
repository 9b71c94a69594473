// Temporary files: created under names of their own, never over a file that
// exists, and on the disk before they replace the destination.
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "export/file_output.h"
#include "export/item_export.h"
#include "host/item_record.h"
#include "linked_plugin.h"
#include "scene_items.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

using corvantide::FileOutput;

std::vector<std::string> calls;     // the file operations, in order (writes left out)
std::vector<std::string> squatted;  // temporary names someone else took first
int squatsLeft = 0;                 // opens whose name is taken just before
int failingSync = -1;               // the sync that fails, counted from 0
bool folderSyncFails = false;

constexpr char kSomeoneElses[] = "someone else's";

std::string FileName(const char* path) { return std::filesystem::path(path).filename().string(); }

// Another program creates a file of the very name the export is about to use.
void* OpenAfterSquatter(const char* path) {
    calls.push_back("open");
    if (squatsLeft > 0) {
        --squatsLeft;
        std::ofstream(path, std::ios::binary) << kSomeoneElses;
        squatted.push_back(FileName(path));
    }
    return corvantide::PlatformFileOperations().open(path);
}
bool CountedSync(void* file) {
    const int index = static_cast<int>(std::count(calls.begin(), calls.end(), "sync"));
    calls.push_back("sync");
    return index != failingSync && corvantide::PlatformFileOperations().sync(file);
}
bool CountedClose(void* file) {
    calls.push_back("close");
    return corvantide::PlatformFileOperations().close(file);
}
bool CountedReplace(const char* from, const char* to) {
    calls.push_back("replace " + FileName(to));
    return corvantide::PlatformFileOperations().replace(from, to);
}
bool CountedFolderSync(const char* path) {
    calls.push_back("sync folder");
    return !folderSyncFails && corvantide::PlatformFileOperations().syncFolder(path);
}

class Staging : public LinkedPlugin {
protected:
    void SetUp() override {
        LinkedPlugin::SetUp();
        calls.clear();
        squatted.clear();
        squatsLeft = 0;
        failingSync = -1;
        folderSyncFails = false;
        FileOutput.open = OpenAfterSquatter;
        FileOutput.sync = CountedSync;
        FileOutput.close = CountedClose;
        FileOutput.replace = CountedReplace;
        FileOutput.syncFolder = CountedFolderSync;
    }

    void* KeyedItem(const std::string& name, std::int32_t type = 0) {
        void* item = AddTwoKeyItem(host, name, type);
        Prepare(item, name);
        return item;
    }

    std::string Start(const std::string& fileName) { return Read(fileName).substr(0, 4); }
};

TEST_F(Staging, FilesNamedLikeATemporaryFileAreNeverOpenedNorRemoved) {
    void* box = KeyedItem("Box");
    Write("Box.mot.tmp", "mine");  // the name a plain ".tmp" scheme would take
    squatsLeft = 1;

    EXPECT_EQ(1, Export(box));

    ASSERT_EQ(1u, squatted.size());
    EXPECT_EQ(kSomeoneElses, Read(squatted[0]));
    EXPECT_EQ("mine", Read("Box.mot.tmp"));
    EXPECT_EQ("LWMO", Start("Box.mot"));
    std::vector<std::string> expected = {"Box.mot", "Box.mot.tmp", squatted[0]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, Files());
    EXPECT_EQ(2, std::count(calls.begin(), calls.end(), "open"));  // the taken name, then a new one
}

TEST_F(Staging, WhenEveryTemporaryNameIsTakenNothingIsWrittenAndNothingRemoved) {
    void* box = KeyedItem("Box");
    Write("Box.mot", "an older export");
    squatsLeft = corvantide::kTemporaryNameAttempts + 1;

    EXPECT_EQ(0, Export(box));

    EXPECT_EQ(corvantide::kTemporaryNameAttempts, static_cast<int>(squatted.size()));
    for (const std::string& name : squatted) EXPECT_EQ(kSomeoneElses, Read(name)) << name;
    EXPECT_EQ("an older export", Read("Box.mot"));
    EXPECT_EQ(squatted.size() + 1, Files().size());
    EXPECT_EQ("Info  Couldn't write Box.mot\n", Status());
}

TEST_F(Staging, ADestinationWhoseLastComponentIs255BytesIsWritten) {
    const std::string name(255 - 4, 'n');
    void* box = KeyedItem(name);
    EXPECT_EQ(1, Export(box));
    EXPECT_EQ("LWMO", Start(name + ".mot"));
    EXPECT_EQ(std::vector<std::string>{name + ".mot"}, Files());
}

// A camera's two files are both complete and on the disk before either moves.
TEST_F(Staging, EachFileIsSyncedBeforeItReplacesTheDestinationAndItsFolderAfter) {
    void* cam = KeyedItem("Cam", kCameraType);
    EXPECT_EQ(1, Export(cam));
    EXPECT_EQ((std::vector<std::string>{"open", "sync", "close", "open", "sync", "close", "replace Cam.mot",
                                        "sync folder", "replace Cam_ZoomFactor.mot", "sync folder"}),
              calls);
}

TEST_F(Staging, ASyncThatFailsFailsItsFileLikeAFailedWriteAndLosesNothing) {
    void* box = KeyedItem("Box");
    Write("Box.mot", "an older export");
    failingSync = 0;
    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("an older export", Read("Box.mot"));
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
    EXPECT_EQ("Info  Couldn't write Box.mot\n", Status());

    // A camera's zoom file: its motion file is complete and stays.
    void* cam = KeyedItem("Cam", kCameraType);
    Write("Cam.mot", "older motion");
    Write("Cam_ZoomFactor.mot", "older zoom");
    calls.clear();
    failingSync = 1;
    EXPECT_EQ(0, Export(cam));
    EXPECT_EQ("LWMO", Start("Cam.mot"));
    EXPECT_EQ("older zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ((std::vector<std::string>{"Box.mot", "Cam.mot", "Cam_ZoomFactor.mot"}), Files());
    EXPECT_EQ("Info  Couldn't write Cam_ZoomFactor.mot\n", Status());
}

// The move is done but may not yet survive a power cut: the file is
// written, and the status says what could not be made sure of.
TEST_F(Staging, AFolderThatCannotBeSyncedAfterTheMoveIsWrittenWithAWarning) {
    void* box = KeyedItem("Box");
    Write("Box.mot", "an older export");
    folderSyncFails = true;
    EXPECT_EQ(1, Export(box));
    EXPECT_EQ("LWMO", Start("Box.mot"));
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
    EXPECT_EQ("Info  Box.mot written; its folder could not be synced to the disk\n", Status());
}

}  // namespace
}  // namespace corvantide_test
