// Bounded texts: what is copied, joined, cut or refused, and the builder
// that composes the panel's messages.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "host/text_buffer.h"
#include "host/text_builder.h"

namespace corvantide_test {
namespace {

using corvantide::TextBuilder;

TEST(TextBuffer, TextsThatNameFilesAreCopiedWholeOrNotAtAll) {
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(corvantide::CopyText(buffer, sizeof buffer, "Hips."));
    EXPECT_STREQ("Hips.", buffer);
    EXPECT_FALSE(corvantide::CopyText(buffer, sizeof buffer, "Hips.m"));
    EXPECT_STREQ("Hips.", buffer);  // unchanged
    EXPECT_FALSE(corvantide::CopyText(buffer, sizeof buffer, nullptr));

    const char* parts[] = {"C:", "out", "Hip"};
    char joined[11];
    EXPECT_TRUE(corvantide::JoinText(joined, sizeof joined, '\\', parts, 3));
    EXPECT_STREQ("C:\\out\\Hip", joined);
    const char* longer[] = {"C:", "out", "Hips"};
    EXPECT_FALSE(corvantide::JoinText(joined, sizeof joined, '\\', longer, 3));
    EXPECT_STREQ("C:\\out\\Hip", joined);
}

TEST(TextBuffer, ShownTextsAreCutAndLengthsBounded) {
    char buffer[4];
    corvantide::CopyTextCut(buffer, sizeof buffer, "Status");
    EXPECT_STREQ("Sta", buffer);
    corvantide::CopyTextCut(buffer, sizeof buffer, nullptr);
    EXPECT_STREQ("", buffer);
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(3u, corvantide::BoundedLength(unterminated, 3));
    EXPECT_EQ(0u, corvantide::BoundedLength(nullptr, 3));
    EXPECT_TRUE(corvantide::EndsWithIgnoreCase("Box.LWO", ".lwo"));
    EXPECT_FALSE(corvantide::EndsWithIgnoreCase("wo", ".lwo"));
}

TEST(TextBuilder, PartsAreAppendedAndCutAtTheCapacity) {
    char text[12];
    std::memset(text, 'x', sizeof text);
    TextBuilder builder(text, sizeof text);
    EXPECT_STREQ("", text);
    builder.Append("Frame ").Append(std::int64_t{42}).Append(nullptr).Append(" of 1000");
    EXPECT_STREQ("Frame 42 of", text);
    EXPECT_EQ(11u, builder.Length());
    builder.Append("more");
    EXPECT_STREQ("Frame 42 of", text);

    char number[21];
    TextBuilder(number, sizeof number).Append(std::numeric_limits<std::int64_t>::min());
    EXPECT_STREQ("-9223372036854775808", number);
}

TEST(TextBuilder, WholePartsKeepTheirReserveOrAreLeftOut) {
    char text[10];
    TextBuilder builder(text, sizeof text);
    EXPECT_TRUE(builder.AppendWhole("abc", 2));
    EXPECT_FALSE(builder.AppendWhole("defg", 3));  // 3 + 4 + 3 > 9
    EXPECT_STREQ("abc", text);
    EXPECT_TRUE(builder.AppendWhole("defg", 2));
    EXPECT_FALSE(builder.AppendWhole(std::int64_t{123}));
    EXPECT_TRUE(builder.AppendWhole(std::int64_t{12}));
    EXPECT_STREQ("abcdefg12", text);
    builder.CutTo(3);
    EXPECT_STREQ("abc", text);
    builder.CutTo(5);  // never longer
    EXPECT_STREQ("abc", text);
}

TEST(TextBuilder, AListCutShortEndsWithHowManyAreLeft) {
    char text[40];
    TextBuilder builder(text, sizeof text);
    builder.Append("A.mot");
    EXPECT_EQ(std::string("; and 12 more").size(), corvantide::MoreMarkLength(12));
    corvantide::AppendMoreMark(builder, 12);
    EXPECT_STREQ("A.mot; and 12 more", text);
}

TEST(TextBuilder, ContinuingGoesOnFromTheTextThereAndCutsOneWithoutItsEnd) {
    char text[8] = "abc";
    TextBuilder::Continuing(text, sizeof text).Append("defghij");
    EXPECT_STREQ("abcdefg", text);
    char full[4] = {'w', 'x', 'y', 'z'};
    TextBuilder::Continuing(full, sizeof full).Append("!");
    EXPECT_STREQ("wxy", full);
}

}  // namespace
}  // namespace corvantide_test
