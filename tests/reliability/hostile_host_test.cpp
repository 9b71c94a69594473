// A host that answers badly: counts that do not match, null pointers where
// records belong, texts without their terminator, names it does not know,
// numbers that are not finite. The plug-in must go through a whole session
// (build the panel, select, type, export, set up and export a batch, release
// every item) without a crash, a violation, a leaked block or a file that
// does not read back.
//
// What it cannot defend against: a count larger than the array the host
// really holds (a hierarchy list or a key array) is read as the host states
// it, since nothing tells the plug-in where the host's memory ends; the same
// goes for an item, key or text pointer that points at freed or foreign memory.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/item_record.h"
#include "host_names.h"
#include "motfile/motion_reader.h"
#include "panel/panel_session.h"
#include "sim_scene.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

namespace fs = std::filesystem;
namespace layout = simhost::item_layout;

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Batch and content directories inside the scratch directory: on Windows
// "<dir>\\b\\Box.mot"; elsewhere a backslash is no separator and the file is
// "b\\Box.mot" in the scratch directory itself.
void PrepareDirectories(simhost::SimHost& host, const ScratchDirectory& scratch) {
    fs::create_directories(scratch.Path() / "b");
    fs::create_directories(scratch.Path() / "c");
    host.SetContentDirectory((scratch.Path() / "c").string());
}

class HostileHost : public PanelSession {
protected:
    HostileHost() { PrepareDirectories(host, scratch); }

    void* AddAnimatedItem(const std::string& name, std::int32_t type = 0) {
        void* item = host.Scene().AddItem(name, type);
        host.Scene().AddKey(item, 0).Set(0, 1.0).Set(12, 1.5);
        host.Scene().AddKey(item, 12).Set(0, 3.0).Set(4, 0.5).Set(12, 2.0);
        return item;
    }

    bool Has(const std::string& label) {
        if (label == simhost::kPathText) return host.Ui().ControlOfType("String", 0) != nullptr;
        if (label == simhost::kBatchPathText) return host.Ui().ControlOfType("String", 1) != nullptr;
        return host.Ui().ControlByLabel(label) != nullptr;
    }
    void Press(const std::string& label) {
        if (Has(label)) user.Press(label);
    }
    void Type(const std::string& label, const std::string& text) {
        if (Has(label)) user.Type(label, text);
    }
    void Toggle(const std::string& label, bool on) {
        if (Has(label)) user.Toggle(label, on);
    }

    // Everything a user does in one sitting, on controls the panel has.
    void FullSession() {
        host.BuildPanel();
        user.ShowPanel();
        for (void* item : host.Scene().Items()) user.ItemAdded(item);
        if (!host.Scene().Items().empty()) user.SelectItem(host.Scene().Items().front());
        Type(simhost::kPathText, (scratch.Path() / "Typed").string());
        Press("Export Current Motion");
        Toggle("Freeze Motion", true);
        Press("Export Current Motion");
        user.AnswerRequester(true, scratch.Path().string(), (scratch.Path() / "Chosen").string());
        Press("Path");
        Press("Export Current Motion");
        Type(simhost::kBatchPathText, (scratch.Path() / "b").string());
        user.AnswerRequester(true, (scratch.Path() / "b").string(), (scratch.Path() / "b" / "x").string());
        Press("Batch Path");
        Toggle("Use Batch Directory", true);
        Press("Setup Batch");
        Press("Export Batch Motions");
        Toggle("Use Batch Directory", false);
        Press("Setup Batch");
        Press("Export Batch Motions");
    }

    // Every item goes; the host is clean and every file written reads back.
    void ReleaseAndCheck(const std::string& what) {
        for (void* item : host.Scene().Items()) host.SendMessage(simhost::kItemMessageCategory, item, 4);
        EXPECT_EQ(0u, host.Memory().Outstanding()) << what;
        for (const auto& entry : fs::recursive_directory_iterator(scratch.Path())) {
            if (!entry.is_regular_file()) continue;
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(std::string::npos, name.find(".tmp")) << what << ": " << name;
            const auto read = corvantide::motfile::ParseMotionText(FileText(entry.path()));
            EXPECT_TRUE(read.ok) << what << ": " << name << " line " << read.error.line << ": "
                                 << read.error.reason;
            ++filesChecked;
        }
    }

