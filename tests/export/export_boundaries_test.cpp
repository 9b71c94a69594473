// Exports at their edges: every host behaviour code on a keyed channel, the
// one-key and one-frame export of every mode (with a stale Escape press
// before it), and destination paths one under, at and one over what the
// file names can take.
#include <filesystem>
#include <string>

#include "export/item_export.h"
#include "host/escape_key.h"
#include "host/text_buffer.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::ExportSettings;

// The body of channel `channel` in a motion file's text.
std::string ChannelBody(const std::string& file, int channel) {
    const std::string start = "Channel " + std::to_string(channel) + "\n{ Envelope\n";
    const std::size_t from = file.find(start);
    if (from == std::string::npos) return "(no channel " + std::to_string(channel) + ")";
    const std::size_t body = from + start.size();
    return file.substr(body, file.find("}\n", body) - body);
}

std::string BehavioursLine(const std::string& body) {
    const std::size_t at = body.find("  Behaviors ");
    return at == std::string::npos ? "(none)" : body.substr(at, body.find('\n', at) + 1 - at);
}

struct BehaviourCase {
    std::int16_t host;
    int file;
};

class BehaviourCodes : public LinkedPlugin, public testing::WithParamInterface<BehaviourCase> {};

TEST_P(BehaviourCodes, AKeyedChannelCarriesTheFilesCodeForTheHostsCode) {
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(4, 1.0);
    host.Scene().AddKey(box, 10).Set(4, 2.0);
    host.Scene().SetBehaviour(box, 4, GetParam().host);
    Prepare(box, "Box");
    ASSERT_EQ(1, Export(box));
    const std::string code = std::to_string(GetParam().file);
    EXPECT_EQ("  Behaviors " + code + " " + code + "\n", BehavioursLine(ChannelBody(Read("Box.mot"), 4)));
    // The unkeyed channels keep the placeholder's Constant.
    EXPECT_EQ("  Behaviors 1 1\n", BehavioursLine(ChannelBody(Read("Box.mot"), 0)));
}

std::string CodeName(const testing::TestParamInfo<BehaviourCase>& code) {
    const int host = code.param.host;
    return host < 0 ? "Minus" + std::to_string(-host) : std::to_string(host);
}

// 0 Reset, 1 Constant, 2 Repeat, 3 Oscillate, 4 Offset Repeat, 5 Linear;
// codes outside 0 to 9 are Constant.
INSTANTIATE_TEST_SUITE_P(HostCodes, BehaviourCodes,
                         testing::Values(BehaviourCase{0, 0}, BehaviourCase{1, 1}, BehaviourCase{2, 2},
                                         BehaviourCase{3, 2}, BehaviourCase{4, 3}, BehaviourCase{5, 4},
                                         BehaviourCase{6, 4}, BehaviourCase{7, 2}, BehaviourCase{8, 3},
                                         BehaviourCase{9, 5}, BehaviourCase{10, 1}, BehaviourCase{-1, 1},
                                         BehaviourCase{32767, 1}, BehaviourCase{-32768, 1}),
                         CodeName);

enum class Mode { kKeysLocal, kKeysWorld, kFramesLocal, kFramesWorld };

struct SingleCase {
    Mode mode;
    bool camera;
    const char* name;
};

class SingleEntry : public LinkedPlugin, public testing::WithParamInterface<SingleCase> {};

// One key, or a range of one frame, is a whole export: a press of Escape
// from before the user's action (closing a requester, say) is forgotten when
// the action starts, as the export buttons do, and does not abort it.
TEST_P(SingleEntry, OneKeyOrOneFrameIsExportedDespiteAnEarlierEscapeTap) {
    const SingleCase& c = GetParam();
    const std::string name = c.camera ? "Cam" : "Box";
    void* item = host.Scene().AddItem(name, c.camera ? 8 : 0);
    host.Scene().AddKey(item, 4).Set(0, 2.5).Set(12, 1.5);
    ExportSettings* settings = Prepare(item, name);
    const bool frames = c.mode == Mode::kFramesLocal || c.mode == Mode::kFramesWorld;
    settings->freezeMotion = frames ? 1 : 0;
    settings->coordinates = (c.mode == Mode::kKeysWorld || c.mode == Mode::kFramesWorld) ? 1 : 0;
    settings->beginFrame = 6;
    settings->endFrame = 6;
    host.dAnim_Clock = 2.0;
    host.Escape().Tap();
    corvantide::ForgetEarlierEscapePress();

    ASSERT_EQ(1, Export(item));

    const std::string body = ChannelBody(Read(name + ".mot"), 0);
    EXPECT_EQ(0u, body.find("  1\n  Key 2.500000 ")) << body;
    EXPECT_EQ("  Behaviors 1 1\n", BehavioursLine(body));
    EXPECT_EQ("Info\nStatus: Idle", Status());
    EXPECT_EQ(2.0, host.dAnim_Clock);
    if (c.camera) {
        EXPECT_EQ(0u, Read(name + "_ZoomFactor.mot").find("{ Envelope\n  1\n  Key 1.500000 "));
    }
}

