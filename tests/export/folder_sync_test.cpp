// Linux: after the move, the folder is synced so that the move is on the
// disk. A folder that can be written but not read cannot be opened for that;
// the new file is in place all the same, and the export has succeeded.
#if !defined(_WIN32)
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

using FolderSync = PanelSession;

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
