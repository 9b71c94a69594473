// Reading back the files the exporter writes, and refusing broken ones.
#include "motfile/motion_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "motion_texts.h"

namespace corvantide_test {
namespace {

using corvantide::motfile::MotionFileKind;
using corvantide::motfile::ParseMotionText;

// Replaces the first occurrence of `from` in text.
std::string With(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The text as a Windows editor saves it.
std::string WindowsLineEnds(const std::string& text) {
    std::string saved;
    for (const char c : text) saved += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return saved;
}

TEST(MotionReader, ReadsAKeyedItemFileWithEveryField) {
    const auto result = ParseMotionText(KeyedItemFile());
    ASSERT_TRUE(result.ok) << result.error.line << ": " << result.error.reason;
    EXPECT_TRUE(result.warnings.empty());
    ASSERT_EQ(MotionFileKind::kChannels, result.file.kind);
    ASSERT_EQ(9u, result.file.envelopes.size());

    const auto& position = result.file.envelopes[0];
    EXPECT_EQ(0, position.channel);
    EXPECT_FALSE(position.placeholder);
    ASSERT_EQ(3u, position.keys.size());
    EXPECT_DOUBLE_EQ(2.5, position.keys[1].value);
    EXPECT_DOUBLE_EQ(0.5, position.keys[1].time);
    EXPECT_DOUBLE_EQ(0.3, position.keys[1].params[0]);
    EXPECT_DOUBLE_EQ(-0.5, position.keys[1].params[2]);
    EXPECT_DOUBLE_EQ(-1.25, position.keys[2].value);
    EXPECT_EQ(9, position.keys[1].line);

    const auto& heading = result.file.envelopes[3];
    EXPECT_EQ(3, heading.channel);
    EXPECT_EQ(2, heading.keys[0].shape);
    EXPECT_DOUBLE_EQ(0.785398, heading.keys[0].params[4]);
    EXPECT_DOUBLE_EQ(-0.392699, heading.keys[1].params[3]);
    EXPECT_EQ(3, heading.preBehaviour);
    EXPECT_EQ(2, heading.postBehaviour);

    EXPECT_TRUE(result.file.envelopes[1].placeholder);
    EXPECT_TRUE(result.file.envelopes[8].placeholder);
    EXPECT_EQ(4, result.file.envelopes[7].keys[1].shape);
    EXPECT_EQ(0, result.file.envelopes[7].preBehaviour);
    EXPECT_EQ(5, result.file.envelopes[7].postBehaviour);
}

TEST(MotionReader, ReadsASampledCameraFileOfSixChannels) {
    const auto result = ParseMotionText(SampledCameraFile());
    ASSERT_TRUE(result.ok) << result.error.line << ": " << result.error.reason;
    ASSERT_EQ(6u, result.file.envelopes.size());
    for (const auto& envelope : result.file.envelopes) {
        ASSERT_EQ(3u, envelope.keys.size());
        EXPECT_DOUBLE_EQ(0.416667, envelope.keys[0].time);
        EXPECT_EQ(0.0, envelope.keys[2].value);  // "-0.000000" is zero
    }
}

TEST(MotionReader, ReadsTheZoomFileAsOneBareEnvelope) {
    const auto result = ParseMotionText(kZoomFile);
    ASSERT_TRUE(result.ok) << result.error.line << ": " << result.error.reason;
    EXPECT_EQ(MotionFileKind::kSingleEnvelope, result.file.kind);
    ASSERT_EQ(1u, result.file.envelopes.size());
    const auto& zoom = result.file.envelopes[0];
    ASSERT_EQ(2u, zoom.keys.size());
    EXPECT_DOUBLE_EQ(3.2, zoom.keys[0].value);
    EXPECT_DOUBLE_EQ(2.0, zoom.keys[1].time);
    EXPECT_DOUBLE_EQ(0.5, zoom.keys[1].params[0]);
    EXPECT_DOUBLE_EQ(-0.25, zoom.keys[1].params[1]);
    EXPECT_DOUBLE_EQ(0.1, zoom.keys[1].params[2]);
    EXPECT_EQ(1, zoom.preBehaviour);
}

TEST(MotionReader, ReadsAnItemWithoutKeysAsPlaceholdersOnly) {
    const auto result = ParseMotionText(PlaceholderOnlyFile());
    ASSERT_TRUE(result.ok) << result.error.line << ": " << result.error.reason;
    for (const auto& envelope : result.file.envelopes) {
        EXPECT_TRUE(envelope.placeholder);
        ASSERT_EQ(1u, envelope.keys.size());
        EXPECT_EQ(0.0, envelope.keys[0].value);
    }
    EXPECT_TRUE(ParseMotionText(kPlaceholderBody).ok);
}

TEST(MotionReader, AcceptsLongFixedNumbersButWarnsOfTwoKeysAtOneTime) {
    const std::string text =
        "{ Envelope\n"
        "  2\n"
        "  Key 123456789012345678901234.000000 0.5 3 0 0 0 0 0 0\n"
        "  Key -0.1234567890123 0.5 3 0 0 0 0 0 0\n"
        "  Behaviors 1 1\n"
        "}\n";
    const auto result = ParseMotionText(text);
    ASSERT_TRUE(result.ok) << result.error.reason;
    EXPECT_DOUBLE_EQ(1.23456789012345678901234e23, result.file.envelopes[0].keys[0].value);
    ASSERT_EQ(1u, result.warnings.size());
    EXPECT_EQ(4, result.warnings[0].line);
    EXPECT_NE(std::string::npos, result.warnings[0].reason.find("same time 0.500000"));
}

struct BrokenFile {
    const char* name;
    std::string text;
    int line;
    const char* reason;  // a part of the reason given
};

class MotionReaderRefuses : public testing::TestWithParam<BrokenFile> {};

TEST_P(MotionReaderRefuses, TheBrokenLineWithItsReason) {
    const BrokenFile& broken = GetParam();
    const auto result = ParseMotionText(broken.text);
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(broken.line, result.error.line) << result.error.reason;
    EXPECT_NE(std::string::npos, result.error.reason.find(broken.reason)) << result.error.reason;
}

const std::string kGood = KeyedItemFile();
const std::string kPositionKey = "  Key 2.500000 0.500000 0 0.300000 0.000000 -0.500000 0.000000 0.000000 0\n";

INSTANTIATE_TEST_SUITE_P(
    BrokenFiles, MotionReaderRefuses,
    testing::Values(
        BrokenFile{"Empty", "", 1, "empty file"},
        BrokenFile{"MissingMagic", With(kGood, "LWMO\n", "LWM0\n"), 1, "missing \"LWMO\""},
        BrokenFile{"ByteOrderMark", "\xEF\xBB\xBF" + kGood, 1, "missing \"LWMO\""},
        BrokenFile{"WrongVersion", With(kGood, "LWMO\n3\n", "LWMO\n2\n"), 2, "unsupported version 2"},
        BrokenFile{"NoEmptyLine", With(kGood, "3\n\n", "3\n"), 3, "expected an empty line"},
        BrokenFile{"ChannelCountOfSeven", With(kGood, "NumChannels 9", "NumChannels 7"), 4,
                   "NumChannels must be 9"},
        BrokenFile{"ChannelCountMissing", With(kGood, "NumChannels 9", "NumChannels"), 4,
                   "expected \"NumChannels ...\""},
        BrokenFile{"FewerChannelsThanCounted", With(kGood, "NumChannels 9", "NumChannels 6"), 44,
                   "text after the last envelope"},
        BrokenFile{"ChannelOutOfSequence", With(kGood, "Channel 1\n", "Channel 2\n"), 13,
                   "channel 2 out of sequence (expected 1)"},
        BrokenFile{"CountAboveKeyLines", With(kGood, "  3\n", "  4\n"), 11,
                   "envelope has 3 key lines, but the count on line 7 says 4"},
        BrokenFile{"CountBelowKeyLines", With(kGood, "  3\n", "  2\n"), 10,
                   "more key lines than the count on line 7 (2)"},
        BrokenFile{"CountOfZero", With(kGood, "  3\n", "  0\n"), 7, "key count 0"},
        BrokenFile{"CountWithOneSpace", With(kGood, "  3\n", " 3\n"), 7,
                   "expected the key count after two spaces"},
        BrokenFile{"KeyWithoutIndent", With(kGood, kPositionKey, kPositionKey.substr(2)), 9,
                   "expected \"  Key ...\""},
        BrokenFile{"DoubleSpaceInKey", With(kGood, "2.500000 0.500000", "2.500000  0.500000"), 9,
                   "unexpected spacing"},
        BrokenFile{"TrailingSpaceInKey", With(kGood, "0.000000 0\n  Key -1.25", "0.000000 0 \n  Key -1.25"), 9,
                   "unexpected spacing"},
        BrokenFile{"MalformedNumber", With(kGood, "2.500000 0.5", "2.5.0000 0.5"), 9,
                   "malformed number \"2.5.0000\""},
        BrokenFile{"MissingFraction", With(kGood, "2.500000 0.5", "2. 0.5"), 9, "malformed number \"2.\""},
        BrokenFile{"Exponent", With(kGood, "2.500000 0.5", "2.5e+00 0.5"), 9,
                   "exponent notation in \"2.5e+00\""},
        BrokenFile{"DecimalComma", With(kGood, "2.500000 0.5", "2,500000 0.5"), 9,
                   "decimal comma in \"2,500000\""},
        BrokenFile{"NotANumber", With(kGood, "2.500000 0.5", "nan 0.5"), 9, "malformed number \"nan\""},
        BrokenFile{"TooFewNumbers", With(kGood, kPositionKey, "  Key 2.500000 0.500000 0\n"), 9,
                   "key line has 3 numbers, expected 9"},
        BrokenFile{"ShapeOutOfRange", With(kGood, "0.500000 0 0.3", "0.500000 6 0.3"), 9,
                   "shape 6 out of range 0..5"},
        BrokenFile{"FractionalShape", With(kGood, "0.500000 0 0.3", "0.500000 0.0 0.3"), 9,
                   "expected a whole number"},
        BrokenFile{"TimeGoesBack", With(kGood, "-1.250000 1.000000", "-1.250000 0.400000"), 10,
                   "key time 0.400000 is earlier than the previous key's 0.500000"},
        BrokenFile{"BehaviourOutOfRange", With(kGood, "Behaviors 3 2", "Behaviors 3 6"), 30,
                   "behaviour 6 out of range 0..5"},
        BrokenFile{"NegativeBehaviour", With(kGood, "Behaviors 3 2", "Behaviors -1 2"), 30,
                   "behaviour -1 out of range"},
        BrokenFile{"OneBehaviour", With(kGood, "Behaviors 3 2", "Behaviors 3"), 30, "expected two behaviours"},
        BrokenFile{"MissingOpeningBrace", With(kGood, "Channel 0\n{ Envelope", "Channel 0\nEnvelope"), 6,
                   "expected \"{ Envelope\", found \"Envelope\""},
        BrokenFile{"MissingClosingBrace",
                   With(kGood, "  Behaviors 1 1\n}\nChannel 1", "  Behaviors 1 1\nChannel 1"), 12,
                   "expected \"}\", found \"Channel 1\""},
        BrokenFile{"SavedWithWindowsLineEnds", WindowsLineEnds(kGood), 1,
                   "lines end in CR LF; the exporter writes LF only"},
        BrokenFile{"CarriageReturnInsideALine", With(kGood, "NumChannels 9\n", "NumChannels\r9\n"), 4,
                   "carriage return in line"},
        BrokenFile{"ControlBytesAreShownEscaped", With(kGood, "NumChannels 9", "NumChannels \x1b[2J\x07"), 4,
                   "malformed number \"\\x1b[2J\\x07\""},
        BrokenFile{
            "AHugeNumberIsCutWhereItIsShown",
            With(kGood, "NumChannels 9", "NumChannels " + std::string(100000, '9')), 4,
            "number out of range \"999999999999999999999999999999999999999999999999...\" (100000 characters)"},
        BrokenFile{"TrailingText", kGood + "Channel 9\n", 63, "text after the last envelope"},
        BrokenFile{"TrailingEmptyLine", kGood + "\n", 63, "text after the last envelope"},
        BrokenFile{"NoFinalLineFeed", kGood.substr(0, kGood.size() - 1), 62,
                   "last line does not end with a line feed"},
        BrokenFile{"Truncated", kGood.substr(0, kGood.find("Channel 5")), 38,
                   "file ends early: expected \"Channel 5\""},
        BrokenFile{"ZoomFileWithHeaderAfter", kZoomFile + "LWMO\n", 7, "text after the last envelope"},
        BrokenFile{"ZoomCountMismatch", With(kZoomFile, "  2\n", "  3\n"), 5, "envelope has 2 key lines"}),
    [](const testing::TestParamInfo<BrokenFile>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace corvantide_test

namespace corvantide_test {
namespace {

// Damaged copies of a good file: every one is read or refused with a line
// inside the file, and nothing read has keys out of order.
TEST(MotionReader, AnyDamageIsRefusedWithALineInsideTheFile) {
    const std::string good = kZoomFile;
    const int lines = 6;
    auto check = [&](const std::string& text) {
        const auto result = ParseMotionText(text);
        if (!result.ok) {
            EXPECT_GE(result.error.line, 1);
            EXPECT_LE(result.error.line, lines + 1) << result.error.reason;
            EXPECT_FALSE(result.error.reason.empty());
            return;
        }
        for (const auto& envelope : result.file.envelopes) {
            ASSERT_FALSE(envelope.keys.empty());
            for (std::size_t i = 1; i < envelope.keys.size(); ++i) {
                EXPECT_LE(envelope.keys[i - 1].time, envelope.keys[i].time);
            }
        }
    };
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (char c : {'\0', ' ', '\n', '\r', '9', '-', '.', 'e', ','}) {
            std::string damaged = good;
            damaged[at] = c;
            check(damaged);
        }
        check(good.substr(0, at));
    }
}

}  // namespace
}  // namespace corvantide_test