    std::size_t MotionFiles() {
        std::size_t count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(scratch.Path()))
            count += entry.is_regular_file();
        return count;
    }

    ScratchDirectory scratch;
    int filesChecked = 0;
};

TEST_F(HostileHost, ANegativeOrShortHierarchyCountIsTakenAsFewerItems) {
    AddAnimatedItem("Box");
    AddAnimatedItem("Ball");
    for (std::int32_t count : {-1, std::numeric_limits<std::int32_t>::min(), 0, 1}) {
        host.OverrideHierarchyCount(count);
        FullSession();
        EXPECT_EQ(0u, host.OpenHierarchyLists()) << count;
    }
    host.OverrideHierarchyCount(std::nullopt);
    ReleaseAndCheck("short counts");
}

TEST_F(HostileHost, ANullItemInTheHierarchyListIsSkipped) {
    AddAnimatedItem("Box");
    AddAnimatedItem("Cam", kCameraType);
    host.SetNullHierarchyEntry(true);
    FullSession();
    // The items after the null entry were still set up and exported, and
    // the null entry never reached the host (its validator reports any).
#if defined(_WIN32)
    EXPECT_TRUE(fs::exists(scratch.Path() / "b" / "Cam.mot"));
#else
    EXPECT_TRUE(fs::exists(scratch.Path() / "b\\Cam.mot"));  // a backslash is part of a Linux file name
#endif
    ReleaseAndCheck("null entry");
}

TEST_F(HostileHost, KeyCountsThatAreNegativeOrWithoutKeysGiveFilesOfTheCurrentValues) {
    void* box = AddAnimatedItem("Box");
    void* cam = AddAnimatedItem("Cam", kCameraType);
    host.Scene().PutField<std::int32_t>(box, layout::kKeyCount, -7);
    host.Scene().PutField<const void*>(cam, layout::kKeys, nullptr);
    host.Scene().PutField<std::int32_t>(cam, layout::kKeyCount, 5);
    FullSession();
    EXPECT_GT(MotionFiles(), 4u);
    ReleaseAndCheck("hostile key counts");
}

TEST_F(HostileHost, ItemsWithoutANameOrSourcePathCanStillBeExported) {
    void* box = AddAnimatedItem("Box");
    AddAnimatedItem("Box.LWO");
    host.Scene().PutField<const char*>(box, layout::kName, nullptr);
    host.Scene().PutField<const char*>(box, layout::kSourcePath, nullptr);
    FullSession();
    EXPECT_EQ("", host.Ui().RequesterCalls().front().suggestedName);
    ReleaseAndCheck("null names");
}

TEST_F(HostileHost, TextsThatFillTheirBufferWithoutATerminatorAreRefused) {
    AddAnimatedItem("Box");
    host.BuildPanel();
    user.ShowPanel();
    user.SelectItem(host.Scene().Items().front());
    user.TypePath("kept");
    user.TypeBatchPath("kept too");

    simhost::RequesterAnswer answer;
    answer.accept = true;
    answer.result = "C:\\anim\\box";
    answer.directory = "C:\\anim";
    answer.unterminated = true;
    host.Ui().QueueRequesterAnswer(answer);
    user.Press("Path");
    EXPECT_EQ("kept", user.PathText());
    EXPECT_EQ("kept", std::string(SettingsOf(host.Scene().Items().front())->destinationPath));
    host.Ui().QueueRequesterAnswer(answer);
    user.Press("Batch Path");
    EXPECT_EQ("kept too", user.BatchPathText());

    user.Find(simhost::kPathText)->unterminatedText = true;
    user.Find(simhost::kBatchPathText)->unterminatedText = true;
    user.TypePath("ignored");
    user.TypeBatchPath("ignored");
    EXPECT_EQ("kept", std::string(SettingsOf(host.Scene().Items().front())->destinationPath));
    EXPECT_NE(std::string::npos, user.StatusText().find("not stored"));
    ReleaseAndCheck("unterminated texts");
}

