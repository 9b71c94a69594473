// Destinations the user protected or that name no file Windows can hold: the
// export refuses them before any file is touched and says why. Links are
// followed, and a replaced file keeps its permission bits.
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "export/file_output.h"
#include "host/item_record.h"
#include "host/text_buffer.h"
#include "linked_plugin.h"
#include "scene_items.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

namespace fs = std::filesystem;

class ProtectedDestination : public LinkedPlugin {
protected:
    void* KeyedItem(const std::string& name, std::int32_t type = 0) {
        void* item = AddTwoKeyItem(host, name, type);
        Prepare(item, name);
        return item;
    }
    void MakeReadOnly(const std::string& fileName) {
        fs::permissions(directory / fileName,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        readOnly.push_back(directory / fileName);
    }
    void TearDown() override {
        // Writable again, so the test's folder can be removed on Windows too.
        for (const fs::path& path : readOnly)
            fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
        LinkedPlugin::TearDown();
    }
    void SetDestination(void* item, const std::string& path) {
        ASSERT_TRUE(corvantide::CopyText(corvantide::FindSettings(item)->destinationPath,
                                         corvantide::kPathCapacity, path.c_str()));
    }

    std::vector<fs::path> readOnly;
};

TEST_F(ProtectedDestination, AReadOnlyFileIsKeptAndTheExportSaysSo) {
    void* box = KeyedItem("Box");
    Write("Box.mot", "protected");
    MakeReadOnly("Box.mot");

    EXPECT_EQ(0, Export(box));

    EXPECT_EQ("protected", Read("Box.mot"));
    EXPECT_EQ("Info  Couldn't write Box.mot: the file is read-only\n", Status());
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
}

TEST_F(ProtectedDestination, ACameraWhoseZoomFileIsReadOnlyWritesNeitherFile) {
    void* cam = KeyedItem("Cam", kCameraType);
    Write("Cam.mot", "earlier motion");
    Write("Cam_ZoomFactor.mot", "protected zoom");
    MakeReadOnly("Cam_ZoomFactor.mot");

    EXPECT_EQ(0, Export(cam));

    EXPECT_EQ("earlier motion", Read("Cam.mot"));
    EXPECT_EQ("protected zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ("Info  Couldn't write Cam_ZoomFactor.mot: the file is read-only\n", Status());
    EXPECT_EQ((std::vector<std::string>{"Cam.mot", "Cam_ZoomFactor.mot"}), Files());
}

TEST_F(ProtectedDestination, AFolderAtTheDestinationIsNamedAndLeftAlone) {
    void* box = KeyedItem("Box");
    fs::create_directory(directory / "Box.mot");
    EXPECT_EQ(0, Export(box));
    EXPECT_TRUE(fs::is_directory(directory / "Box.mot"));
    EXPECT_EQ("Info  Couldn't write Box.mot: a folder has that name\n", Status());
}

// A path cleared or ending in a separator would write a hidden file ".mot".
TEST_F(ProtectedDestination, APathWithoutAFileNameIsRefusedAndNothingIsWritten) {
    void* box = KeyedItem("Box");
    for (const std::string& path : {std::string(), PathOf("") + "\\", (directory / "").string()}) {
        SetDestination(box, path);
        EXPECT_EQ(0, Export(box)) << path;
        EXPECT_EQ("Info  Couldn't write .mot: the path has no file name; add one\n", Status()) << path;
    }
    EXPECT_FALSE(fs::exists(".mot"));
    EXPECT_TRUE(Files().empty());
}

// Names that Windows refuses or keeps for devices are refused by name on
// every platform, so a scene exports alike wherever it is opened.
TEST_F(ProtectedDestination, ANameWindowsCannotHoldIsRefusedNamingTheCharacter) {
    void* box = KeyedItem("Box");
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"rig:Hips", ": a file name cannot hold \":\""},
        {"Light?", ": a file name cannot hold \"?\""},
        {"Star*", ": a file name cannot hold \"*\""},
        {"Line\nFeed", ": a file name cannot hold a control character (0x0A)"},
        {"NUL", ": Windows keeps that name for a device"},
        {"com1.take2", ": Windows keeps that name for a device"},
    };
    for (const auto& c : cases) {
        SetDestination(box, PathOf(c.name));
        EXPECT_EQ(0, Export(box)) << c.name;
        EXPECT_NE(std::string::npos, Status().find(c.reason)) << Status();
    }
    EXPECT_TRUE(Files().empty());
}

