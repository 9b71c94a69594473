// The simulated host as the tests' user and validator at the panel.
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using SimulatedPanel = PanelSession;

TEST_F(SimulatedPanel, NamingAControlThePanelLacksIsReported) {
    OpenPanel();
    user.Press("Export Everything");
    ASSERT_EQ(1u, host.Violations().size());
    EXPECT_EQ("the panel has no control \"Export Everything\"", host.Violations()[0]);
}

TEST_F(SimulatedPanel, RemovingTheSelectedItemLeavesNoCurrentItem) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    user.SelectItem(arm);
    EXPECT_EQ(arm, host.CurrentItem());
    user.ItemRemoved(arm);
    EXPECT_EQ(nullptr, host.CurrentItem());
    EXPECT_TRUE(host.Scene().Items().empty());
    ExpectCleanHost();
}

TEST_F(SimulatedPanel, BlockNotificationsReachThePanelOnlyWhenItsFlagsAskForThem) {
    host.iOut = 48;
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    host.Ui().SetInitialBlockFlags(0);
    ASSERT_EQ(1, host.BuildPanel());
    user.ShowPanel();
    EXPECT_EQ(48, user.Value("End Frame"));  // the plug-in asked for them: Arm's record is shown
    ExpectCleanHost();
}

}  // namespace
}  // namespace corvantide_test
