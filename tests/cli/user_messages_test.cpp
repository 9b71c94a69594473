// Messages a Windows user meets first, each with what to do: a path cmd
// left a quote in, the help asked for as "/?", a plug-in that does not load
// and where it was looked for, counts in the singular, report columns under
// non-ASCII names, and scene actions numbered as the run numbers them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "fidelity_report.h"
#include "motfile/motion_texts.h"
#include "plugin_library.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using namespace corvantide::cli;

#if defined(_WIN32)
constexpr char kLibraryName[] = "corvantide.dll";
#else
constexpr char kLibraryName[] = "libcorvantide.so";
#endif

// CORVANTIDE_PLUGIN set for the life of the object, then as it was.
class PluginVariable {
public:
    explicit PluginVariable(const std::string& value) {
        if (const char* before = std::getenv(kName)) before_ = before;
        Set(value);
    }
    ~PluginVariable() { Set(before_.value_or("")); }
    PluginVariable(const PluginVariable&) = delete;
    PluginVariable& operator=(const PluginVariable&) = delete;

private:
    static constexpr char kName[] = "CORVANTIDE_PLUGIN";
    static void Set(const std::string& value) {
#if defined(_WIN32)
        _putenv_s(kName, value.c_str());
#else
        if (value.empty()) {
            unsetenv(kName);
        } else {
            setenv(kName, value.c_str(), 1);
        }
#endif
    }
    std::optional<std::string> before_;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

// The first bytes of a library built for another machine: an MZ header
// pointing at a PE header with the given machine code.
std::string PortableExecutable(unsigned machine) {
    std::string bytes(0x100, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = '\x80';
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    bytes[0x84] = static_cast<char>(machine & 0xFFU);
    bytes[0x85] = static_cast<char>(machine >> 8);
    return bytes;
}

class UserMessages : public testing::Test {
protected:
    std::string CheckPlugin(const std::string& library) {
        std::ostringstream out, err;
        EXPECT_EQ(kExitUsage, RunCheckPlugin(library, out, err)) << out.str();
        return err.str();
    }

    TestFolder folder_;
};

TEST(CommandLine, APathCmdLeftAQuoteInIsExplainedWithTheTwoWaysToTypeIt) {
    // cmd reads --out "C:\Temp\fs3 space\" --no-pictures as one argument.
    const std::vector<std::string> arguments = {"corvantide-sim", "run", "scene.json", "--out",
                                                "C:\\Temp\\fs3 space\" --no-pictures"};
    EXPECT_EQ(
        "corvantide-sim: an argument holds a double quote: C:\\Temp\\fs3 space\" --no-pictures\n"
        "  In cmd, a backslash right before a closing quote (\\\") keeps the quote in the argument, with all "
        "that follows it (here: --no-pictures).\n"
        "  Type the path without its last backslash, \"C:\\Temp\\fs3 space\", or end it with two, "
        "\"C:\\Temp\\fs3 space\\\\\".\n",
        StrayQuoteMessage(arguments));
    const std::string last = StrayQuoteMessage({"corvantide-sim", "plot", "Hips.mot", "--out", "C:\\Out\\\""});
    EXPECT_NE(std::string::npos, last.find("keeps the quote in the argument.\n")) << last;
    const std::string leading = StrayQuoteMessage({"corvantide-sim", "run", "\"C:\\Temp\\fs3"});
    EXPECT_NE(std::string::npos, leading.find("without its last backslash, \"C:\\Temp\\fs3\", or")) << leading;
    EXPECT_EQ("", StrayQuoteMessage({"corvantide-sim", "run", "C:\\Temp\\fs3 space\\scene.json"}));
}

TEST(CommandLine, SlashQuestionMarkAsksForTheHelp) {
    std::vector<std::string> arguments = {"corvantide-sim", "/?"};
    TranslateHelpRequests(&arguments);
    EXPECT_EQ((std::vector<std::string>{"corvantide-sim", "--help"}), arguments);
    arguments = {"corvantide-sim", "run", "/?"};
    TranslateHelpRequests(&arguments);
    EXPECT_EQ("--help", arguments[2]);
}

TEST_F(UserMessages, CheckPluginOnAFolderSaysItIsAFolder) {
    EXPECT_EQ("corvantide-sim: cannot load the plug-in " + folder_.Path().string() +
                  ": a folder, not a library: name the " + kLibraryName + " in it\n",
              CheckPlugin(folder_.Path().string()));
}

TEST_F(UserMessages, ALibraryOfTheWrongWordSizeIsNamed32Bit) {
    const fs::path windows32 = folder_.Path() / "corvantide32.dll";
    WriteBytes(windows32, PortableExecutable(0x014C));
#if defined(_WIN32)
    const std::string expected =
        "a 32-bit Windows library; the host and this program are 64-bit and need the 64-bit corvantide.dll";
#else
    const std::string expected = "a 32-bit Windows library, not a 64-bit Linux one";
    const fs::path linux32 = folder_.Path() / "libold.so";
    std::string elf(64, '\0');
    elf.replace(0, 5,
                "\x7f"
                "ELF\x01");
    WriteBytes(linux32, elf);
    EXPECT_EQ("corvantide-sim: cannot load the plug-in " + linux32.string() +
                  ": a 32-bit Linux library, not a 64-bit one\n",
              CheckPlugin(linux32.string()));
#endif
    EXPECT_EQ("corvantide-sim: cannot load the plug-in " + windows32.string() + ": " + expected + "\n",
              CheckPlugin(windows32.string()));
}

TEST_F(UserMessages, APluginPathFromTheVariableSaysWhereItCameFrom) {
    const std::string missing = (folder_.Path() / "Modules" / kLibraryName).string();
    const PluginVariable variable(missing);
    const std::string said = CheckPlugin("");
    EXPECT_EQ(0U, said.find("corvantide-sim: cannot load the plug-in " + missing + ": not found\n")) << said;
    EXPECT_NE(std::string::npos, said.find("that path came from ")) << said;
    EXPECT_NE(std::string::npos, said.find("CORVANTIDE_PLUGIN")) << said;
    // A library named on the command line is only that.
    EXPECT_EQ("corvantide-sim: cannot load the plug-in " + missing + ": not found\n", CheckPlugin(missing));
}

TEST_F(UserMessages, RunAndDemoWithoutThePluginSayWhereTheyLookedAndLeaveNoFolder) {
    const std::string missing = (folder_.Path() / "moved-away" / kLibraryName).string();
    const PluginVariable variable(missing);
    const fs::path scene = fs::path(CORVANTIDE_SOURCE_DIR) / "examples" / "keyed-item.json";
    const fs::path runOut = folder_.Path() / "run-out";
    const fs::path demoOut = folder_.Path() / "demo-out";
    std::ostringstream out, runErr, demoErr;
    EXPECT_EQ(kExitUsage, RunScene(scene.string(), runOut.string(), out, runErr));
    EXPECT_EQ(kExitUsage, RunDemo(demoOut.string(), out, demoErr));
    for (const std::string& said : {runErr.str(), demoErr.str()}) {
        EXPECT_EQ(0U, said.find("corvantide-sim: cannot load the plug-in " + missing + ": not found\n"))
            << said;
        EXPECT_NE(std::string::npos, said.find("came from")) << said;
    }
    EXPECT_FALSE(fs::exists(runOut));
    EXPECT_FALSE(fs::exists(demoOut));
    EXPECT_EQ("", out.str());
}

TEST_F(UserMessages, OneOfAnythingIsSingular) {
    EXPECT_EQ("1 unit", WithUnit("1", " units"));
    EXPECT_EQ("1 degree", WithUnit("1", " degrees"));
    EXPECT_EQ("1.5 units", WithUnit("1.5", " units"));
    EXPECT_EQ("1", WithUnit("1", ""));

    // A file whose Position X has one key at 1, plotted alone.
    std::string text = "LWMO\n3\n\nNumChannels 9\n";
    text += ChannelBlock(0,
                         "{ Envelope\n  1\n"
                         "  Key 1.000000 0.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                         "  Behaviors 1 1\n}\n");
    for (int channel = 1; channel < 9; ++channel) text += ChannelBlock(channel, kPlaceholderBody);
    const fs::path motion = folder_.Path() / "One.mot";
    WriteBytes(motion, text);
    std::ostringstream out, err;
    ASSERT_EQ(kExitOk, RunPlot(motion.string(), "", out, err)) << err.str();
    EXPECT_NE(std::string::npos, out.str().find("\n  Position X: 1 key, all 1 unit\n")) << out.str();

    // A scene of one item.
    const fs::path scene = fs::path(CORVANTIDE_SOURCE_DIR) / "examples" / "keyed-item.json";
    std::ostringstream told;
    ASSERT_EQ(kExitOk, RunScene(scene.string(), (folder_.Path() / "out").string(), told, err, false, false))
        << err.str();
    EXPECT_NE(std::string::npos, told.str().find("\nScene: 1 item, frames 0 to 30")) << told.str();
}

TEST(CountsAndColumns, TheSummaryLinesUpUnderNamesOfAnyScript) {
    ChannelFidelity exact;
    exact.deviation.compared = 1;
    const std::vector<FileFidelity> files = {{"Würfel_Ä.mot", "keys, Local", 0, 1, {exact}},
                                             {"表示.mot", "keys, Local", 0, 1, {exact}},
                                             {"Box.mot", "every frame, World", 0, 1, {exact}}};
    std::ostringstream out;
    PrintSummary(files, out);
    EXPECT_EQ(
        "  Würfel_Ä.mot  keys, Local         exact\n"
        "  表示.mot        keys, Local         exact\n"
        "  Box.mot       every frame, World  exact\n",
        out.str());
}

TEST_F(UserMessages, SceneActionsAreNumberedFromOneAsTheRunNumbersItsSteps) {
    const fs::path scene = folder_.Path() / "scene.json";
    WriteBytes(scene, R"({"items": [{"name": "Box"}], "actions": [
        {"do": "showPanel"}, {"do": "select", "item": "Box"}, {"do": "press", "button": "Export"}]})");
    std::ostringstream out, err;
    EXPECT_EQ(kExitUsage, RunScene(scene.string(), (folder_.Path() / "out").string(), out, err));
    EXPECT_EQ(0U, err.str().find(scene.string() + ": action 3, button: \"Export\" is not a button"))
        << err.str();
}

TEST_F(UserMessages, AControlUsedBeforeThePanelWasShownOpensItFirstAndSaysSo) {
    const fs::path scene = folder_.Path() / "scene.json";
    WriteBytes(scene, R"({"items": [{"name": "Box", "keys": [{"frame": 0, "values": {"position.x": 1}}]}],
        "actions": [{"do": "select", "item": "Box"}, {"do": "type", "field": "path", "text": "Box"},
                    {"do": "press", "button": "Export Current Motion"}]})");
    const fs::path out = folder_.Path() / "out";
    std::ostringstream told, err;
    EXPECT_EQ(kExitOk, RunScene(scene.string(), out.string(), told, err, false, false)) << err.str();
    EXPECT_EQ("", err.str());  // the host saw nothing wrong
    EXPECT_NE(std::string::npos, told.str().find("  2. Type \"Box\" into the path field\n"
                                                 "      the panel was not open: the host opened it first, as "
                                                 "\"showPanel\" does\n"))
        << told.str();
    EXPECT_TRUE(fs::exists(out / "Box.mot"));
}

}  // namespace
}  // namespace corvantide_test
