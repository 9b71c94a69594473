// Where corvantide-sim's own files land: `plot --out`, the pictures of a
// session, its --out folder, and (on Linux) a plug-in file brought from its
// host name to its place. A destination that is not what they write is
// refused at once, by name, and left as it was; a link's target is written
// and the link kept; a run that wrote nothing leaves no folder behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "commands.h"
#include "motfile/motion_texts.h"
#include "motfile/utf8_path.h"
#include "test_folder.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using namespace corvantide::cli;
using corvantide::motfile::Utf8Path;

std::string TextOf(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

// Everything under `folder`, as paths relative to it.
std::set<std::string> Under(const fs::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found.insert(entry.path().lexically_relative(folder).generic_string());
    return found;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    return quoted.append(text).append("\"");
}

void MakeReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

class ToolDestinations : public testing::Test {
protected:
    void SetUp() override {
        motion_ = (root_.Path() / "Hips.mot").string();
        std::ofstream(motion_, std::ios::binary) << KeyedItemFile();
    }
    void TearDown() override {
        // A read-only file left by a test must not keep its folder from going.
        for (const auto& entry : fs::recursive_directory_iterator(root_.Path())) {
            std::error_code ignored;
            if (!entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }

    // A scene that selects Box, does the actions `before` and exports Box
    // to the typed path (JSON text) in its --out folder.
    int RunBox(const fs::path& outFolder, const std::string& before = "", const std::string& typed = "Box",
               bool pictures = true) {
        const fs::path scene = root_.Path() / "box.json";
        std::ofstream(scene, std::ios::binary)
            << R"({"items": [
            {"name": "Box", "keys": [{"frame": 0, "values": {"position.x": 0}}, {"frame": 10, "values": {"position.x": 4}}]}],
            "actions": [{"do": "showPanel"}, {"do": "select", "item": "Box"}, )"
            << before << R"({"do": "type", "field": "path", "text": ")" << typed
            << R"("}, {"do": "press", "button": "Export Current Motion"}]})";
        return RunScene(scene.string(), outFolder.string(), out_, err_, false, pictures);
    }

    TestFolder root_;
    std::string motion_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(ToolDestinations, PlotRefusesAReadOnlyPictureAndAFolderByNameAndLeavesThemAsTheyWere) {
    const fs::path readOnly = root_.Path() / "Kept.svg";
    std::ofstream(readOnly, std::ios::binary) << "<svg>earlier</svg>";
    MakeReadOnly(readOnly);
    EXPECT_EQ(kExitUsage, RunPlot(motion_, readOnly.string(), out_, err_));
    EXPECT_EQ("corvantide-sim: cannot write " + readOnly.string() + ": the file is read-only\n", err_.str());
    EXPECT_EQ("<svg>earlier</svg>", TextOf(readOnly));

    const fs::path folder = root_.Path() / "Folder.svg";
    fs::create_directories(folder / "inside");
    std::ostringstream refused;
    EXPECT_EQ(kExitUsage, RunPlot(motion_, folder.string(), out_, refused));
    EXPECT_EQ("corvantide-sim: cannot write " + folder.string() + ": a folder has that name\n", refused.str());
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_EQ("", out_.str());
}

TEST_F(ToolDestinations, APictureRefusedInAFolderPlotMadeLeavesNoFolderBehind) {
    const fs::path picture = root_.Path() / "new" / "deeper" / "Hips?.svg";
    EXPECT_EQ(kExitUsage, RunPlot(motion_, picture.string(), out_, err_));
    EXPECT_NE(std::string::npos, err_.str().find(": a file name cannot hold \"?\"")) << err_.str();
    EXPECT_FALSE(fs::exists(root_.Path() / "new"));
}

TEST_F(ToolDestinations, AnOutFolderThatIsAFileIsRefusedByNameBeforeAnythingRuns) {
    const fs::path file = root_.Path() / "notes";
    std::ofstream(file, std::ios::binary) << "mine";
    EXPECT_EQ(kExitUsage, RunBox(file / "shot"));
    const std::string inTheWay = Quoted(file.string()) + " is a file, not a folder\n";
    EXPECT_NE(std::string::npos,
              err_.str().find("cannot make the folder " + (file / "shot").string() + ": " + inTheWay))
        << err_.str();
    EXPECT_EQ("", out_.str());
    EXPECT_EQ("mine", TextOf(file));

    std::ostringstream refused;
    EXPECT_EQ(kExitUsage, RunScene((root_.Path() / "box.json").string(), file.string(), out_, refused));
    EXPECT_NE(std::string::npos, refused.str().find(inTheWay)) << refused.str();
}

