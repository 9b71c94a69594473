// Linux: after the move, the folder is synced so that the move is on the
// disk. A folder that can be written but not read cannot be opened for that;
// the new file is in place all the same, and the export has succeeded.
#if !defined(_WIN32)
#include <linux/capability.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;

// Without the capabilities that let root read any folder, root is held to a
// folder's mode as everyone else is; other users have none to drop.
class FolderModesApply {
public:
    FolderModesApply() {
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct dropped[2] = {saved_[0], saved_[1]};
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            dropped[capability / 32].effective &= ~(1u << (capability % 32));
        }
        restore_ = syscall(SYS_capset, &header_, dropped) == 0;
    }
    ~FolderModesApply() {
        if (restore_) syscall(SYS_capset, &header_, saved_);
    }
    FolderModesApply(const FolderModesApply&) = delete;
    FolderModesApply& operator=(const FolderModesApply&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool restore_ = false;
};

// What happens in one folder, as inotify tells it: "moved in NAME" when a
// file is moved into it, "opened" when the folder itself is opened.
class FolderEvents {
public:
    explicit FolderEvents(const fs::path& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        watching_ = fd_ >= 0 && inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_OPEN | IN_ONLYDIR) >= 0;
    }
    ~FolderEvents() {
        if (fd_ >= 0) close(fd_);
    }
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;
    bool Watching() const { return watching_; }

    std::vector<std::string> Read() const {
        std::vector<std::string> events;
        alignas(inotify_event) char buffer[4096];
        ssize_t count = 0;
        while (fd_ >= 0 && (count = read(fd_, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < count;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_MOVED_TO) != 0) events.push_back("moved in " + std::string(event->name));
                if ((event->mask & IN_OPEN) != 0 && event->len == 0) events.push_back("opened");
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return events;
    }

private:
    int fd_;
    bool watching_ = false;
};

using FolderSync = PanelSession;

// The folder is opened for its sync after each move: for a bare file name
// that is the working folder, for a camera its zoom file too, and in a batch
// the folder of every item.
TEST_F(FolderSync, EachFolderThatGetsANewFileIsOpenedAfterTheMove) {
    const ScratchDirectory scratch("synced");
    const fs::path batchFolder = scratch.Path() / "batch";
    fs::create_directory(batchFolder);
    void* cam = host.Scene().AddItem("Cam", simhost::item_layout::kCameraType);
    host.Scene().AddKey(cam, 0).Set(0, 1.0);
    void* arm = host.Scene().AddItem("Arm");
    host.Scene().AddKey(arm, 0).Set(0, 2.0);
    OpenPanel();
    user.SelectItem(arm);
    user.TypePath((batchFolder / "Arm").string());
    user.SelectItem(cam);
    user.TypePath("Cam");

    const FolderEvents current(scratch.Path());
    ASSERT_TRUE(current.Watching());
    user.Press("Export Current Motion");
    EXPECT_EQ((std::vector<std::string>{"moved in Cam.mot", "opened", "moved in Cam_ZoomFactor.mot", "opened"}),
              current.Read());

    const FolderEvents batch(batchFolder);
    ASSERT_TRUE(batch.Watching());
    user.Press("Export Batch Motions");
    EXPECT_EQ((std::vector<std::string>{"moved in Arm.mot", "opened"}), batch.Read());
    EXPECT_EQ((std::vector<std::string>{"moved in Cam.mot", "opened", "moved in Cam_ZoomFactor.mot", "opened"}),
              current.Read());
}

TEST_F(FolderSync, AFolderThatCanBeWrittenButNotReadStillGetsTheNewFileAndNoFailure) {
    const ScratchDirectory scratch("write-only");
    const fs::path folder = scratch.Path() / "drop";
    fs::create_directory(folder);
    std::ofstream(folder / "Box.mot", std::ios::binary) << "an earlier export";
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(0, 1.0);
    host.SetCurrentItem(box);
    OpenPanel();
    user.TypePath((folder / "Box").string());

    fs::permissions(folder, fs::perms::owner_write | fs::perms::owner_exec | fs::perms::group_write |
                                fs::perms::group_exec | fs::perms::others_write | fs::perms::others_exec);
    {
        const FolderModesApply modes;
        user.Press("Export Current Motion");
    }
    fs::permissions(folder, fs::perms::owner_all);

    std::ostringstream text;
    text << std::ifstream(folder / "Box.mot", std::ios::binary).rdbuf();
    EXPECT_EQ(0u, text.str().rfind("LWMO\n", 0));
    EXPECT_EQ("Info\nStatus: Idle", user.StatusText());
}

}  // namespace
}  // namespace corvantide_test
#endif
