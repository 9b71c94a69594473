// The user edits the current item's frame range and offset.
#include <climits>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

class FrameRange : public PanelSession {
protected:
    void SetUp() override {
        PanelSession::SetUp();
        arm = host.Scene().AddItem("Arm");
        host.SetCurrentItem(arm);
        OpenPanel();
        settings = SettingsOf(arm);
        ASSERT_NE(nullptr, settings);
    }
    void* arm = nullptr;
    corvantide::ExportSettings* settings = nullptr;
};

TEST_F(FrameRange, ABeginFramePastTheEndBecomesTheEnd) {
    user.Type("End Frame", 100);
    user.Type("Begin Frame", 150);
    EXPECT_EQ(100, settings->beginFrame);
    EXPECT_EQ(100, user.Value("Begin Frame"));
    EXPECT_EQ(100, user.Value("End Frame"));
}

TEST_F(FrameRange, ANegativeEndLetsABeginFramePastItBecomeZero) {
    settings->beginFrame = -10;
    user.Type("End Frame", -5);
    user.Type("Begin Frame", 10);
    EXPECT_EQ(0, settings->beginFrame);
    EXPECT_EQ(-5, settings->endFrame);  // begin ends up past the end, as the host's panel always did
    EXPECT_EQ(0, user.Value("Begin Frame"));
    EXPECT_EQ(-5, user.Value("End Frame"));
}

// A begin equal to the end is a one-frame range, whatever the end's sign.
TEST_F(FrameRange, ABeginFrameEqualToTheEndIsKeptEvenWhenBothAreNegative) {
    for (std::int32_t end : {-5, 0, 40}) {
        settings->beginFrame = end - 10;
        settings->frameOffset = 50;
        user.Type("End Frame", end);
        user.Type("Begin Frame", end);
        EXPECT_EQ(end, settings->beginFrame) << end;
        EXPECT_EQ(end, settings->endFrame) << end;
        EXPECT_EQ(end, user.Value("Begin Frame")) << end;
        EXPECT_EQ(end, user.Value("End Frame")) << end;
    }
}

TEST_F(FrameRange, AnEndFrameBeforeTheBeginBecomesTheBeginButTheBeginItselfIsAccepted) {
    user.Type("Begin Frame", 20);
    user.Type("End Frame", 10);
    EXPECT_EQ(20, settings->endFrame);
    EXPECT_EQ(20, user.Value("End Frame"));
    user.Type("End Frame", 20);
    EXPECT_EQ(20, settings->endFrame);
}

TEST_F(FrameRange, AnOffsetTakingTheBeginBelowZeroIsResetWhenTheBeginChangesButStoredWhenTyped) {
    user.Type("Offset", -30);
    EXPECT_EQ(-30, settings->frameOffset);
    user.Type("Begin Frame", 10);
    EXPECT_EQ(0, settings->frameOffset);
    EXPECT_EQ(0, user.Value("Offset"));
    user.Type("Offset", -30);
    EXPECT_EQ(-30, settings->frameOffset);
    // The end frame leaves the offset alone.
    user.Type("End Frame", 40);
    EXPECT_EQ(-30, settings->frameOffset);
    // A sum of exactly zero is not below zero.
    user.Type("Begin Frame", 30);
    EXPECT_EQ(-30, settings->frameOffset);
}

TEST_F(FrameRange, BeginPlusOffsetWrapsAsSignedThirtyTwoBitArithmetic) {
    user.Type("End Frame", INT32_MAX);
    user.Type("Offset", 1);
    user.Type("Begin Frame", INT32_MAX);  // INT32_MAX + 1 wraps below zero
    EXPECT_EQ(INT32_MAX, settings->beginFrame);
    EXPECT_EQ(0, settings->frameOffset);

    user.Type("Offset", INT32_MIN);
    user.Type("Begin Frame", INT32_MAX);  // INT32_MAX + INT32_MIN = -1
    EXPECT_EQ(0, settings->frameOffset);

    user.Type("Offset", INT32_MAX);
    user.Type("Begin Frame", 0);  // no wrap: stays
    EXPECT_EQ(INT32_MAX, settings->frameOffset);

    user.Type("Offset", INT32_MIN);
    user.Type("Begin Frame", -1);  // -1 + INT32_MIN wraps to INT32_MAX: not below zero
    EXPECT_EQ(INT32_MIN, settings->frameOffset);
}

TEST_F(FrameRange, ListsAndTogglesStoreTheirValuesButIgnoreTheHostsOtherNotifications) {
    user.Choose("Coordinates", 1);
    user.Toggle("Freeze Motion", true);
    user.Choose("Motion Format", 0);
    user.Toggle("Disable All Output Operations", false);
    EXPECT_EQ(1, settings->coordinates);
    EXPECT_EQ(1, settings->freezeMotion);
    EXPECT_EQ(0, settings->outputDisabled);
    EXPECT_EQ("World", user.ShownEntry("Coordinates"));

    // The host also notifies toggles and lists with other codes: those change nothing.
    user.Find("Coordinates")->value = 0;
    user.Find("Freeze Motion")->value = 0;
    host.ClearUpdates();
    EXPECT_EQ(0, user.Notify("Coordinates", 3));
    EXPECT_EQ(0, user.Notify("Freeze Motion", 0x20));
    EXPECT_EQ(0, user.Notify("SeparatorLine", 0));
    EXPECT_EQ(1, settings->coordinates);
    EXPECT_EQ(1, settings->freezeMotion);
    EXPECT_TRUE(host.Updates().empty());
}

TEST_F(FrameRange, WithNoCurrentItemTheFieldsOnlyAskTheHostToRefresh) {
    settings->endFrame = 77;
    host.SetCurrentItem(nullptr);
    host.ClearUpdates();
    user.Type("Begin Frame", 5);
    user.Type("End Frame", 9);
    user.Type("Offset", 3);
    user.Toggle("Freeze Motion", true);
    user.Choose("Coordinates", 1);
    user.Toggle("Disable All Output Operations", false);
    EXPECT_EQ(std::vector<std::int32_t>(6, 0x9400), host.Updates());
    EXPECT_EQ(77, settings->endFrame);
    EXPECT_EQ(0, settings->frameOffset);
    EXPECT_EQ(1, settings->outputDisabled);
}

}  // namespace
}  // namespace corvantide_test
