// corvantide-sim demo, run and check-plugin, as a newcomer and a pipeline
// engineer use them: every file they write reads back, and the host is clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "commands.h"
#include "plugin_library.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using namespace corvantide::cli;

std::set<std::string> FilesIn(const fs::path& folder, const std::string& extension) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == extension) names.insert(entry.path().filename().string());
    }
    return names;
}

class SessionCommands : public testing::Test {
protected:
    // The commands' folder lies inside the test's own: on Linux a failed run
    // may leave host names with backslashes beside it, and those go too.
    void SetUp() override { folder_ = root_.Path() / "session"; }

    // Every .mot file of the folder passes `check`.
    void ExpectAllCheck(const fs::path& folder) {
        for (const std::string& name : FilesIn(folder, ".mot")) {
            std::ostringstream summary, problems;
            EXPECT_EQ(kExitOk, RunCheck((folder / name).string(), summary, problems)) << problems.str();
        }
    }

    TestFolder root_;
    fs::path folder_;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SessionCommands, TheDemoExportsEveryItemAndDrawsThePanelAndEachFile) {
    ASSERT_EQ(kExitOk, RunDemo(folder_.string(), out, err)) << err.str() << out.str();
    EXPECT_EQ("", err.str());
    const std::set<std::string> expected = {"Hand_World.mot", "Camera.mot", "Camera_ZoomFactor.mot",
                                            "Hips.mot",       "Spine.mot",  "Arm.mot",
                                            "Hand.mot",       "Lamp.mot"};
    EXPECT_EQ(expected, FilesIn(folder_, ".mot"));
    ExpectAllCheck(folder_);
    // On Linux the host's backslash names were moved into the folder: nothing is left beside it.
    for (const auto& entry : fs::directory_iterator(folder_.parent_path())) {
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(folder_.filename().string() + "\\"))
            << entry.path();
    }
    std::set<std::string> pictures = FilesIn(folder_ / "pictures", ".svg");
    EXPECT_EQ(expected.size() + 1, pictures.size());
    EXPECT_TRUE(pictures.count("panel.svg"));
    EXPECT_TRUE(pictures.count("Camera_ZoomFactor.svg"));

    const std::string told = out.str();
    EXPECT_NE(std::string::npos, told.find("Press \"Export Batch Motions\""));
    EXPECT_NE(std::string::npos, told.find("Hips: Computing Frame: 5 of 5"));
    EXPECT_NE(std::string::npos, told.find("D:\\Library\\Props\\Lamp"));  // an absolute source folder
    EXPECT_NE(std::string::npos, told.find("\\Objects\\Hips"));  // a relative one, under the content directory
    EXPECT_EQ(std::string::npos, told.find('\r'));               // not a terminal: plain progress lines
    std::ifstream panel(folder_ / "pictures" / "panel.svg");
    const std::string panelSvg((std::istreambuf_iterator<char>(panel)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, panelSvg.find("Setup Batch"));
}