TEST_F(ToolDestinations, ARunThatWritesNothingLeavesNoFolderItMade) {
    // A motion format the plug-in does not write: nothing is written.
    const fs::path outFolder = root_.Path() / "shots" / "010";
    EXPECT_EQ(kExitExportFailed, RunBox(outFolder, R"({"do": "choose", "list": "Motion Format", "entry": 1},)"))
        << out_.str();
    EXPECT_NE(std::string::npos, out_.str().find("Files written (in ")) << out_.str();
    EXPECT_FALSE(fs::exists(root_.Path() / "shots"));

    // A folder that was there before stays, empty or not.
    fs::create_directories(outFolder);
    std::ostringstream again;
    RunScene((root_.Path() / "box.json").string(), outFolder.string(), again, err_);
    EXPECT_TRUE(fs::is_directory(outFolder));
}

TEST_F(ToolDestinations, APictureFolderIsMadeOnlyForAPicture) {
    const fs::path outFolder = root_.Path() / "out";
    EXPECT_EQ(kExitOk, RunBox(outFolder, "", "Box", false)) << err_.str();
    EXPECT_EQ(std::set<std::string>{"Box.mot"}, Under(outFolder));

    EXPECT_EQ(kExitOk, RunBox(outFolder)) << err_.str();
    EXPECT_EQ((std::set<std::string>{"Box.mot", "pictures", "pictures/Box.svg"}), Under(outFolder));
}

TEST_F(ToolDestinations, AReadOnlyPictureOfASessionIsRefusedByNameAndKept) {
    const fs::path outFolder = root_.Path() / "out";
    fs::create_directories(outFolder / "pictures");
    std::ofstream(outFolder / "pictures" / "Box.svg", std::ios::binary) << "<svg>earlier</svg>";
    MakeReadOnly(outFolder / "pictures" / "Box.svg");
    EXPECT_EQ(kExitUsage, RunBox(outFolder));
    EXPECT_NE(std::string::npos,
              err_.str().find("corvantide-sim: cannot write the picture " +
                              (fs::path("pictures") / "Box.svg").string() + ": the file is read-only\n"))
        << err_.str();
    EXPECT_EQ("<svg>earlier</svg>", TextOf(outFolder / "pictures" / "Box.svg"));
    EXPECT_TRUE(fs::exists(outFolder / "Box.mot"));  // the export itself is done
}

TEST_F(ToolDestinations, APanelPictureWhereAFolderIsIsRefusedByName) {
    const fs::path outFolder = root_.Path() / "out";
    fs::create_directories(outFolder / "pictures" / "panel.svg");
    EXPECT_EQ(kExitUsage, RunBox(outFolder, R"({"do": "panelPicture", "file": "panel.svg"},)"));
    EXPECT_NE(std::string::npos, err_.str().find("cannot write the panel picture pictures" +
                                                 std::string(1, fs::path::preferred_separator) +
                                                 "panel.svg: a folder has that name\n"))
        << err_.str();
    EXPECT_TRUE(fs::is_directory(outFolder / "pictures" / "panel.svg"));
}

#if !defined(_WIN32)
TEST_F(ToolDestinations, PlotRefusesAPipeAtOnceAndWritesALinksTargetKeepingTheLink) {
    const fs::path pipe = root_.Path() / "pipe.svg";
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0644));
    EXPECT_EQ(kExitUsage, RunPlot(motion_, pipe.string(), out_, err_));  // never opened: no hang
    EXPECT_EQ(
        "corvantide-sim: cannot write " + pipe.string() + ": that name is a device or a pipe, not a file\n",
        err_.str());
    EXPECT_TRUE(fs::is_fifo(pipe));

    fs::create_directories(root_.Path() / "elsewhere");
    const fs::path target = root_.Path() / "elsewhere" / "Real.svg";
    std::ofstream(target, std::ios::binary) << "<svg>earlier</svg>";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = root_.Path() / "Link.svg";
    fs::create_symlink(fs::path("elsewhere") / "Real.svg", link);
    EXPECT_EQ(kExitOk, RunPlot(motion_, link.string(), out_, err_)) << err_.str();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(std::string::npos, TextOf(target).find("</svg>"));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
              fs::status(target).permissions());
    EXPECT_EQ((std::set<std::string>{"Real.svg"}), Under(root_.Path() / "elsewhere"));  // no temporary left
}

