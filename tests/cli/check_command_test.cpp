// corvantide-sim check and plot on files a pipeline engineer would hand it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands.h"
#include "motfile/motion_texts.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using corvantide::cli::RunCheck;
using corvantide::cli::RunPlot;

class MotionFileCommands : public testing::Test {
protected:
    void SetUp() override { folder_ = root_.Path(); }

    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    TestFolder root_;
    fs::path folder_;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(MotionFileCommands, CheckSummarisesAGoodFile) {
    const std::string path = Write("Hips.mot", KeyedItemFile());
    EXPECT_EQ(0, RunCheck(path, out, err));
    EXPECT_EQ("", err.str());
    const std::string summary = out.str();
    EXPECT_NE(std::string::npos, summary.find("motion file, 9 channels, keys from 0.000000 s to 1.000000 s"));
    EXPECT_NE(std::string::npos, summary.find("Channel 0  Position X    3 keys"));
    EXPECT_NE(std::string::npos, summary.find("Channel 1  Position Y    no keys"));
    EXPECT_NE(std::string::npos, summary.find("behaviours Oscillate, Repeat"));
}

TEST_F(MotionFileCommands, CheckAcceptsTheZoomFileAndAKeylessItem) {
    EXPECT_EQ(0, RunCheck(Write("Cam_ZoomFactor.mot", kZoomFile), out, err));
    EXPECT_NE(std::string::npos, out.str().find("single envelope, keys from 0.000000 s to 2.000000 s"));
    EXPECT_NE(std::string::npos, out.str().find("Zoom Factor"));
    EXPECT_EQ(0, RunCheck(Write("Empty.mot", PlaceholderOnlyFile()), out, err));
    EXPECT_NE(std::string::npos, out.str().find("9 channels, no keys"));
}

TEST_F(MotionFileCommands, CheckNamesTheFileLineAndReasonOfAFault) {
    std::string text = KeyedItemFile();
    text.replace(text.find("2.500000"), 8, "2,500000");
    const std::string path = Write("Bad.mot", text);
    EXPECT_EQ(1, RunCheck(path, out, err));
    EXPECT_EQ(path + ":9: decimal comma in \"2,500000\" (numbers use '.')\n", err.str());
    EXPECT_EQ("", out.str());
}

TEST_F(MotionFileCommands, CheckReportsWarningsButPasses) {
    const std::string text =
        "{ Envelope\n  2\n  Key 1 0.5 0 0 0 0 0 0 0\n  Key 2 0.5 0 0 0 0 0 0 0\n  Behaviors 1 "
        "1\n}\n";
    const std::string path = Write("Twice.mot", text);
    EXPECT_EQ(0, RunCheck(path, out, err));
    EXPECT_EQ(path + ":4: warning: two keys at the same time 0.500000\n", err.str());
}

TEST_F(MotionFileCommands, AMissingFileIsAUsageError) {
    EXPECT_EQ(2, RunCheck((folder_ / "absent.mot").string(), out, err));
    EXPECT_NE(std::string::npos, err.str().find("cannot read"));
    EXPECT_EQ(2, RunCheck(folder_.string(), out, err));  // a folder
}

TEST_F(MotionFileCommands, PlotWritesTheSvgBesideTheFile) {
    const std::string path = Write("Hips.mot", KeyedItemFile());
    EXPECT_EQ(0, RunPlot(path, "", out, err)) << err.str();
    const fs::path svg = folder_ / "Hips.svg";
    ASSERT_TRUE(fs::exists(svg));
    // Alone, the file has no host motion to be measured against; its key values are told in shown units.
    EXPECT_EQ(0U, out.str().rfind("wrote " + svg.string() + "\nNothing to compare: ", 0)) << out.str();
    EXPECT_NE(std::string::npos, out.str().find("\n  Position X: 3 keys, from -1.25 to 2.5 units\n"));
    EXPECT_NE(std::string::npos, out.str().find("\n  Heading: 2 keys, from 0 to 90 degrees\n"));
    EXPECT_NE(std::string::npos, out.str().find("\n  Position Y: no keys\n"));
    std::ifstream stream(svg);
    const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, text.find(">Hips.mot<"));
    EXPECT_NE(std::string::npos, text.find("</svg>"));
    EXPECT_FALSE(fs::exists(folder_ / "Hips.svg.part"));
}

TEST_F(MotionFileCommands, PlotRefusesBrokenFilesAndNeverOverwritesTheMotionFile) {
    const std::string bad = Write("Bad.mot", "LWMO\n4\n");
    EXPECT_EQ(1, RunPlot(bad, "", out, err));
    EXPECT_FALSE(fs::exists(folder_ / "Bad.svg"));

    const std::string good = Write("Good.mot", KeyedItemFile());
    EXPECT_EQ(2, RunPlot(good, good, out, err));
    EXPECT_EQ(2, RunPlot(good, (folder_ / "." / "Good.mot").string(), out, err));
    std::ifstream stream(good);
    EXPECT_EQ("LWMO", std::string((std::istreambuf_iterator<char>(stream)), {}).substr(0, 4));

    // Another motion file is never replaced by a picture either.
    const std::string other = Write("Other.mot", KeyedItemFile());
    std::ostringstream refused;
    EXPECT_EQ(2, RunPlot(good, other, out, refused));
    EXPECT_NE(std::string::npos, refused.str().find("would replace the motion file " + other));
    std::ifstream otherStream(other);
    EXPECT_EQ("LWMO", std::string((std::istreambuf_iterator<char>(otherStream)), {}).substr(0, 4));
}

TEST_F(MotionFileCommands, PlotMakesTheFolderOfItsPicture) {
    const std::string good = Write("Good.mot", KeyedItemFile());
    EXPECT_EQ(0, RunPlot(good, (folder_ / "pics" / "deeper" / "x.svg").string(), out, err)) << err.str();
    EXPECT_TRUE(fs::exists(folder_ / "pics" / "deeper" / "x.svg"));
}

}  // namespace
}  // namespace corvantide_test
