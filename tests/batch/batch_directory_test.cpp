// The user gives the batch directory, typed or chosen, and flips the two
// batch toggles.
#include "entry/plugin_state.h"
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

using BatchDirectory = PanelSession;

TEST_F(BatchDirectory, TheBatchPathButtonAsksTheRequesterAndTakesTheChosenDirectory) {
    OpenPanel();
    user.AnswerRequester(true, "D:\\out", "D:\\out\\ignored");
    user.Press("Batch Path");
    ASSERT_EQ(1u, host.Ui().RequesterCalls().size());
    const simhost::RequesterCall& call = host.Ui().RequesterCalls()[0];
    EXPECT_EQ(100000, call.resultSize);
    EXPECT_EQ("(none)", call.suggestedName);
    EXPECT_EQ(512, call.nameArgument);
    EXPECT_EQ("", call.rememberedPath);
    EXPECT_EQ("Select Destination With Base Name", call.title);
    EXPECT_EQ(0, call.a);
    EXPECT_EQ(1, call.b);
    EXPECT_EQ(nullptr, call.c);
    EXPECT_TRUE(call.buffersEmptyOnEntry);
    EXPECT_EQ("D:\\out", user.BatchPathText());

    // The chosen directory is remembered for the next request.
    user.CancelRequester();
    user.Press("Batch Path");
    EXPECT_EQ("D:\\out", host.Ui().RequesterCalls()[1].rememberedPath);
    EXPECT_EQ("D:\\out", user.BatchPathText());
    EXPECT_EQ(0x9400, host.Updates().back());
}

TEST_F(BatchDirectory, ADirectoryTooLongForTheBatchTextIsRefusedTypedOrChosen) {
    void* arm = host.Scene().AddItem("Arm");
    OpenPanel();
    user.AnswerRequester(true, "D:\\out", "");
    user.Press("Batch Path");

    user.AnswerRequester(true, std::string(256, 'd'), "");
    user.Press("Batch Path");
    EXPECT_EQ("D:\\out", user.BatchPathText());
    EXPECT_EQ("Info  Batch directory not stored: longer than 255 characters.\n", user.StatusText());

    user.TypeBatchPath(std::string(300, 't'));
    EXPECT_EQ("D:\\out", user.BatchPathText());  // the field shows the directory kept

    simhost::RequesterAnswer hostile;
    hostile.accept = true;
    hostile.directory = "E:\\";
    hostile.unterminated = true;
    host.Ui().QueueRequesterAnswer(hostile);
    user.Press("Batch Path");
    EXPECT_EQ("D:\\out", user.BatchPathText());

    const std::string longest(255, 'k');
    user.TypeBatchPath(longest);
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    EXPECT_EQ(longest + "\\Arm", TextOf(SettingsOf(arm)->destinationPath));
    EXPECT_EQ("D:\\out\\Arm", TextOf(SettingsOf(arm)->requesterPath));
}

TEST_F(BatchDirectory, EveryBatchControlEndsWithTheRefreshRequest) {
    OpenPanel();
    const auto refreshedOnce = [&](const char* action) {
        EXPECT_EQ(std::vector<std::int32_t>{0x9400}, host.Updates()) << action;
        host.ClearUpdates();
    };
    host.ClearUpdates();
    user.TypeBatchPath("D:\\typed");
    refreshedOnce("typing the batch path");
    user.AnswerRequester(true, "D:\\out", "");
    user.Press("Batch Path");
    refreshedOnce("choosing the batch path");
    user.CancelRequester();
    user.Press("Batch Path");
    refreshedOnce("cancelling the requester");
    user.Toggle("Use Batch Directory", true);
    refreshedOnce("Use Batch Directory");
    user.Toggle("Use Current Data", false);
    refreshedOnce("Use Current Data");
}

TEST_F(BatchDirectory, TheTogglesFollowTheUser) {
    OpenPanel();
    user.Toggle("Use Batch Directory", true);
    user.Toggle("Use Current Data", false);
    ASSERT_EQ(1, host.BuildPanel());  // a rebuild shows the flags as they are now
    EXPECT_EQ(1, user.Value("Use Batch Directory"));
    EXPECT_EQ(0, user.Value("Use Current Data"));
    user.Toggle("Use Batch Directory", false);
    user.Toggle("Use Current Data", true);
    ASSERT_EQ(1, host.BuildPanel());
    EXPECT_EQ(0, user.Value("Use Batch Directory"));
    EXPECT_EQ(1, user.Value("Use Current Data"));
}

}  // namespace
}  // namespace corvantide_test
