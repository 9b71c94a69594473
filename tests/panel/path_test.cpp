// The user gives the current item its destination: typed, or chosen with
// the "Path" button and the host's file requester.
#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

class DestinationPath : public PanelSession {
protected:
    void* Select(const std::string& name) {
        void* item = host.Scene().AddItem(name);
        host.SetCurrentItem(item);
        return item;
    }
    std::string SuggestedFor(const std::string& name) {
        void* item = Select(name);
        user.SelectItem(item);
        user.CancelRequester();
        user.Press("Path");
        return host.Ui().RequesterCalls().back().suggestedName;
    }
};

TEST_F(DestinationPath, TypingAPathStoresItAndTurnsOutputOnEvenWhenEmpty) {
    void* arm = Select("Arm");
    OpenPanel();
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));
    user.TypePath("C:\\anim\\Arm");
    EXPECT_EQ("C:\\anim\\Arm", TextOf(SettingsOf(arm)->destinationPath));
    EXPECT_EQ(0, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ(0, user.Value("Disable All Output Operations"));

    user.Toggle("Disable All Output Operations", true);
    user.TypePath("");
    EXPECT_EQ("", TextOf(SettingsOf(arm)->destinationPath));
    EXPECT_EQ(0, SettingsOf(arm)->outputDisabled);
}

TEST_F(DestinationPath, TypingForAnItemWithoutARecordCreatesItAndAFailedCreationIsReported) {
    OpenPanel();
    void* late = Select("Late");  // added after the panel was built
    EXPECT_EQ(nullptr, SettingsOf(late));
    user.TypePath("D:\\late");
    ASSERT_NE(nullptr, SettingsOf(late));
    EXPECT_EQ("D:\\late", TextOf(SettingsOf(late)->destinationPath));

    void* later = Select("Later");
    host.FailInstanceCreation(true);
    user.TypePath("D:\\later");
    EXPECT_EQ(nullptr, SettingsOf(later));
    ASSERT_EQ(1u, user.Messages().size());
    EXPECT_EQ(1, user.Messages()[0].first);
    EXPECT_EQ(1, user.Messages()[0].lineCount);
    EXPECT_EQ("Couldn't allocate storage data.", user.Messages()[0].line1);
}

TEST_F(DestinationPath, ATypedPathTooLongForItsBufferIsRefusedAndTheUserIsTold) {
    void* arm = Select("Arm");
    OpenPanel();
    user.TypePath("C:\\kept");
    user.Toggle("Disable All Output Operations", true);

    user.TypePath(std::string(1024, 'p'));
    EXPECT_EQ("C:\\kept", TextOf(SettingsOf(arm)->destinationPath));
    EXPECT_EQ(1, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ("C:\\kept", user.PathText());
    EXPECT_EQ("Info  Path not stored: longer than 1023 characters.\n", user.StatusText());

    const std::string longest(1023, 'q');  // exactly fills the buffer
    user.TypePath(longest);
    EXPECT_EQ(longest, TextOf(SettingsOf(arm)->destinationPath));
}

TEST_F(DestinationPath, ARefusedFirstPathLeavesTheItemWithoutADestination) {
    void* arm = Select("Arm");
    OpenPanel();
    user.TypePath(std::string(5000, 'p'));
    EXPECT_EQ(nullptr, SettingsOf(arm)->destinationPath);
    user.Press("Export Current Motion");
    ASSERT_EQ(1u, user.Messages().size());
    EXPECT_EQ("Destination path not selected.", user.Messages()[0].line1);
}

TEST_F(DestinationPath, ThePathButtonSuggestsTheItemNameWithoutItsObjectEnding) {
    OpenPanel();
    EXPECT_EQ("Arm", SuggestedFor("Arm.lwo"));
    EXPECT_EQ("Box", SuggestedFor("Box.LWO"));
    EXPECT_EQ("Box.lwo", SuggestedFor("Box.lwo.lwo"));
    EXPECT_EQ("", SuggestedFor(".lwo"));
    EXPECT_EQ("wo", SuggestedFor("wo"));
    EXPECT_EQ("%s%n", SuggestedFor("%s%n"));
    // A suggestion only: a name too long for the name buffer is cut.
    EXPECT_EQ(std::string(1023, 'n'), SuggestedFor(std::string(3000, 'n')));
}

TEST_F(DestinationPath, ThePathButtonAsksTheRequesterWithTheHostsArguments) {
    void* arm = Select("Arm.lwo");
    OpenPanel();
    user.AnswerRequester(true, "C:\\anim", "C:\\anim\\Arm");
    user.Press("Path");
    ASSERT_EQ(1u, host.Ui().RequesterCalls().size());
    const simhost::RequesterCall& call = host.Ui().RequesterCalls()[0];
    EXPECT_EQ(100000, call.resultSize);
    EXPECT_EQ(512, call.nameArgument);
    EXPECT_EQ("", call.rememberedPath);  // the item's requester path, fresh
    EXPECT_EQ("Select Destination With Base Name", call.title);
    EXPECT_EQ(0, call.a);
    EXPECT_EQ(1, call.b);
    EXPECT_EQ(nullptr, call.c);
    EXPECT_TRUE(call.buffersEmptyOnEntry);

    const corvantide::ExportSettings* settings = SettingsOf(arm);
    EXPECT_EQ("C:\\anim\\Arm", TextOf(settings->destinationPath));
    EXPECT_EQ("", TextOf(settings->requesterPath));  // allocated, not written by the plug-in
    EXPECT_EQ("C:\\anim\\Arm", user.PathText());
    EXPECT_EQ(0, settings->outputDisabled);
    EXPECT_EQ(0, user.Value("Disable All Output Operations"));
}

TEST_F(DestinationPath, CancellingTheRequesterChangesNothing) {
    void* arm = Select("Arm");
    OpenPanel();
    user.TypePath("C:\\kept");
    user.Toggle("Disable All Output Operations", true);
    user.CancelRequester();
    user.Press("Path");
    EXPECT_EQ("C:\\kept", TextOf(SettingsOf(arm)->destinationPath));
    EXPECT_EQ(1, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ("C:\\kept", user.PathText());
    EXPECT_EQ(1, user.Value("Disable All Output Operations"));
}

TEST_F(DestinationPath, AChosenPathTooLongOrUnterminatedIsRefusedAndNothingIsOverrun) {
    void* arm = Select("Arm");
    OpenPanel();
    user.AnswerRequester(true, "C:\\", std::string(1024, 'r'));
    user.Press("Path");
    EXPECT_EQ(nullptr, SettingsOf(arm)->destinationPath);
    EXPECT_EQ(1, SettingsOf(arm)->outputDisabled);
    EXPECT_EQ("Info  Path not stored: longer than 1023 characters.\n", user.StatusText());

    simhost::RequesterAnswer hostile;  // fills every buffer to its end, no terminator
    hostile.accept = true;
    hostile.result = "C:\\x";
    hostile.directory = "C:";
    hostile.unterminated = true;
    host.Ui().QueueRequesterAnswer(hostile);
    user.Press("Path");
    EXPECT_EQ(nullptr, SettingsOf(arm)->destinationPath);
    EXPECT_EQ("", user.PathText());
}

TEST_F(DestinationPath, WithNoRecordOrNoCurrentItemThePathButtonOffersNothing) {
    OpenPanel();
    Select("Late");
    user.Press("Path");
    host.SetCurrentItem(nullptr);
    user.Press("Path");
    EXPECT_TRUE(host.Ui().RequesterCalls().empty());
    EXPECT_EQ(0u, host.Memory().Outstanding());
}

}  // namespace
}  // namespace corvantide_test
