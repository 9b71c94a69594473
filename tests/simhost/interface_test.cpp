// The simulated host as the tests' user and validator at the panel.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using SimulatedPanel = PanelSession;

TEST_F(SimulatedPanel, NamingAControlThePanelLacksIsReported) {
    OpenPanel();
    user.Press("Export Everything");
    ASSERT_EQ(1u, host.Violations().size());
    EXPECT_EQ("the panel has no control \"Export Everything\"", host.Violations()[0]);
    EXPECT_EQ(1u, host.TakeViolations("Export Everything"));
}

// The validator itself: each check is seen to fire once, on a write or an
// answer no plug-in should make, and the record is then put right.
template <typename T>
std::vector<std::string> FindingsAfterWriting(simhost::SimHost& host, void* record, std::size_t offset,
                                              T value) {
    T saved{};
    auto* at = static_cast<unsigned char*>(record) + offset;
    std::memcpy(&saved, at, sizeof saved);
    std::memcpy(at, &value, sizeof value);
    std::vector<std::string> findings = host.Audit();
    std::memcpy(at, &saved, sizeof saved);
    return findings;
}

TEST_F(SimulatedPanel, ABytePastTheModuleNameIsReportedButTheNameItselfIsThePluginsToWrite) {
    const auto past = FindingsAfterWriting<char>(host, host.ModuleRecord(), 0x28 + 11, '\0');
    ASSERT_EQ(1u, past.size());
    EXPECT_EQ("the plug-in wrote 1 byte(s) of the module record at 0x33, outside the fields it owns", past[0]);
    EXPECT_TRUE(FindingsAfterWriting<char>(host, host.ModuleRecord(), 0x28 + 10, 'x').empty());
}

TEST_F(SimulatedPanel, WritesIntoTheHostsOtherRecordsAreReported) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    void* block = host.Ui().LastBlock()->record;
    void* control = host.Ui().ControlByLabel("Begin Frame")->record;
    const std::pair<void*, std::string> records[] = {
        {host.HostInterfaceRecord(), "host interface record"},
        {host.StateRecord(), "host state record"},
        {arm, "record of item \"Arm\""},
        {block, "record of block \"Corvantide\""},
        {control, "record of control \"Begin Frame\" (Int)"},
    };
    for (const auto& [record, name] : records) {
        const auto findings = FindingsAfterWriting<std::uint32_t>(host, record, 40, 0);
        ASSERT_EQ(1u, findings.size()) << name;
        EXPECT_NE(std::string::npos, findings[0].find(name)) << findings[0];
    }
    // The block's flag word is the plug-in's, as long as the host's bits stay.
    EXPECT_TRUE(FindingsAfterWriting<std::uint64_t>(host, block, 16, 0xc00005).empty());
    EXPECT_EQ(1u, FindingsAfterWriting<std::uint64_t>(host, block, 16, 0xc00000).size());
}

std::int64_t AnswersOne(void*, void*, void*, std::uint64_t) { return 1; }

TEST_F(SimulatedPanel, ACallbackAnsweringOtherThanZeroIsReported) {
    host.Ui().SetInitialBlockFlags(0x800000);
    host.Ui().BlockCreate("Probe", "", 0, AnswersOne);
    user.ShowPanel();
    ASSERT_EQ(1u, host.Violations().size());
    EXPECT_EQ("block \"Probe\" callback answered 1 to code 8388608", host.Violations()[0]);
    EXPECT_EQ(1u, host.TakeViolations("answered 1"));
}

TEST_F(SimulatedPanel, RemovingTheSelectedItemLeavesNoCurrentItem) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    user.SelectItem(arm);
    EXPECT_EQ(arm, host.CurrentItem());
    user.ItemRemoved(arm);
    EXPECT_EQ(nullptr, host.CurrentItem());
    EXPECT_TRUE(host.Scene().Items().empty());
}

TEST_F(SimulatedPanel, BlockNotificationsReachThePanelOnlyWhenItsFlagsAskForThem) {
    host.iOut = 48;
    void* arm = host.Scene().AddItem("Arm");
    host.SetCurrentItem(arm);
    host.Ui().SetInitialBlockFlags(0);
    ASSERT_EQ(1, host.BuildPanel());
    user.ShowPanel();
    EXPECT_EQ(48, user.Value("End Frame"));  // the plug-in asked for them: Arm's record is shown
}

}  // namespace
}  // namespace corvantide_test
