// The plug-in's own allocations (the buffers of a file request) refused one
// at a time: the user is told, nothing changes, and every buffer that was
// granted goes back.
#include <functional>
#include <string>

#include "entry/plugin_state.h"
#include "linked_plugin.h"
#include "panel/build_panel.h"
#include "panel_user.h"

namespace corvantide_test {
namespace {

class OwnAllocations : public LinkedPlugin {
protected:
    void SetUp() override {
        LinkedPlugin::SetUp();
        arm = host.Scene().AddItem("Arm");
        host.SetCurrentItem(arm);
        ASSERT_EQ(1, corvantide::BuildPanel(nullptr, nullptr, nullptr, nullptr));
        user.ShowPanel();
    }
    void TearDown() override {
        user.ItemRemoved(arm);  // gives back the item's path buffers and record
        LinkedPlugin::TearDown();
    }
    static std::string TextOf(const char* text) { return text != nullptr ? text : "(no buffer)"; }

    // Presses the button with allocation n refused, until one press needs no
    // more allocations than were granted; returns how many a press takes.
    std::uint64_t SweepPress(const std::string& button, const std::string& chosenDirectory,
                             const std::string& result, const std::function<std::string()>& kept) {
        const std::string before = kept();
        std::uint64_t n = 1;
        for (;; ++n) {
            host.Ui().ClearMessages();
            const std::size_t requests = host.Ui().RequesterCalls().size();
            const std::uint64_t madeBefore = OwnAllocationsMade();
            FailOwnAllocation(n);
            user.AnswerRequester(true, chosenDirectory, result);
            user.Press(button);
            FailOwnAllocation(0);
            EXPECT_EQ(0, OwnBlocksOutstanding()) << button << ", allocation " << n;
            if (host.Ui().Messages().empty()) {
                EXPECT_EQ(n - 1, OwnAllocationsMade() - madeBefore);
                break;
            }
            EXPECT_EQ("Couldn't allocate storage data.", host.Ui().Messages()[0].line1);
            EXPECT_EQ(requests, host.Ui().RequesterCalls().size()) << "no requester without its buffers";
            EXPECT_EQ(before, kept()) << button << ", allocation " << n;
            EXPECT_LE(n, 3u);
            if (n > 3) break;
        }
        return n - 1;
    }

    void* arm = nullptr;
    simhost::PanelUser user{host};
};

TEST_F(OwnAllocations, TheBatchPathButtonWithoutItsBuffersChangesNothing) {
    user.TypeBatchPath("D:\\kept");
    const auto kept = [this] { return user.BatchPathText() + "|" + corvantide::BatchDirectory; };
    EXPECT_EQ(3u, SweepPress("Batch Path", "D:\\chosen", "", kept));
    EXPECT_EQ("D:\\chosen", user.BatchPathText());
}

TEST_F(OwnAllocations, ThePathButtonWithoutItsBuffersChangesNothing) {
    user.TypePath("C:\\kept");
    const auto kept = [this] {
        return user.PathText() + "|" + TextOf(corvantide::FindSettings(arm)->destinationPath);
    };
    EXPECT_EQ(3u, SweepPress("Path", "C:\\", "C:\\chosen", kept));
    EXPECT_EQ("C:\\chosen", user.PathText());
}

}  // namespace
}  // namespace corvantide_test
