// A run stopped part-way: every file an export finished is already in its
// place, and nothing is left under a temporary or a host name, inside the
// output folder or beside it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "commands.h"
#include "session.h"
#include "test_folder.h"

#if !defined(_WIN32)
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>
#endif

namespace corvantide_test {
namespace {

using namespace corvantide::cli;

#if !defined(_WIN32)
namespace fs = std::filesystem;

constexpr int kItems = 600;
constexpr int kFramesPerItem = 200;

// A batch of many items, every frame sampled, into the folder "batch".
SceneDescription LongBatch() {
    SceneDescription scene;
    scene.fps = 30;
    scene.firstFrame = 0;
    scene.lastFrame = kFramesPerItem;
    for (int i = 0; i < kItems; ++i) {
        ItemDescription item;
        item.name = "Item" + std::to_string(i);
        for (int k = 0; k < 2; ++k) {
            KeyDescription key;
            key.frame = kFramesPerItem * k;
            key.slots.push_back(SlotKey{0, static_cast<double>(i + k)});
            item.keys.push_back(key);
        }
        scene.items.push_back(item);
    }
    const auto act = [](ActionKind kind, std::string control, std::string text = {}, bool on = false) {
        Action action;
        action.kind = kind;
        action.control = std::move(control);
        action.text = std::move(text);
        action.on = on;
        return action;
    };
    scene.actions = {act(ActionKind::kShowPanel, ""),
                     act(ActionKind::kToggle, "Freeze Motion", "", true),
                     act(ActionKind::kTypeText, "batch path", "batch"),
                     act(ActionKind::kToggle, "Use Batch Directory", "", true),
                     act(ActionKind::kToggle, "Use Current Data", "", true),
                     act(ActionKind::kPress, "Setup Batch"),
                     act(ActionKind::kPress, "Export Batch Motions")};
    return scene;
}

TEST(InterruptedRun, CtrlCPartWayLeavesOnlyFinishedFilesInTheirPlaces) {
    TestFolder root("interrupted");
    const fs::path out = root.Path() / "out";
    fs::create_directories(out / "batch");
    const SceneDescription scene = LongBatch();
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        SessionSettings settings;
        settings.outputFolder = out.string();
        settings.pictures = false;
        std::ostringstream told, problems;
        std::_Exit(RunSession(scene, settings, told, problems));
    }
    // Ctrl-C once the third item's file is in place.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(out / "batch" / "Item2.mot") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(kExitInterrupted, WEXITSTATUS(status));

    // Beside the output folder and in it: nothing but the folder the scene named.
    for (const fs::path& folder : {root.Path(), out}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_TRUE(entry.path() == out || entry.path() == out / "batch") << entry.path();
        }
    }
    int files = 0;
    for (const auto& entry : fs::directory_iterator(out / "batch")) {
        EXPECT_EQ(".mot", entry.path().extension()) << entry.path();
        std::ostringstream summary, problems;
        EXPECT_EQ(kExitOk, RunCheck(entry.path().string(), summary, problems)) << problems.str();
        ++files;
    }
    EXPECT_GE(files, 3);
    EXPECT_LT(files, kItems);
}
#endif

}  // namespace
}  // namespace corvantide_test