TEST_F(ToolDestinations, APanelPictureOntoAPipeIsRefusedAtOnce) {
    const fs::path outFolder = root_.Path() / "out";
    fs::create_directories(outFolder / "pictures");
    ASSERT_EQ(0, mkfifo((outFolder / "pictures" / "panel.svg").c_str(), 0644));
    EXPECT_EQ(kExitUsage, RunBox(outFolder, R"({"do": "panelPicture", "file": "panel.svg"},)"));
    EXPECT_NE(
        std::string::npos,
        err_.str().find("cannot write the panel picture pictures/panel.svg: that name is a device or a pipe, "
                        "not a file\n"))
        << err_.str();
    EXPECT_TRUE(fs::is_fifo(outFolder / "pictures" / "panel.svg"));
}

// The plug-in's "folder\Box.mot" is one file on Linux; the host brings it to
// "folder/Box.mot" as the plug-in's own files land.
class HostNamedFiles : public ToolDestinations {
protected:
    int ExportInto(const std::string& typed) { return RunBox(root_.Path() / "out", "", typed); }
};

TEST_F(HostNamedFiles, AReadOnlyFileInPlaceIsRefusedByNameAndKept) {
    const fs::path kept = root_.Path() / "out" / "shots" / "Box.mot";
    fs::create_directories(kept.parent_path());
    std::ofstream(kept, std::ios::binary) << "earlier";
    MakeReadOnly(kept);
    EXPECT_EQ(kExitExportFailed, ExportInto("shots\\\\Box"));
    EXPECT_NE(std::string::npos, out_.str().find("not written: shots/Box.mot: the file is read-only\n"))
        << out_.str();
    EXPECT_NE(std::string::npos,
              err_.str().find("export failed: Box.mot not written to shots: the file is read-only\n"))
        << err_.str();
    EXPECT_EQ("earlier", TextOf(kept));
    EXPECT_FALSE(fs::exists(root_.Path() / "out" / "shots\\Box.mot"));
}

TEST_F(HostNamedFiles, ALinkInPlaceLeadsToTheNewFileAndStays) {
    fs::create_directories(root_.Path() / "out" / "shots");
    fs::create_directories(root_.Path() / "library");
    const fs::path target = root_.Path() / "library" / "Box-v3.mot";
    std::ofstream(target, std::ios::binary) << "earlier";
    const fs::path link = root_.Path() / "out" / "shots" / "Box.mot";
    fs::create_symlink(target, link);
    EXPECT_EQ(kExitOk, ExportInto("shots\\\\Box")) << err_.str();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(0U, TextOf(target).rfind("LWMO", 0));
    EXPECT_EQ((std::set<std::string>{"Box-v3.mot"}), Under(root_.Path() / "library"));
}

TEST_F(HostNamedFiles, APathWithALineFeedIsShownEscapedAndTheRunEnds) {
    const fs::path folder = root_.Path() / "out" / "take\none";
    fs::create_directories(folder);
    EXPECT_EQ(kExitOk, ExportInto("take\\none\\\\Box")) << err_.str();
    EXPECT_EQ("", err_.str());
    EXPECT_TRUE(fs::exists(folder / "Box.mot"));
    const std::string told = out_.str();
    EXPECT_NE(std::string::npos, told.find("Type \"take\\none\\Box\" into the path field\n")) << told;
    EXPECT_NE(std::string::npos, told.find("      wrote take\\none/Box.mot  (the host named it")) << told;
    EXPECT_NE(std::string::npos, told.find("\n  take\\none/Box.mot: motion file, 9 channels")) << told;
}
#endif

}  // namespace
}  // namespace corvantide_test