TEST_F(SessionCommands, TheDemoMeasuresEveryChannelAndEndsWithOneLinePerFile) {
    ASSERT_EQ(kExitOk, RunDemo(folder_.string(), out, err)) << err.str() << out.str();
    const std::string told = out.str();
    // Keyed Local exports of TCB, linear and stepped spans carry the host's motion exactly.
    EXPECT_NE(std::string::npos,
              told.find("  Hand.mot: motion file, 9 channels, keys from 0.000000 s to 2.000000 s\n"
                        "      Position X: exact\n"));
    // Bezier spans are written in the format's tangent form, which follows the host's curve only roughly.
    EXPECT_NE(std::string::npos,
              told.find("      Heading: within 2.8 degrees, largest at 1.867 s (frame 56)\n"));

    const std::size_t summary = told.find("\nHow closely each file follows the host");
    ASSERT_NE(std::string::npos, summary);
    EXPECT_GT(summary, told.find("\nPictures (in"));  // the demo ends with it
    const std::size_t table = told.find("):\n", summary) + 3;
    const std::string lines = told.substr(table, told.find("World keys are", table) - table);
    EXPECT_EQ(8, std::count(lines.begin(), lines.end(), '\n')) << lines;
    for (const char* line :
         {"  Hand.mot               keys, Local  exact in all 9 channels\n",
          "  Spine.mot              keys, Local  exact in all 9 channels\n",
          "  Camera.mot             keys, Local  exact in all 6 channels\n",
          "  Camera_ZoomFactor.mot  zoom keys    exact\n",
          // The keyless lamp holds its rest position and scale, as the host does.
          "  Lamp.mot               keys, Local  exact in all 9 channels\n",
          "  Hips.mot               keys, Local  exact in 8 of 9 channels; rotation within 2.8 degrees"}) {
        EXPECT_NE(std::string::npos, lines.find(line)) << line << "\n" << lines;
    }
    EXPECT_NE(std::string::npos,
              lines.find("  Hand_World.mot         keys, World  exact in 3 of 9 channels; position"));
    // What World keys carry is said after the table, and every World channel is Constant outside its keys.
    EXPECT_NE(std::string::npos,
              told.find("\nWorld keys are exact at the item's keys and interpolated between them."));
    std::ifstream world(folder_ / "Hand_World.mot", std::ios::binary);
    const std::string worldText((std::istreambuf_iterator<char>(world)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::string::npos, worldText.find("Behaviors 0 0")) << worldText;
    EXPECT_NE(std::string::npos, worldText.find("  Behaviors 1 1\n")) << worldText;
}

TEST_F(SessionCommands, EveryExampleSceneRunsAndItsFilesCheck) {
    const fs::path examples = fs::path(CORVANTIDE_SOURCE_DIR) / "examples";
    std::size_t scenes = 0;
    for (const auto& entry : fs::directory_iterator(examples)) {
        if (entry.path().extension() != ".json") continue;
        ++scenes;
        const fs::path folder = folder_ / entry.path().stem();
        std::ostringstream told, problems;
        EXPECT_EQ(kExitOk, RunScene(entry.path().string(), folder.string(), told, problems))
            << entry.path() << "\n"
            << problems.str() << told.str();
        EXPECT_FALSE(FilesIn(folder, ".mot").empty()) << entry.path();
        ExpectAllCheck(folder);
    }
    EXPECT_GE(scenes, 4U);
}

TEST_F(SessionCommands, EscapeDuringABatchKeepsTheFinishedItemAndStopsTheRun) {
    const fs::path scene = fs::path(CORVANTIDE_SOURCE_DIR) / "examples" / "batch-escape.json";
    // The user asked for the abort: no failure.
    ASSERT_EQ(kExitOk, RunScene(scene.string(), folder_.string(), out, err)) << err.str();
    EXPECT_EQ(std::set<std::string>{"One.mot"}, FilesIn(folder_, ".mot"));
    EXPECT_NE(std::string::npos, out.str().find("Two: Computing Frame: 4 of 10\n"));
    EXPECT_NE(std::string::npos,
              out.str().find("Two: Computing Frame: 4 of 10\n      the status area shows: \"Info  Motion File "
                             "Generation Aborted.\""));
    EXPECT_EQ(std::string::npos, out.str().find("Three: Computing"));
}

TEST_F(SessionCommands, AMessageOfThePanelIsToldAndNothingIsWritten) {
    fs::create_directories(folder_);
    const fs::path scene = folder_ / "no-path.json";
    std::ofstream(scene) << R"({"items": [{"name": "Arm"}],
        "actions": [{"do": "showPanel"}, {"do": "select", "item": "Arm"},
                    {"do": "press", "button": "Export Current Motion"}]})";
    ASSERT_EQ(kExitOk, RunScene(scene.string(), folder_.string(), out, err)) << err.str();
    EXPECT_NE(std::string::npos,
              out.str().find("the host shows a message: \"Destination path not selected.\""));
    EXPECT_NE(std::string::npos, out.str().find("Files written (in"));
    EXPECT_TRUE(FilesIn(folder_, ".mot").empty());
}

class FailedExports : public SessionCommands {
protected:
    int Run(const std::string& actions) {
        fs::create_directories(folder_);
        const fs::path scene = folder_ / "scene.json";
        std::ofstream(scene) << R"({"items": [
            {"name": "Box", "keys": [{"frame": 0, "values": {"position.x": 0}}, {"frame": 30, "values": {"position.x": 4}}]},
            {"name": "Bad", "keys": [{"frame": 0, "values": {"heading": 0}}, {"frame": 30, "values": {"heading": 90}}]}],
            "actions": [{"do": "showPanel"}, )"
                             << actions << "]}";
        return RunScene(scene.string(), folder_.string(), out, err);
    }
};

