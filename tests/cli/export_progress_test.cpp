// The export's progress at the terminal: one line rewritten in place, or one
// plain line per item when the output is not a terminal.
#include <gtest/gtest.h>

#include <sstream>

#include "export_progress.h"

namespace corvantide_test {
namespace {

using corvantide::cli::ExportProgress;

const char kHips1[] = "Info  Hips\nComputing Frame: 1 of 2.   (ESC to Abort)";
const char kHips2[] = "Info  Hips\nComputing Frame: 2 of 2.   (ESC to Abort)";
const char kArm1[] = "Info  Arm\nComputing Frame: 1 of 2.   (ESC to Abort)";
const char kIdle[] = "Info\nStatus: Idle";
const char kAborted[] = "Info  Motion File Generation Aborted.\nSaving Motion Frame: 0 of 0.   (ESC to Abort)";

TEST(ExportProgress, OnATerminalTheLineIsRewrittenAndEndsWithTheLastFrame) {
    simhost::SimHost host;
    std::ostringstream out;
    {
        ExportProgress progress(host, out, true, false);
        progress.OnStatus(kHips1);
        progress.OnStatus(kHips2);
        progress.OnStatus(kIdle);
    }
    const std::string shown = out.str();
    EXPECT_NE(std::string::npos, shown.find("\r      Hips: Computing Frame: 1 of 2   (Esc to abort)"));
    EXPECT_NE(std::string::npos, shown.find("\r      Hips: Computing Frame: 2 of 2   (Esc to abort)"));
    EXPECT_EQ("      Hips: Computing Frame: 2 of 2\n", shown.substr(shown.rfind('\r') + 1));
}

TEST(ExportProgress, ElsewhereEachItemGetsOnePlainLineAndAnAbortIsSaid) {
    simhost::SimHost host;
    std::ostringstream out;
    ExportProgress progress(host, out, false, false);
    progress.OnStatus(kHips1);
    progress.OnStatus(kHips2);
    progress.OnStatus(kArm1);
    progress.OnStatus(kAborted);
    EXPECT_EQ(
        "      Hips: Computing Frame: 2 of 2\n"
        "      Arm: Computing Frame: 1 of 2\n"
        "      the status area shows: \"Info  Motion File Generation Aborted.\" "
        "\"Saving Motion Frame: 0 of 0.   (ESC to Abort)\"\n",
        out.str());
    EXPECT_TRUE(progress.Failures().empty());  // the user asked for the abort
}

TEST(ExportProgress, AFailureMessageEndsTheProgressLineIsToldOnceAndCountsAsAFailure) {
    simhost::SimHost host;
    std::ostringstream out;
    ExportProgress progress(host, out, false, false);
    const char summary[] = "Info  Couldn't write 2 of 6 files: Bad.mot, Cam_ZoomFactor.mot\n";
    progress.OnStatus(kHips2);
    progress.OnStatus("Info  Couldn't write Bad.mot\n");
    progress.OnStatus(kArm1);
    progress.OnStatus(summary);
    progress.OnStatus(summary);  // a redraw of the same text
    progress.OnStatus(kIdle);
    EXPECT_EQ(
        "      Hips: Computing Frame: 2 of 2\n"
        "      the status area shows: \"Info  Couldn't write Bad.mot\"\n"
        "      Arm: Computing Frame: 1 of 2\n"
        "      the status area shows: \"Info  Couldn't write 2 of 6 files: Bad.mot, Cam_ZoomFactor.mot\"\n",
        out.str());
    EXPECT_EQ((std::vector<std::string>{"Couldn't write Bad.mot",
                                        "Couldn't write 2 of 6 files: Bad.mot, Cam_ZoomFactor.mot"}),
              progress.Failures());
}

TEST(ExportProgress, ItemsWhoseNamesShareTheirStartEachGetTheirOwnLine) {
    simhost::SimHost host;
    std::ostringstream out;
    ExportProgress progress(host, out, false, false);
    progress.OnStatus("Info  Arm: left\nComputing Frame: 2 of 2.   (ESC to Abort)");
    progress.OnStatus("Info  Arm: right\nComputing Frame: 1 of 2.   (ESC to Abort)");
    progress.OnStatus("Info  Arm: right\nComputing Frame: 2 of 2.   (ESC to Abort)");
    progress.Finish();
    EXPECT_EQ(
        "      Arm: left: Computing Frame: 2 of 2\n"
        "      Arm: right: Computing Frame: 2 of 2\n",
        out.str());
    EXPECT_TRUE(progress.Failures().empty());
}

}  // namespace
}  // namespace corvantide_test
