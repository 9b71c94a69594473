// The files of a batch run when the file system fails part way: a camera's
// motion file kept when its zoom file fails, folders that cannot be synced.
#include <cerrno>
#include <filesystem>

#include "batch/batch_handlers.h"
#include "export/file_output.h"
#include "host/item_record.h"
#include "linked_plugin.h"
#include "scene_items.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

namespace fs = std::filesystem;

class BatchFiles : public LinkedPlugin {
protected:
    // The panel builder binds what a run needs to hand the item list back.
    void SetUp() override {
        LinkedPlugin::SetUp();
        ASSERT_EQ(1, host.BuildPanel());
    }
    void* ReadyItem(const std::string& name, const std::string& base, std::int32_t type = 0) {
        void* item = AddTwoKeyItem(host, name, type);
        Prepare(item, base);
        return item;
    }
    void PressExportBatch() {
        const std::size_t blocks = host.Memory().Outstanding();
        corvantide::OnExportBatchMotions(nullptr, nullptr, nullptr, 0);
        EXPECT_EQ(blocks, host.Memory().Outstanding()) << "host blocks not given back";
    }
};

TEST_F(BatchFiles, ACamerasZoomFileThatCannotBeWrittenIsNamedAndItsMotionFileKept) {
    ReadyItem("Cam", "Cam", kCameraType);
    ReadyItem("Bad", "missing/Bad");
    ReadyItem("Arm", "Arm");
    // The zoom file's temporary file cannot be made: the folder refuses new files by then.
    corvantide::FileOutput.open = [](const char* path) -> void* {
        static int opens = 0;
        if (++opens == 2) {
            errno = EACCES;
            return nullptr;
        }
        return corvantide::PlatformFileOperations().open(path);
    };

    PressExportBatch();

    EXPECT_EQ("LWMO", Read("Cam.mot").substr(0, 4));
    EXPECT_FALSE(Exists("Cam_ZoomFactor.mot"));
    EXPECT_EQ("LWMO", Read("Arm.mot").substr(0, 4));
    EXPECT_EQ(
        "Info  Couldn't write 2 of 4 files: Cam_ZoomFactor.mot: access denied; Bad.mot: the folder does not "
        "exist\n",
        Status());
    EXPECT_EQ((std::vector<std::string>{"Arm.mot", "Cam.mot"}), Files());
}

// Every file is in place; only the folder could not be made durable.
TEST_F(BatchFiles, FoldersThatCannotBeSyncedEndTheRunWrittenWithAWarning) {
    ReadyItem("Cam", "Cam", kCameraType);
    ReadyItem("Arm", "Arm");
    corvantide::FileOutput.syncFolder = [](const char*) { return false; };

    PressExportBatch();

    EXPECT_EQ((std::vector<std::string>{"Arm.mot", "Cam.mot", "Cam_ZoomFactor.mot"}), Files());
    EXPECT_EQ("Info  Wrote 3 files; the folders of 3 could not be synced to the disk\n", Status());
}

TEST_F(BatchFiles, AFolderThatCannotBeSyncedEndsARunOfOneFileWithAWarning) {
    ReadyItem("Arm", "Arm");
    corvantide::FileOutput.syncFolder = [](const char*) { return false; };

    PressExportBatch();

    EXPECT_EQ((std::vector<std::string>{"Arm.mot"}), Files());
    EXPECT_EQ("Info  Wrote 1 file; the folder of 1 could not be synced to the disk\n", Status());
}

}  // namespace
}  // namespace corvantide_test
