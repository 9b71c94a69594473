// Escape during "Export Batch Motions", at any moment of the run: the item
// being exported keeps its earlier file, later items are not visited.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "panel/panel_session.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;

constexpr char kIdle[] = "Info\nStatus: Idle";
constexpr char kAborted[] =
    "Info  Motion File Generation Aborted.\nSaving Motion Frame: 0 of 0.   (ESC to Abort)";
constexpr char kEarlier[] = "an earlier export";

class BatchAbort : public PanelSession {
protected:
    // Ready items sampling frames 0 to 9, each over an earlier file.
    void ReadyItems(const std::vector<std::string>& names) {
        OpenPanel();
        for (const std::string& name : names) {
            void* item = host.Scene().AddItem(name);
            host.Scene().AddKey(item, 0).Set(0, 1.0);
            user.SelectItem(item);
            user.TypePath((directory / name).string());
            user.Toggle("Freeze Motion", true);
            user.Type("Begin Frame", 0);
            user.Type("End Frame", 9);
            std::ofstream(directory / (name + ".mot"), std::ios::binary) << kEarlier;
        }
        host.Escape().Reset();
    }
    // "new", or "earlier" for a file that kept its bytes, per item.
    std::vector<std::string> Files(const std::vector<std::string>& names) const {
        std::vector<std::string> states;
        for (const std::string& name : names) {
            std::ostringstream text;
            text << std::ifstream(directory / (name + ".mot"), std::ios::binary).rdbuf();
            states.push_back(text.str() == kEarlier               ? "earlier"
                             : text.str().rfind("LWMO\n", 0) == 0 ? "new"
                                                                  : "?");
        }
        return states;
    }
    // Taps Escape when the status area shows its nth idle text: an item is
    // done, the next not yet begun.
    void TapAtIdleText(int n) {
        host.Ui().SetStatusListener([this, n, seen = 0](const std::string& text) mutable {
            if (text == kIdle && ++seen == n) host.Escape().Tap();
        });
    }

    ScratchDirectory scratch{"batch-abort-" + CurrentTestName()};
    const fs::path& directory = scratch.Path();
    const std::vector<std::string> items = {"One", "Two", "Three", "Four"};
};

TEST_F(BatchAbort, EscapeHeldAtTheFirstItemsLastFrameStopsTheRunAtTheSecondItem) {
    ReadyItems(items);
    // Down at item 1's tenth and last progress line, up at its idle text:
    // the press falls between item 1's last poll and item 2's first.
    host.Escape().PressAtProgress(10);
    user.Press("Export Batch Motions");
    EXPECT_EQ((std::vector<std::string>{"new", "earlier", "earlier", "earlier"}), Files(items));
    EXPECT_EQ(10, host.Escape().ProgressLines());  // item 2 showed no progress
    EXPECT_EQ(kAborted, user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchAbort, ATapBetweenTheSecondAndThirdItemsStopsTheRunAtTheThird) {
    ReadyItems(items);
    TapAtIdleText(2);
    user.Press("Export Batch Motions");
    EXPECT_EQ((std::vector<std::string>{"new", "new", "earlier", "earlier"}), Files(items));
    // The run's start, item 1, before item 2, item 2, and before item 3, which is never begun.
    EXPECT_EQ(1 + 10 + 1 + 10 + 1, host.Escape().Polls());
    EXPECT_EQ(20, host.Escape().ProgressLines());
    EXPECT_EQ(kAborted, user.StatusText());
    ExpectCleanHost();
}

// Items without keys collect nothing and so poll nothing: the run itself
// polls before each item after the first.
TEST_F(BatchAbort, EscapeHeldThroughItemsWithoutKeysStopsTheRunAtTheSecondItem) {
    OpenPanel();
    std::vector<std::string> props;
    for (int i = 0; i < 300; ++i) props.push_back("Prop" + std::to_string(1000 + i));
    props.push_back("Keyed");
    for (const std::string& name : props) {
        void* item = host.Scene().AddItem(name);
        if (name == "Keyed") host.Scene().AddKey(item, 0).Set(0, 1.0);
        user.SelectItem(item);
        user.TypePath((directory / name).string());
    }
    host.Escape().Reset();
    host.Escape().Hold();
    user.Press("Export Batch Motions");
    host.Escape().Release();

    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(directory))
        written.push_back(entry.path().filename().string());
    EXPECT_EQ(std::vector<std::string>{"Prop1000.mot"}, written);
    EXPECT_EQ(2, host.Escape().Polls());  // the run's start, and before the second item
    EXPECT_EQ(kAborted, user.StatusText());
    ExpectCleanHost();
}

// The key goes down as the last frame is collected: the next poll is the
// printing's, at its first full chunk of text.
TEST_F(BatchAbort, APressWhileALargeSampledFileIsPrintedStopsItAndKeepsTheEarlierFile) {
    const std::vector<std::string> names = {"Big", "Next"};
    ReadyItems(names);
    constexpr int kFrames = 20000;  // more than a megabyte of text
    user.SelectItem(host.Scene().ItemByName("Big"));
    user.Type("End Frame", kFrames - 1);
    host.Escape().Reset();
    host.Escape().PressAtProgress(kFrames);
    user.Press("Export Batch Motions");

    EXPECT_EQ((std::vector<std::string>{"earlier", "earlier"}), Files(names));
    EXPECT_EQ(1 + kFrames + 1, host.Escape().Polls());
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(directory)) ++files;
    EXPECT_EQ(2u, files);  // no temporary file is left
    EXPECT_EQ(kAborted, user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchAbort, APressMadeAndReleasedBeforeTheButtonAbortsNothing) {
    ReadyItems(items);
    host.Escape().Tap();  // closing a file requester a moment earlier, say
    user.Press("Export Batch Motions");
    EXPECT_EQ((std::vector<std::string>{"new", "new", "new", "new"}), Files(items));
    EXPECT_EQ(kIdle, user.StatusText());

    const std::vector<std::string> first = {"One"};
    std::ofstream(directory / "One.mot", std::ios::binary) << kEarlier;
    user.SelectItem(host.Scene().ItemByName("One"));
    host.Escape().Tap();
    user.Press("Export Current Motion");
    EXPECT_EQ(std::vector<std::string>{"new"}, Files(first));
    EXPECT_EQ(kIdle, user.StatusText());
    ExpectCleanHost();
}

TEST_F(BatchAbort, EscapeHeldWhenTheButtonIsPressedAbortsTheFirstItem) {
    ReadyItems(items);
    host.Escape().Hold();
    user.Press("Export Batch Motions");
    host.Escape().Release();
    EXPECT_EQ((std::vector<std::string>{"earlier", "earlier", "earlier", "earlier"}), Files(items));
    EXPECT_EQ(kAborted, user.StatusText());
    ExpectCleanHost();
}

}  // namespace
}  // namespace corvantide_test