// A denormal frame rate makes times beyond the range of a double, and an
// evaluation the host got wrong makes values that are not numbers: neither
// may end up in a file, which would not read back. The user is told which.
TEST_F(HostileHost, NumbersThatAreNotFiniteFailTheExportKeepTheEarlierFileAndAreNamed) {
    void* box = AddAnimatedItem("Box");
    host.BuildPanel();
    user.ShowPanel();
    user.SelectItem(box);
    user.TypePath((scratch.Path() / "Box").string());
    user.Toggle("Freeze Motion", true);
    std::ofstream(scratch.Path() / "Box.mot") << "earlier";

    host.dFPS = 4.9e-324;
    user.Press("Export Current Motion");
    EXPECT_EQ("earlier", FileText(scratch.Path() / "Box.mot"));
    EXPECT_EQ("Info  Couldn't write Box.mot: the time of frame 1 is not a number\n", user.StatusText());

    host.dFPS = 30.0;
    host.Scene().SetRestValue(box, 7, std::nan(""));
    user.Press("Export Current Motion");
    EXPECT_EQ("earlier", FileText(scratch.Path() / "Box.mot"));
    EXPECT_EQ(1u, MotionFiles());
    EXPECT_EQ("Info  Couldn't write Box.mot: Scale Y at frame 0 is not a number\n", user.StatusText());

    host.Scene().SetRestValue(box, 7, 1.0);
    user.Press("Export Current Motion");
    EXPECT_NE("earlier", FileText(scratch.Path() / "Box.mot"));
    ReleaseAndCheck("not finite");
}

// Every name the plug-in asks the host's general look-up for, each once.
std::vector<std::string> BoundNames() {
    std::vector<std::string> names;
    for (const auto* group : {&kPhaseTwoNames, &kPhaseFourNames, &kPanelBuilderNames}) {
        for (const std::string& name : *group) {
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
    }
    return names;
}

TEST(HostileHostNames, TheTableHoldsEveryNameThePluginBinds) {
    simhost::SimHost probe;
    std::string error;
    ASSERT_TRUE(probe.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    probe.BuildPanel();
    const std::set<std::string> asked(probe.Lookups().begin(), probe.Lookups().end());
    const std::vector<std::string> bound = BoundNames();
    EXPECT_EQ(asked, std::set<std::string>(bound.begin(), bound.end()));
    for (const std::string& finding : probe.Audit()) ADD_FAILURE() << finding;
}

// Each name made unknown to the host on its own ("*": all of them at once):
// a whole session still runs clean.
class HostileHostName : public testing::TestWithParam<std::string> {
protected:
    simhost::SimHost session;
    simhost::PanelUser sessionUser{session};
    ScratchDirectory scratch;
};

TEST_P(HostileHostName, ASessionWithoutTheNameRunsClean) {
    const std::string name = GetParam();
    std::string error;
    session.FailLookups({name});
    ASSERT_TRUE(session.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    void* box = session.Scene().AddItem("Box");
    session.Scene().AddKey(box, 0).Set(0, 1.0);
    session.Scene().AddKey(box, 10).Set(0, 2.0);
    session.Scene().AddItem("Cam", kCameraType);
    PrepareDirectories(session, scratch);
    session.BuildPanel();
    sessionUser.ShowPanel();
    for (void* item : session.Scene().Items()) sessionUser.ItemAdded(item);
    sessionUser.SelectItem(box);
    const auto has = [&](const char* label) { return session.Ui().ControlByLabel(label) != nullptr; };
    if (session.Ui().ControlOfType("String", 0) != nullptr)
        sessionUser.TypePath((scratch.Path() / "Typed").string());
    if (has("Export Current Motion")) sessionUser.Press("Export Current Motion");
    sessionUser.AnswerRequester(true, scratch.Path().string(), (scratch.Path() / "Chosen").string());
    if (has("Path")) sessionUser.Press("Path");
    if (has("Setup Batch")) sessionUser.Press("Setup Batch");
    if (has("Export Batch Motions")) sessionUser.Press("Export Batch Motions");
    for (void* item : session.Scene().Items()) session.SendMessage(simhost::kItemMessageCategory, item, 4);
    EXPECT_EQ(0u, session.Memory().Outstanding());
    for (const std::string& finding : session.Audit()) ADD_FAILURE() << finding;
}

std::vector<std::string> NamesAndAll() {
    std::vector<std::string> names = BoundNames();
    names.push_back("*");
    return names;
}

std::string UnknownName(const testing::TestParamInfo<std::string>& name) {
    return name.param == "*" ? "AllNames" : name.param;
}

INSTANTIATE_TEST_SUITE_P(EachUnknownName, HostileHostName, testing::ValuesIn(NamesAndAll()), UnknownName);

}  // namespace
}  // namespace corvantide_test