// An abort while the zoom file is printed (a file of more than one chunk)
// leaves both of the camera's files as they were.
TEST_F(ProtectedDestination, EscapeWhileTheZoomFileIsPrintedKeepsBothEarlierFiles) {
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    for (int k = 0; k < 25000; ++k) host.Scene().AddKey(cam, k).Set(12, 1.0 + k * 0.001);
    Prepare(cam, "Cam");
    Write("Cam.mot", "earlier motion");
    Write("Cam_ZoomFactor.mot", "earlier zoom");
    corvantide::FileOutput.open = [](const char* path) {
        static int opens = 0;
        if (++opens == 2) simhost::SimHost::Current().Escape().Tap();  // the zoom file is begun
        return corvantide::PlatformFileOperations().open(path);
    };

    EXPECT_EQ(-1, Export(cam));

    EXPECT_EQ("earlier motion", Read("Cam.mot"));
    EXPECT_EQ("earlier zoom", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ((std::vector<std::string>{"Cam.mot", "Cam_ZoomFactor.mot"}), Files());
    EXPECT_NE(std::string::npos, Status().find("Motion File Generation Aborted."));
}

#if !defined(_WIN32)
// Root may write any file: the mode itself says what the user protected.
TEST_F(ProtectedDestination, AFileWithoutAWriteBitIsKeptEvenForRoot) {
    void* box = KeyedItem("Box");
    Write("Box.mot", "protected");
    ASSERT_EQ(0, ::chmod(PathOf("Box.mot").c_str(), 0444));
    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("protected", Read("Box.mot"));
    ::chmod(PathOf("Box.mot").c_str(), 0644);
}

TEST_F(ProtectedDestination, AReplacedFileKeepsItsPermissionBits) {
    void* box = KeyedItem("Box");
    Write("Box.mot", "earlier");
    ASSERT_EQ(0, ::chmod(PathOf("Box.mot").c_str(), 0640));
    EXPECT_EQ(1, Export(box));
    struct stat status {};
    ASSERT_EQ(0, ::stat(PathOf("Box.mot").c_str(), &status));
    EXPECT_EQ(0640u, status.st_mode & 07777u);
    EXPECT_EQ("LWMO", Read("Box.mot").substr(0, 4));
}

// The link stays; the file it leads to gets the new motion, made beside it.
TEST_F(ProtectedDestination, ALinkKeepsPointingAtTheFileItLeadsToWhichIsReplaced) {
    void* cam = KeyedItem("Cam", kCameraType);
    fs::create_directory(directory / "shots");
    Write("shots/take.mot", "earlier motion");
    Write("shots/take_zoom.mot", "earlier zoom");
    fs::create_symlink(directory / "shots" / "take.mot", directory / "Cam.mot");
    fs::create_symlink("shots/take_zoom.mot", directory / "Cam_ZoomFactor.mot");

    EXPECT_EQ(1, Export(cam));

    EXPECT_TRUE(fs::is_symlink(directory / "Cam.mot"));
    EXPECT_TRUE(fs::is_symlink(directory / "Cam_ZoomFactor.mot"));
    EXPECT_EQ("LWMO", Read("shots/take.mot").substr(0, 4));
    EXPECT_EQ("{ Envelope\n", Read("shots/take_zoom.mot").substr(0, 11));
    EXPECT_EQ(2, std::distance(fs::directory_iterator(directory / "shots"), {}));  // no temporary file left
}

TEST_F(ProtectedDestination, ALinkThatLeadsNowhereAndAPipeAreRefused) {
    void* box = KeyedItem("Box");
    fs::create_symlink(directory / "gone" / "x.mot", directory / "Box.mot");
    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("Info  Couldn't write Box.mot: the link leads to no file\n", Status());
    fs::remove(directory / "Box.mot");

    // Never opened: opening a pipe for writing would wait for a reader.
    ASSERT_EQ(0, ::mkfifo(PathOf("Box.mot").c_str(), 0644));
    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("Info  Couldn't write Box.mot: that name is a device or a pipe, not a file\n", Status());
}
#endif

}  // namespace
}  // namespace corvantide_test
