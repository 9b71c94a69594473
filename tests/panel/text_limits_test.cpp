// Every text the user or the host hands the panel, one character under its
// limit, at it and one over: under and at are stored whole, over is refused
// and the earlier text kept, never cut.
#include <string>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

enum class Text {
    kTypedPath,
    kChosenPath,
    kTypedBatchDirectory,
    kChosenBatchDirectory,
    kBatchPathInBatchDirectory,
    kBatchPathBesideTheSource
};

struct LimitCase {
    Text text;
    const char* name;
    std::size_t limit;  // the longest text stored
    int delta;          // -1, 0 or +1
};

class TextLimits : public PanelSession, public testing::WithParamInterface<LimitCase> {
protected:
    void SetUp() override {
        PanelSession::SetUp();
        arm = host.Scene().AddItem("Arm");
        host.SetCurrentItem(arm);
        host.SetContentDirectory("C:\\c");
        OpenPanel();
    }
    std::string Destination() { return TextOf(SettingsOf(arm)->destinationPath); }

    void* arm = nullptr;
};

// What the panel keeps of a text of `length` characters, and what it said.
TEST_P(TextLimits, TextsUpToTheLimitAreStoredWholeAndLongerOnesRefused) {
    const LimitCase& c = GetParam();
    const std::size_t length = c.delta < 0 ? c.limit - 1 : c.limit + static_cast<std::size_t>(c.delta);
    const bool stored = c.delta <= 0;
    switch (c.text) {
        case Text::kTypedPath:
        case Text::kChosenPath: {
            user.TypePath("kept");
            user.Toggle("Disable All Output Operations", true);
            const std::string text(length, 'p');
            if (c.text == Text::kTypedPath) {
                user.TypePath(text);
            } else {
                user.AnswerRequester(true, "C:\\", text);
                user.Press("Path");
            }
            EXPECT_EQ(stored ? text : "kept", Destination());
            EXPECT_EQ(stored ? text : "kept", user.PathText());
            EXPECT_EQ(stored ? 0 : 1, SettingsOf(arm)->outputDisabled);
            if (!stored) {
                EXPECT_EQ("Info  Path not stored: longer than 1023 characters.\n", user.StatusText());
            }
            break;
        }
        case Text::kTypedBatchDirectory:
        case Text::kChosenBatchDirectory: {
            user.TypeBatchPath("kept");
            const std::string text(length, 'd');
            if (c.text == Text::kTypedBatchDirectory) {
                user.TypeBatchPath(text);
            } else {
                user.AnswerRequester(true, text, "");
                user.Press("Batch Path");
            }
            EXPECT_EQ(stored ? text : "kept", user.BatchPathText());
            if (!stored) {
                EXPECT_EQ("Info  Batch directory not stored: longer than 255 characters.\n", user.StatusText());
            }
            user.Toggle("Use Batch Directory", true);
            user.Press("Setup Batch");
            EXPECT_EQ((stored ? text : "kept") + "\\Arm", Destination());
            break;
        }
        case Text::kBatchPathInBatchDirectory:
        case Text::kBatchPathBesideTheSource: {
            std::string expected;
            void* item = nullptr;
            if (c.text == Text::kBatchPathInBatchDirectory) {
                user.TypeBatchPath("D:\\out");
                user.Toggle("Use Batch Directory", true);
                const std::string name(length - 7, 'n');
                item = host.Scene().AddItem(name);
                expected = "D:\\out\\" + name;
            } else {
                const std::string name(length - 13, 'n');  // "C:\c\Objects\" is 13
                item = host.Scene().AddItem(name, 0, "Objects\\x.lwo");
                expected = "C:\\c\\Objects\\" + name;
            }
            ASSERT_EQ(length, expected.size());
            user.Press("Setup Batch");
            const corvantide::ExportSettings* settings = SettingsOf(item);
            ASSERT_NE(nullptr, settings);
            EXPECT_EQ(stored ? expected : "", TextOf(settings->destinationPath));
            EXPECT_EQ(stored ? 0 : 1, settings->outputDisabled);
            if (!stored) {
                EXPECT_EQ("Info  Setup Batch skipped 1 item(s): path longer than 1023 characters.\n",
                          user.StatusText());
            }
            break;
        }
    }
}

std::vector<LimitCase> AllLimits() {
    const LimitCase texts[] = {
        {Text::kTypedPath, "TypedPath", 1023, 0},
        {Text::kChosenPath, "ChosenPath", 1023, 0},
        {Text::kTypedBatchDirectory, "TypedBatchDirectory", 255, 0},
        {Text::kChosenBatchDirectory, "ChosenBatchDirectory", 255, 0},
        {Text::kBatchPathInBatchDirectory, "BatchPathInBatchDirectory", 1023, 0},
        {Text::kBatchPathBesideTheSource, "BatchPathBesideTheSource", 1023, 0},
    };
    std::vector<LimitCase> cases;
    for (const LimitCase& text : texts) {
        for (int delta : {-1, 0, 1}) {
            LimitCase c = text;
            c.delta = delta;
            cases.push_back(c);
        }
    }
    return cases;
}

std::string CaseName(const testing::TestParamInfo<LimitCase>& param) {
    const LimitCase& c = param.param;
    const char* at = c.delta < 0 ? "UnderTheLimit" : (c.delta == 0 ? "AtTheLimit" : "OverTheLimit");
    return std::string(c.name) + "_" + at;
}

INSTANTIATE_TEST_SUITE_P(EveryText, TextLimits, testing::ValuesIn(AllLimits()), CaseName);

}  // namespace
}  // namespace corvantide_test