TEST_F(FailedExports, ADestinationInAMissingFolderIsToldWhereItHappensAndEndsWithStatus4) {
    EXPECT_EQ(kExitExportFailed, Run(R"({"do": "select", "item": "Box"},
        {"do": "type", "field": "path", "text": "missing/Box"},
        {"do": "press", "button": "Export Current Motion"})"));
    EXPECT_NE(std::string::npos,
              out.str().find("Press \"Export Current Motion\"\n"
                             "      the status area shows: \"Info  Couldn't write Box.mot: the folder does not "
                             "exist\"\n"))
        << out.str();
    EXPECT_NE(std::string::npos, out.str().find("Files written (in"));
    EXPECT_EQ("corvantide-sim: export failed: Couldn't write Box.mot: the folder does not exist\n", err.str());
}

TEST_F(FailedExports, ABatchWithOneFailingItemWritesTheOtherAndStillFails) {
    EXPECT_EQ(kExitExportFailed,
              Run(R"({"do": "select", "item": "Box"}, {"do": "type", "field": "path", "text": "Box"},
        {"do": "select", "item": "Bad"}, {"do": "type", "field": "path", "text": "missing/Bad"},
        {"do": "press", "button": "Export Batch Motions"})"));
    EXPECT_EQ(std::set<std::string>{"Box.mot"}, FilesIn(folder_, ".mot"));
    const std::string told = out.str();
    EXPECT_NE(std::string::npos,
              told.find("the status area shows: \"Info  Couldn't write Bad.mot: the folder does not exist\""));
    EXPECT_LT(told.find("Box: Computing Frame: 2 of 2"), told.find("Couldn't write Bad.mot"));
    EXPECT_NE(std::string::npos, err.str().find("export failed: Couldn't write Bad.mot"));
}

#if !defined(_WIN32)
// On Linux the plug-in's "missing\Box.mot" is one file name; where Windows would fail, the host says so.
TEST_F(FailedExports, AFileWhoseFolderDoesNotExistOnLinuxIsAFailedExport) {
    EXPECT_EQ(kExitExportFailed, Run(R"({"do": "select", "item": "Box"},
        {"do": "type", "field": "path", "text": "missing\\Box"},
        {"do": "press", "button": "Export Current Motion"})"));
    EXPECT_NE(std::string::npos, out.str().find("not written: the folder of missing/Box.mot does not exist"));
    EXPECT_EQ("corvantide-sim: export failed: Box.mot not written to missing: no such folder\n", err.str());
    EXPECT_FALSE(fs::exists(folder_ / "missing\\Box.mot"));  // the file under its host name is gone too
}
#endif

TEST_F(FailedExports, ARefusedPathIsToldButIsNoFailedExport) {
    const std::string longPath(1100, 'p');
    EXPECT_EQ(kExitOk, Run(R"({"do": "select", "item": "Box"}, {"do": "type", "field": "path", "text": ")" +
                           longPath + R"("})"));
    EXPECT_NE(std::string::npos,
              out.str().find("the status area shows: \"Info  Path not stored: longer than 1023 characters.\""));
    EXPECT_EQ("", err.str());
}

// Each broken scene: its text, and what the message must name.
struct BadScene {
    const char* text;
    std::vector<std::string> named;
};

TEST_F(SessionCommands, ABadSceneFileIsRefusedWithWhereAndWhy) {
    const BadScene scenes[] = {
        {R"({"items": [)", {"not valid JSON at line 1"}},
        {R"({"fps": 0, "items": []})", {"fps", "from 0.1 to 1000, not 0"}},
        {R"({"fps": 1e308, "items": []})", {"fps", "from 0.1 to 1000, not 1e+308"}},
        {R"({"items": [{"name": "Arm", "keys": [{"frame": 2147483648, "values": {"heading": 1}}]}]})",
         {"items[0] \"Arm\".keys[0].frame", "from -1000000 to 1000000, not 2147483648"}},
        {R"({"items": [{"name": "Arm", "keys": [{"frame": 1e300, "values": {"heading": 1}}]}]})",
         {"keys[0].frame", "from -1000000 to 1000000"}},
        {"{\"items\": [],\n \"fps\": 1e400}", {"a number too large to read at line 2, column 9: 1e400"}},
        {R"({"items": [{"name": "Arm", "keys": [{"frame": 0, "values": {"position.x": 1}, "span": "bezir"}]}]})",
         {"items[0] \"Arm\".keys[0].span", "bezir"}},
        {R"({"items": [{"name": "Arm", "keys": [{"frame": 0, "values": {"elbow": 1}}]}]})",
         {"items[0] \"Arm\".keys[0].values", "\"elbow\" is not a channel"}},
        {R"({"items": [{"name": "Arm", "keys": [{"frame": 0, "values": {"zoom": 2}}]}]})",
         {"\"Arm\"", "zoom", "only a camera"}},
        {R"({"items": [{"name": "Arm", "keys": [{"frame": "ten", "values": {"heading": 1}}]}]})",
         {"keys[0].frame", "must be a number, not a text"}},
        {R"({"items": [{"name": "Arm", "parent": "Body"}]})", {"\"Arm\".parent", "no item \"Body\""}},
        {R"({"items": [{"name": "A", "parent": "B"}, {"name": "B", "parent": "A"}]})",
         {"parent", "descendant"}},
        {R"({"items": [{"name": "A"}, {"name": "A"}]})", {"items[1] \"A\".name", "already"}},
        {R"({"items": [{"name": "Arm", "behaviours": {"heading": 40000}}]})", {"behaviours.heading", "-32768"}},
        {R"({"items": [{"name": "Arm", "colour": "red"}]})", {"\"Arm\".colour", "not a known field"}},
        {R"({"items": [], "actions": [{"do": "press", "button": "Export"}]})",
         {"action 1, button", "\"Export\" is not a button"}},
        {R"({"items": [], "actions": [{"do": "select", "item": "Ghost"}]})", {"action 1, item", "\"Ghost\""}},
        {R"({"items": [], "actions": [{"do": "choose", "list": "Coordinates", "entry": "Global"}]})",
         {"action 1, entry", "\"Global\"", "\"World\""}},
        {R"({"items": [], "actions": [{"do": "type", "field": "Begin Frame", "value": 1.5}]})",
         {"action 1, value", "whole number"}},
        {R"({"items": [], "actions": [{"do": "dance"}]})", {"action 1, do", "unknown action \"dance\""}},
        {R"([1, 2])", {"the scene", "must be an object"}},
    };
    fs::create_directories(folder_);
    int index = 0;
    for (const BadScene& scene : scenes) {
        const fs::path path = folder_ / ("bad" + std::to_string(index++) + ".json");
        std::ofstream(path) << scene.text;
        std::ostringstream told, problems;
        EXPECT_EQ(kExitUsage, RunScene(path.string(), (folder_ / "out").string(), told, problems))
            << scene.text;
        const std::string message = problems.str();
        EXPECT_EQ(0U, message.rfind(path.string() + ": ", 0)) << message;
        for (const std::string& part : scene.named) {
            EXPECT_NE(std::string::npos, message.find(part)) << scene.text << "\n" << message;
        }
        EXPECT_EQ(std::string::npos, message.find("exception")) << message;  // our words, not the library's
        EXPECT_EQ("", told.str());                                           // nothing was started
    }
    EXPECT_FALSE(fs::exists(folder_ / "out"));
}

TEST_F(SessionCommands, AMissingSceneFileIsAUsageError) {
    EXPECT_EQ(kExitUsage, RunScene((folder_ / "nothing.json").string(), folder_.string(), out, err));
    EXPECT_NE(std::string::npos, err.str().find("cannot read"));
}

TEST_F(SessionCommands, CheckPluginLoadsTheLibraryAsTheHostDoes) {
    EXPECT_EQ(kExitOk, RunCheckPlugin("", out, err)) << err.str();
    EXPECT_NE(std::string::npos, out.str().find("named the module \"Corvantide\"; its panel builds"));
}

TEST_F(SessionCommands, CheckPluginSaysInWordsWhyALibraryDoesNotLoad) {
    fs::create_directories(folder_);
    const std::string none = (folder_ / "none.dll").string();
    const std::string text = (folder_ / "notes.dll").string();
    std::ofstream(text) << "not a library";
#if defined(_WIN32)
    const char* system = "kernel32.dll";
    const char* notLibrary = "not a 64-bit Windows library";
#else
    const char* system = "libc.so.6";
    const char* notLibrary = "not a 64-bit Linux library";
#endif
    const std::pair<std::string, std::string> cases[] = {
        {none, "cannot load the plug-in " + none + ": not found\n"},
        {text, "cannot load the plug-in " + text + ": " + notLibrary + "\n"},
        {system, std::string("cannot load the plug-in ") + system +
                     ": not a Corvantide plug-in: it has no InitCustomize\n"},
    };
    for (const auto& [library, said] : cases) {
        std::ostringstream problems;
        EXPECT_EQ(kExitUsage, RunCheckPlugin(library, out, problems));
        EXPECT_EQ("corvantide-sim: " + said, problems.str());
    }
}

TEST_F(SessionCommands, CheckPluginFindsABareLibraryNameInTheCurrentFolder) {
    fs::create_directories(folder_);
    const fs::path built = simhost::DefaultPluginPath();
    const std::string name = built.filename().string();
    fs::copy_file(built, folder_ / name);
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    const int status = RunCheckPlugin(name, out, err);
    fs::current_path(before);
    EXPECT_EQ(kExitOk, status) << err.str();
    EXPECT_EQ(0U, out.str().rfind(name + ": loaded", 0)) << out.str();
}

}  // namespace
}  // namespace corvantide_test
