// The status area's texts: idle, a message, and progress lines.
#include <cstring>
#include <string>

#include "entry/plugin_state.h"
#include "linked_plugin.h"
#include "panel/status_area.h"

namespace corvantide_test {
namespace {

std::string Composed(const char* message, std::int32_t frame, std::int32_t total, std::int32_t mode) {
    char text[corvantide::kStatusTextCapacity];
    corvantide::ComposeStatusText(text, message, frame, total, mode);
    return text;
}

TEST(StatusText, ANullMessageIsTheIdleTextWhateverTheRest) {
    for (std::int32_t mode : {0, 1, 2, -7}) EXPECT_EQ("Info\nStatus: Idle", Composed(nullptr, 3, 10, mode));
}

TEST(StatusText, MessagesWithProgressLinesAndAlone) {
    EXPECT_EQ("Info  Box\nComputing Frame: 3 of 10.   (ESC to Abort)", Composed("Box", 3, 10, 0));
    EXPECT_EQ("Info  Motion File Generation Aborted.\nSaving Motion Frame: 0 of 0.   (ESC to Abort)",
              Composed("Motion File Generation Aborted.", 0, 0, 1));
    EXPECT_EQ("Info  Box\n", Composed("Box", 3, 10, 2));
    EXPECT_EQ("Info  Box\nComputing Frame: -5 of -2147483648.   (ESC to Abort)",
              Composed("Box", -5, INT32_MIN, 0));
}

TEST(StatusText, AMessageTooLongForTheTextIsCutWithinItsBuffer) {
    const std::string message(5000, 'm');
    char text[corvantide::kStatusTextCapacity + 8];
    std::memset(text, '#', sizeof text);
    corvantide::ComposeStatusText(text, message.c_str(), 1, 2, 0);
    EXPECT_EQ(corvantide::kStatusTextCapacity - 1, std::strlen(text));
    EXPECT_EQ('#', text[corvantide::kStatusTextCapacity]);
}

class StatusArea : public LinkedPlugin {};

TEST_F(StatusArea, EveryTextIsShownAndRedrawnAtOnce) {
    corvantide::SetStatusText("Box", 1, 2, 0);
    corvantide::SetStatusIdle();
    const auto& history = host.Ui().StatusHistory();
    ASSERT_EQ(2u, history.size());
    EXPECT_EQ("Info  Box\nComputing Frame: 1 of 2.   (ESC to Abort)", history[0]);
    EXPECT_EQ("Info\nStatus: Idle", history[1]);
    EXPECT_EQ(2, host.Ui().ControlOfType("AreaText")->redraws);

    corvantide::PanelControls.statusArea = nullptr;  // no panel: nothing reaches the host
    corvantide::SetStatusIdle();
    EXPECT_EQ(2u, history.size());
}

}  // namespace
}  // namespace corvantide_test