std::string ModeName(const testing::TestParamInfo<SingleCase>& mode) { return mode.param.name; }

INSTANTIATE_TEST_SUITE_P(EveryMode, SingleEntry,
                         testing::Values(SingleCase{Mode::kKeysLocal, false, "KeysLocal"},
                                         SingleCase{Mode::kKeysWorld, false, "KeysWorld"},
                                         SingleCase{Mode::kFramesLocal, false, "FramesLocal"},
                                         SingleCase{Mode::kFramesWorld, false, "FramesWorld"},
                                         SingleCase{Mode::kKeysLocal, true, "CameraKeysLocal"},
                                         SingleCase{Mode::kFramesWorld, true, "CameraFramesWorld"}),
                         ModeName);

// A path of exactly `length` characters in the test's folder, in components
// short enough for any file system.
std::string PathOfLength(const std::filesystem::path& directory, std::size_t length) {
    std::string path = directory.string();
    while (length - path.size() > 101) path.append(1, '/').append(99, 'd');
    const std::size_t rest = length - path.size() - 1;
    return path.append(1, '/').append(rest, 'e');
}

struct DestinationCase {
    bool camera;
    std::size_t length;
    bool motionFits;
    bool zoomFits;
};

class DestinationLimits : public LinkedPlugin, public testing::WithParamInterface<DestinationCase> {};

// ".mot" leaves 1019 characters of a 1024-byte file name, "_ZoomFactor.mot"
// 1008. A camera's two files are written together or not at all.
TEST_P(DestinationLimits, ABasePathFitsItsFileNamesOrIsRefusedBeforeAnyFileIsTouched) {
    const DestinationCase& c = GetParam();
    void* item = host.Scene().AddItem("Item", c.camera ? 8 : 0);
    host.Scene().AddKey(item, 0).Set(0, 1.0).Set(12, 2.0);
    ExportSettings* settings = Prepare(item, "Item");
    const std::string path = PathOfLength(directory, c.length);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(corvantide::CopyText(settings->destinationPath, corvantide::kPathCapacity, path.c_str()));

    const std::int32_t result = Export(item);
    EXPECT_EQ(c.motionFits, std::filesystem::exists(path + ".mot"));
    if (!c.motionFits) {
        EXPECT_EQ(0, result);
        EXPECT_NE(std::string::npos, Status().find("Path too long, not written: ")) << Status();
        return;
    }
    if (!c.camera) {
        EXPECT_EQ(1, result);
        EXPECT_EQ("Info\nStatus: Idle", Status());
        return;
    }
    EXPECT_EQ(c.zoomFits, std::filesystem::exists(path + "_ZoomFactor.mot"));
    if (c.zoomFits) {
        EXPECT_EQ(1, result);
        EXPECT_EQ("Info\nStatus: Idle", Status());
    } else {
        EXPECT_EQ(0, result);
        EXPECT_NE(std::string::npos, Status().find("_ZoomFactor.mot")) << Status();
    }
}

std::string DestinationName(const testing::TestParamInfo<DestinationCase>& destination) {
    return std::string(destination.param.camera ? "Camera" : "Motion") + "_" +
           std::to_string(destination.param.length);
}

INSTANTIATE_TEST_SUITE_P(
    BothFileNames, DestinationLimits,
    testing::Values(DestinationCase{false, 1018, true, false}, DestinationCase{false, 1019, true, false},
                    DestinationCase{false, 1020, false, false}, DestinationCase{true, 1007, true, true},
                    DestinationCase{true, 1008, true, true}, DestinationCase{true, 1009, false, false},
                    DestinationCase{true, 1019, false, false}, DestinationCase{true, 1020, false, false}),
    DestinationName);

}  // namespace
}  // namespace corvantide_test
