// The start-up phases as the host may send them: the state they leave
// before any panel exists, and phase 2 a second time.
#include "entry/plugin_state.h"
#include "host/text_buffer.h"
#include "host_names.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

class StartupState : public LinkedPlugin {};

TEST_F(StartupState, BeforeTheFirstPanelTheMotionFormatNamesAreSixNullEntries) {
    for (std::size_t i = 0; i < 6; ++i) EXPECT_STREQ("NULL", corvantide::MotionFormatNames[i]) << i;
    EXPECT_EQ(nullptr, corvantide::MotionFormatNames[6]);
    EXPECT_STREQ("Local", corvantide::CoordinateNames[0]);
    EXPECT_STREQ("World", corvantide::CoordinateNames[1]);
    EXPECT_EQ(nullptr, corvantide::CoordinateNames[2]);
}

TEST_F(StartupState, PhaseTwoSentAgainRebindsEveryNameAndResetsTheStateAgain) {
    ASSERT_TRUE(corvantide::CopyText(corvantide::BatchDirectory, corvantide::kBatchTextCapacity, "C:\\Out"));
    ASSERT_TRUE(
        corvantide::CopyText(corvantide::BatchRequesterPath, corvantide::kBatchTextCapacity, "C:\\Out\\x"));
    corvantide::UseBatchDirectory = 1;
    corvantide::UseCurrentData = 0;
    corvantide::PanelShown = 1;
    corvantide::MotionFormatNames[0] = "LightWave";
    host.ClearLookups();

    host.SendStartupPhase(2);

    EXPECT_EQ(kPhaseTwoNames, host.Lookups());
    EXPECT_STREQ("", corvantide::BatchDirectory);
    EXPECT_STREQ("", corvantide::BatchRequesterPath);
    EXPECT_EQ(0, corvantide::UseBatchDirectory);
    EXPECT_EQ(1, corvantide::UseCurrentData);
    EXPECT_EQ(0, corvantide::PanelShown);
    EXPECT_STREQ("NULL", corvantide::MotionFormatNames[0]);
    EXPECT_EQ(nullptr, corvantide::PanelControls.statusArea);
}

}  // namespace
}  // namespace corvantide_test
