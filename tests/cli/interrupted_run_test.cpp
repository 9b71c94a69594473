// A run stopped part-way: every file an export finished is already in its
// place, and nothing is left under a temporary or a host name, inside the
// output folder or beside it; the run says whether the export under way
// finished or stopped.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include "commands.h"
#include "motfile/motion_reader.h"
#include "scene_json.h"
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

std::string TextOf(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

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

// What a terminal shows, kept; Ctrl-C is pressed (SIGINT raised in the
// process, as the terminal sends it) once `when` appears on it.
class CtrlCWhenShown : public std::streambuf {
public:
    explicit CtrlCWhenShown(std::string when) : when_(std::move(when)) {}
    const std::string& Shown() const { return shown_; }

protected:
    int overflow(int c) override {
        if (c != traits_type::eof()) Show(std::string(1, static_cast<char>(c)));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        Show(std::string(text, static_cast<std::size_t>(count)));
        return count;
    }

private:
    void Show(const std::string& text) {
        shown_ += text;
        if (!pressed_ && shown_.find(when_) != std::string::npos) {
            pressed_ = true;
            std::raise(SIGINT);
        }
    }
    std::string when_;
    std::string shown_;
    bool pressed_ = false;
};

class CtrlC : public testing::Test {
protected:
    // Box, keyed at frames 0 and 10 (two progress lines), exported by itself
    // to "Box" in the folder "out".
    int RunUntil(const std::string& when, bool terminal) {
        const std::filesystem::path scene = root_.Path() / "box.json";
        std::ofstream(scene, std::ios::binary) << R"({"items": [
            {"name": "Box", "keys": [{"frame": 0, "values": {"position.x": 0}}, {"frame": 10, "values": {"position.x": 4}}]}],
            "actions": [{"do": "showPanel"}, {"do": "select", "item": "Box"},
                        {"do": "type", "field": "path", "text": "Box"},
                        {"do": "press", "button": "Export Current Motion"}, {"do": "hidePanel"}]})";
        CtrlCWhenShown terminalText(when);
        std::ostream terminalOut(&terminalText);
        SessionSettings settings;
        settings.outputFolder = (root_.Path() / "out").string();
        settings.liveProgress = terminal;
        SceneDescription description;
        std::string text;
        std::string reason;
        EXPECT_TRUE(corvantide::motfile::LoadFileText(scene.string(), &text, &reason));
        EXPECT_TRUE(ParseSceneJson(text, &description, &reason)) << reason;
        const int status = RunSession(description, settings, terminalOut, problems_);
        told_ = terminalText.Shown();
        return status;
    }

    TestFolder root_;
    std::string told_;
    std::ostringstream problems_;
};

TEST_F(CtrlC, DuringTheLastFileAfterItsExportFinishedSaysItsFilesWereWritten) {
    // Without a terminal an item's last progress line is printed when its export has ended.
    EXPECT_EQ(kExitInterrupted, RunUntil("Box: Computing Frame: 2 of 2\n", false)) << problems_.str();
    EXPECT_NE(
        std::string::npos,
        told_.find("\nInterrupted: the export under way had finished and its files were written; the rest "
                   "of the session is not acted out.\n"))
        << told_;
    EXPECT_NE(std::string::npos, told_.find("), not checked:\n  Box.mot\n")) << told_;
    EXPECT_EQ(std::string::npos, told_.find("Hide the panel"));
    EXPECT_EQ(0U, TextOf(root_.Path() / "out" / "Box.mot").rfind("LWMO", 0));
}

TEST_F(CtrlC, DuringAnExportStopsItLeavesTheEarlierFileAndSaysNoneWasWritten) {
    std::filesystem::create_directories(root_.Path() / "out");
    std::ofstream(root_.Path() / "out" / "Box.mot", std::ios::binary) << "earlier";
    // On a terminal the progress line shows at once, while the export runs.
    EXPECT_EQ(kExitInterrupted, RunUntil("Box: Computing Frame: 1 of 2", true)) << problems_.str();
    EXPECT_NE(std::string::npos, told_.find("\"Info  Motion File Generation Aborted.\"")) << told_;
    EXPECT_NE(
        std::string::npos,
        told_.find("\nInterrupted: the export under way stopped as with Escape and left the file it was on "
                   "as it was"))
        << told_;
    EXPECT_NE(std::string::npos, told_.find("), not checked:\n  none\n")) << told_;
    EXPECT_EQ("earlier", TextOf(root_.Path() / "out" / "Box.mot"));
}

}  // namespace
}  // namespace corvantide_test
