// Reading the status area's texts back: every text the panel composes reads
// as what was composed, and nothing else passes for one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/plugin_limits.h"
#include "panel/status_area.h"
#include "panel/status_text.h"

namespace corvantide_test {
namespace {

using corvantide::ReadStatusText;
using corvantide::StatusKind;

std::string Composed(const char* message, std::int32_t frame, std::int32_t total, std::int32_t mode) {
    char text[corvantide::kStatusTextCapacity];
    corvantide::ComposeStatusText(text, message, frame, total, mode);
    return text;
}

TEST(StatusReading, ProgressReadsAsTheItemItsModeAndItsNumbers) {
    struct Case {
        const char* name;
        std::int32_t frame, total, mode;
    };
    for (const Case& c : {Case{"Hips", 3, 10, corvantide::kProgressComputing},
                          Case{"Hand_World", 1, 1, corvantide::kProgressSaving},
                          Case{"Box", -5, INT32_MIN, corvantide::kProgressComputing},
                          Case{"Cam: left\tside", INT32_MAX, 0, corvantide::kProgressComputing}}) {
        const std::string text = Composed(c.name, c.frame, c.total, c.mode);
        const corvantide::StatusReading reading = ReadStatusText(text);
        EXPECT_EQ(StatusKind::kProgress, reading.kind) << text;
        EXPECT_EQ(c.name, reading.message) << text;
        EXPECT_EQ(c.mode, reading.mode) << text;
        EXPECT_EQ(c.frame, reading.frame) << text;
        EXPECT_EQ(c.total, reading.total) << text;
    }
}

TEST(StatusReading, TheIdleTextAMessageAndTheAbortTextAreToldApart) {
    EXPECT_EQ(StatusKind::kIdle, ReadStatusText(Composed(nullptr, 3, 10, 0)).kind);
    EXPECT_TRUE(ReadStatusText(Composed(nullptr, 3, 10, 0)).message.empty());

    const std::string failure = Composed("Couldn't write Box.mot: the disk is full", 0, 0, 2);
    EXPECT_EQ(StatusKind::kMessage, ReadStatusText(failure).kind);
    EXPECT_EQ("Couldn't write Box.mot: the disk is full", ReadStatusText(failure).message);

    // The abort text of one item, with its "Saving Motion Frame: 0 of 0." line.
    const std::string aborted = Composed(corvantide::kAbortMessage, 0, 0, corvantide::kProgressSaving);
    EXPECT_EQ(StatusKind::kAborted, ReadStatusText(aborted).kind);
    EXPECT_EQ(corvantide::kAbortMessage, ReadStatusText(aborted).message);
    // A batch's abort, with the files that failed before it on the next line.
    const std::string batchAborted =
        Composed("Motion File Generation Aborted.\nCouldn't write 1 of 3 files: Arm.mot", 0, 0, 2);
    EXPECT_EQ(StatusKind::kAborted, ReadStatusText(batchAborted).kind);
    // A message that only begins like the abort text is a message.
    EXPECT_EQ(StatusKind::kMessage,
              ReadStatusText(Composed("Motion File Generation Aborted. Twice", 0, 0, 2)).kind);
}

TEST(StatusReading, AMessageOfSeveralLinesIsOneMessageNamedByItsFirstLine) {
    const std::string text = Composed("Couldn't write 2 of 6 files:\nBad.mot, Cam_ZoomFactor.mot", 0, 0, 2);
    const corvantide::StatusReading reading = ReadStatusText(text);
    EXPECT_EQ(StatusKind::kMessage, reading.kind);
    EXPECT_EQ("Couldn't write 2 of 6 files:", reading.message);
    // A second line that is no progress line leaves a message a message.
    EXPECT_EQ(StatusKind::kMessage, ReadStatusText("Info  Box\nComputing Frames: 3 of 10.").kind);
    EXPECT_EQ(StatusKind::kMessage, ReadStatusText("Info  Box").kind);  // no line break at all
    EXPECT_EQ(StatusKind::kMessage, ReadStatusText("Info  \n").kind);   // an empty message
}

TEST(StatusReading, AProgressLineCutAtTheTextsCapacityIsStillProgress) {
    // The longest name whose progress line keeps "Computing Frame: 3 of 1".
    const std::size_t room =
        corvantide::kStatusTextCapacity - 1 - (sizeof "Info  \nComputing Frame: 3 of 1" - 1);
    const std::string name(room, 'n');
    const std::string text = Composed(name.c_str(), 3, 10, corvantide::kProgressComputing);
    ASSERT_EQ(corvantide::kStatusTextCapacity - 1, text.size());
    const corvantide::StatusReading reading = ReadStatusText(text);
    EXPECT_EQ(StatusKind::kProgress, reading.kind);
    EXPECT_EQ(name, reading.message);
    EXPECT_EQ(3, reading.frame);
    EXPECT_EQ(1, reading.total);  // the number as far as it was kept

    const std::string noNumbers = "Info  Box\nComputing Frame: ";
    EXPECT_EQ(StatusKind::kProgress, ReadStatusText(noNumbers).kind);
    EXPECT_EQ(0, ReadStatusText(noNumbers).frame);
    EXPECT_EQ(0, ReadStatusText(noNumbers).total);
}

TEST(StatusReading, TextsThePanelNeverComposesAreForeign) {
    for (const char* text : {"", "Info", "Info\n", "Info \nBox", "info  Box\n", " Info  Box\n",
                             "Info\nStatus: Idle\n", "Status: Idle"}) {
        const corvantide::StatusReading reading = ReadStatusText(text);
        EXPECT_EQ(StatusKind::kForeign, reading.kind) << '"' << text << '"';
        EXPECT_TRUE(reading.message.empty()) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace corvantide_test
