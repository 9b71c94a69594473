// corvantide-sim with a scene file, items, folders and typed paths named
// outside ASCII: every file appears under its name and is reported, and a
// text the host's code page cannot hold is refused by name before anything runs.
#include <fstream>
#include <sstream>

#include "code_page_names.h"
#include "commands.h"
#include "plugin_library.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using corvantide::motfile::Utf8Path;
using corvantide::motfile::Utf8Text;
using namespace corvantide::cli;

// Each item exported by itself into the folder of the last name, a picture
// of the panel, then all of them in a batch into the folder of the first.
std::string SceneText(const std::vector<std::string>& names) {
    std::string items;
    std::string exports;
    for (const std::string& name : names) {
        items +=
            std::string(items.empty() ? "" : ",") + R"({"name": ")" + name +
            R"(", "keys": [{"frame": 0, "values": {"position.y": 0}}, {"frame": 10, "values": {"position.y": 1}}]})";
        exports += R"({"do": "select", "item": ")" + name + R"("}, {"do": "type", "field": "path", "text": ")" +
                   names.back() + "\\\\" + name + R"("}, {"do": "press", "button": "Export Current Motion"},)";
    }
    return R"({"fps": 30, "firstFrame": 0, "lastFrame": 10, "items": [)" + items +
           R"(], "actions": [{"do": "showPanel"},)" + exports + R"({"do": "panelPicture", "file": ")" +
           names.back() + R"(.svg"}, {"do": "type", "field": "batch path", "text": ")" + names.front() +
           R"("}, {"do": "toggle", "control": "Use Batch Directory", "on": true},
             {"do": "press", "button": "Setup Batch"}, {"do": "press", "button": "Export Batch Motions"}]})";
}

std::set<std::string> MotionFilesUnder(const fs::path& folder) {
    std::set<std::string> files;
    for (const std::string& file : FilesUnder(folder)) {
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".mot") == 0) files.insert(file);
    }
    return files;
}

class CodePageSession : public testing::Test {
protected:
    void SetUp() override {
        ExpectTheRequestedCodePage();
        if (HasFatalFailure()) return;
        names = NamesOfTheCodePage();
        if (names.empty()) GTEST_SKIP() << "no names for " << simhost::HostCodePageName();
    }

    // The scene file in a folder of the first name, named by it too.
    fs::path WriteScene(const std::string& text) const {
        const fs::path folder = root.Path() / Utf8Path(names.front());
        fs::create_directories(folder);
        const fs::path scene = folder / Utf8Path(names.front() + ".json");
        std::ofstream(scene, std::ios::binary) << text;
        return scene;
    }
    // The session's folder, with the folders the scene exports into.
    fs::path OutputFolder(const std::string& label) const {
        const fs::path folder = root.Path() / Utf8Path(names.back() + "-" + label);
        fs::create_directories(folder / Utf8Path(names.front()));
        fs::create_directories(folder / Utf8Path(names.back()));
        return folder;
    }
    std::set<std::string> ExpectedFiles() const {
        std::set<std::string> files;
        for (const std::string& name : names) {
            files.insert(names.front() + "/" + name + ".mot");
            files.insert(names.back() + "/" + name + ".mot");
        }
        return files;
    }

    TestFolder root;
    std::vector<std::string> names;
};

TEST_F(CodePageSession, RunWritesAndReportsEveryFileUnderItsName) {
    const fs::path scene = WriteScene(SceneText(names));
    const fs::path folder = OutputFolder("run");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(kExitOk, RunScene(Utf8Text(scene), Utf8Text(folder), out, err)) << err.str() << out.str();
    EXPECT_EQ("", err.str());
    EXPECT_EQ(ExpectedFiles(), MotionFilesUnder(folder));
    const std::string told = out.str();
    const std::size_t written = told.find("Files written (in ");
    ASSERT_NE(std::string::npos, written) << told;
    EXPECT_EQ(std::string::npos, told.find("  none", written)) << told;
    for (const std::string& name : names)
        EXPECT_NE(std::string::npos, told.find(name + ".mot", written)) << told;
    // The panel's path field, drawn as the user reads it.
    std::ifstream picture(folder / "pictures" / Utf8Path(names.back() + ".svg"), std::ios::binary);
    std::ostringstream svg;
    svg << picture.rdbuf();
    EXPECT_NE(std::string::npos, svg.str().find(names.back() + "\\" + names.back())) << svg.str();

    const fs::path motion = folder / Utf8Path(names.front()) / Utf8Path(names.back() + ".mot");
    std::ostringstream plotted;
    EXPECT_EQ(kExitOk, RunPlot(Utf8Text(motion), "", plotted, err)) << err.str();
    EXPECT_TRUE(fs::exists(fs::path(motion).replace_extension(".svg"))) << plotted.str();
}

TEST_F(CodePageSession, CheckPluginLoadsALibraryInAFolderOfTheseNames) {
    const fs::path plugin = Utf8Path(simhost::DefaultPluginPath());
    const fs::path folder = root.Path() / Utf8Path(names.back());
    fs::create_directories(folder);
    const fs::path copy = folder / Utf8Path(names.back() + plugin.extension().string());
    fs::copy_file(plugin, copy);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kExitOk, RunCheckPlugin(Utf8Text(copy), out, err)) << err.str() << out.str();
}

#if defined(_WIN32)

// On Linux the host takes every UTF-8 text as it is.
TEST_F(CodePageSession, ATextTheCodePageCannotHoldIsRefusedByNameAndNothingRuns) {
    const std::string outside = NameOutsideTheCodePage();
    const fs::path scene = WriteScene(SceneText({names.front(), outside}));
    const fs::path folder = root.Path() / "never-made";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kExitUsage, RunScene(Utf8Text(scene), Utf8Text(folder), out, err)) << out.str();
    EXPECT_NE(std::string::npos,
              err.str().find("item \"" + outside + "\": its name \"" + outside + "\" cannot be held"))
        << err.str();
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(std::string::npos, out.str().find("Select")) << out.str();
}

// The program as a user starts it, given the scene and folder on its wide
// command line; returns its exit status. What it prints goes to outputFile.
DWORD RunProgram(const std::wstring& arguments, const fs::path& outputFile) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path program = fs::path(std::wstring(self, length)).parent_path() / L"corvantide-sim.exe";
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE output = CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    DWORD status = 255;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(output);
    return status;
}

TEST_F(CodePageSession, TheProgramTakesTheSceneAndFolderFromItsWideCommandLine) {
    const fs::path scene = WriteScene(SceneText(names));
    const fs::path folder = OutputFolder("program");
    const fs::path told = root.Path() / "told.txt";
    EXPECT_EQ(0u, RunProgram(L"run \"" + scene.wstring() + L"\" --out \"" + folder.wstring() + L"\"", told));
    std::ifstream in(told, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(ExpectedFiles(), MotionFilesUnder(folder)) << text.str();
    for (const std::string& name : names)
        EXPECT_NE(std::string::npos, text.str().find(name + ".mot")) << text.str();
}

#endif

}  // namespace
}  // namespace corvantide_test
