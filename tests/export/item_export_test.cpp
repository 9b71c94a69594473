// Exports of one item's motion, as "Export Current Motion" runs them, checked
// byte for byte against the files a receiving package reads.
#include <string>

#include "export/envelope_key.h"
#include "export/item_export.h"
#include "host/item_record.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

using corvantide::item_record::kCameraType;

using corvantide::ExportSettings;

constexpr char kZeros[] = " 0.000000 0.000000 0.000000 0.000000 0.000000 0\n";

// One key line per value, at the given times, with no span data and
// Constant behaviours: a sampled channel, or any channel of World keys.
std::string PlainBody(const std::vector<std::string>& values, const std::vector<std::string>& times) {
    std::string body = "  " + std::to_string(values.size()) + "\n";
    for (std::size_t i = 0; i < values.size(); ++i)
        body += "  Key " + values[i] + " " + times[i] + " 0" + kZeros;
    return body + "  Behaviors 1 1\n";
}

// A channel no key keys: one key holding the value from `time` on.
std::string Held(int channel, const std::string& value, const std::string& time) {
    return Channel(channel, "  1\n  Key " + value + " " + time + " 0" + kZeros + "  Behaviors 1 1\n");
}

// Channels at the simulated host's rest values: 0 for position and rotation, 1 for scale.
std::string AtRest(int from, int to, const std::string& time) {
    std::string text;
    for (int c = from; c < to; ++c) text += Held(c, c < 6 ? "0.000000" : "1.000000", time);
    return text;
}

class ItemExport : public LinkedPlugin {};

TEST_F(ItemExport, KeysModeWritesEachKeysOwnSpanWithTheFirstAndLastKeyRules) {
    host.dFPS = 10.0;
    void* box = host.Scene().AddItem("Box");
    auto& scene = host.Scene();
    scene.AddKey(box, 0)
        .Set(0, 1.0)
        .Span(0, simhost::kSpanBezier)
        .Handles(0, -0.5F, 0.25F)
        .Set(1, 2.0)
        .Span(1, simhost::kSpanTcb)
        .Tcb(1, 0.3F, -0.5F, 0.125F)
        .Set(2, -3.0)
        .Span(2, simhost::kSpanLinear);
    scene.AddKey(box, 10)
        .Set(0, 2.0)
        .Span(0, simhost::kSpanBezier)
        .Handles(0, 0.5F, 1.5F)
        .Set(1, 4.0)
        .Span(1, 7)
        .Tcb(1, 0.9F, 0.9F, 0.9F)
        .Value(2, 99.0)
        .Set(3, 0.5)
        .Span(3, simhost::kSpanBezier)
        .Handles(3, 1.0F, 2.0F);
    scene.AddKey(box, 20)
        .Set(0, 3.0)
        .Span(0, simhost::kSpanBezier)
        .Handles(0, -1.0F, -2.0F)
        .Set(2, -4.0)
        .Span(2, simhost::kSpanStepped);
    scene.SetBehaviour(box, 0, 3);
    scene.SetBehaviour(box, 1, 12);
    scene.SetBehaviour(box, 2, 9);
    scene.SetBehaviour(box, 3, -2);
    scene.SetBehaviour(box, 4, 4);
    ExportSettings* settings = Prepare(box, "Box");
    settings->beginFrame = 100;  // keys mode ignores the range and the offset
    settings->endFrame = 200;
    settings->frameOffset = 7;
    host.dAnim_Clock = 42.0;

    EXPECT_EQ(1, Export(box));

    const std::string expected =
        Header(9) +
        Channel(0,
                "  3\n"
                "  Key 1.000000 0.000000 2 0.000000 0.000000 0.000000 0.000000 1.250000 0\n"
                "  Key 2.000000 1.000000 2 0.000000 0.000000 0.000000 2.500000 3.500000 0\n"
                "  Key 3.000000 2.000000 2 0.000000 0.000000 0.000000 2.000000 0.000000 0\n"
                "  Behaviors 2 2\n") +
        Channel(1,
                "  2\n"
                "  Key 2.000000 0.000000 0 0.300000 -0.500000 0.125000 0.000000 0.000000 0\n"
                "  Key 4.000000 1.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                "  Behaviors 1 1\n") +
        Channel(2,
                "  2\n"
                "  Key -3.000000 0.000000 3 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                "  Key -4.000000 2.000000 4 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                "  Behaviors 5 5\n") +
        Channel(3,
                "  1\n"
                "  Key 0.500000 1.000000 2 0.000000 0.000000 0.000000 0.000000 2.500000 0\n"
                "  Behaviors 1 1\n") +
        AtRest(4, 9, "0.000000");
    EXPECT_EQ(expected, Read("Box.mot"));
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
    // Local keys never move the clock; it is written back once at the end.
    EXPECT_EQ(42.0, host.dAnim_Clock);
    EXPECT_EQ(std::vector<std::int32_t>{32}, host.Updates());
    const auto& status = host.Ui().StatusHistory();
    ASSERT_EQ(4u, status.size());
    EXPECT_EQ("Info  Box\nComputing Frame: 1 of 3.   (ESC to Abort)", status[0]);
    EXPECT_EQ("Info  Box\nComputing Frame: 3 of 3.   (ESC to Abort)", status[2]);
    EXPECT_EQ("Info\nStatus: Idle", status[3]);
}

TEST_F(ItemExport, TheHostsFirstAndLastKeyIndexesDecideWhichHandlesAreDropped) {
    host.dFPS = 1.0;
    void* box = host.Scene().AddItem("Box");
    host.Scene()
        .AddKey(box, 0)
        .Set(0, 1.0)
        .Span(0, simhost::kSpanBezier)
        .Handles(0, 1.0F, 2.0F)
        .Set(4, 1.0)
        .Span(4, simhost::kSpanBezier)
        .Handles(4, 1.0F, 2.0F);
    host.Scene()
        .AddKey(box, 1)
        .Set(0, 5.0)
        .Span(0, simhost::kSpanBezier)
        .Handles(0, -1.0F, -2.0F)
        .Set(4, 5.0)
        .Span(4, simhost::kSpanBezier)
        .Handles(4, -1.0F, -2.0F);
    host.Scene().SetFirstKey(box, 0, 1);  // the host says: key 1 is first, and no key is last
    host.Scene().SetLastKey(box, 0, -1);
    Prepare(box, "Box");

    EXPECT_EQ(1, Export(box));
    // Pitch keeps the host's own indexes: key 0 first, key 1 last.
    EXPECT_EQ(Header(9) +
                  Channel(0,
                          "  2\n"
                          "  Key 1.000000 0.000000 2 0.000000 0.000000 0.000000 2.000000 3.000000 0\n"
                          "  Key 5.000000 1.000000 2 0.000000 0.000000 0.000000 0.000000 3.000000 0\n"
                          "  Behaviors 1 1\n") +
                  AtRest(1, 4, "0.000000") +
                  Channel(4,
                          "  2\n"
                          "  Key 1.000000 0.000000 2 0.000000 0.000000 0.000000 0.000000 3.000000 0\n"
                          "  Key 5.000000 1.000000 2 0.000000 0.000000 0.000000 4.000000 0.000000 0\n"
                          "  Behaviors 1 1\n") +
                  AtRest(5, 9, "0.000000"),
              Read("Box.mot"));
}

TEST_F(ItemExport, WorldKeysAreEvaluatedThroughTheParentAtEachKeysTimeInEveryChannel) {
    host.dFPS = 30.0;
    auto& scene = host.Scene();
    void* rig = scene.AddItem("Rig");
    scene.SetRestValue(rig, 0, 10.0);
    scene.SetRestValue(rig, 1, 5.0);
    void* arm = scene.AddItem("Arm");
    ASSERT_TRUE(scene.SetParent(arm, rig));
    scene.AddKey(arm, 1).Set(0, 1.0).Span(0, simhost::kSpanBezier).Handles(0, 1.0F, 1.0F);
    scene.AddKey(arm, 15).Set(0, 2.0).Set(6, 2.0);
    scene.SetBehaviour(arm, 0, 5);
    Prepare(arm, "Arm")->coordinates = 1;
    host.dAnim_Clock = 7.0;

    EXPECT_EQ(1, Export(arm));

    // Every channel takes both keys, whichever channels each key keys, with
    // no span data and Constant behaviours: the host's own span and
    // behaviour describe the arm's local channel, not its world value.
    const std::vector<std::string> times = {"0.033333", "0.500000"};
    std::string expected = Header(9) + Channel(0, PlainBody({"11.000000", "12.000000"}, times)) +
                           Channel(1, PlainBody({"5.000000", "5.000000"}, times));
    for (int c = 2; c < 6; ++c) expected += Channel(c, PlainBody({"0.000000", "0.000000"}, times));
    expected += Channel(6, PlainBody({"2.000000", "2.000000"}, times));
    for (int c = 7; c < 9; ++c) expected += Channel(c, PlainBody({"1.000000", "1.000000"}, times));
    EXPECT_EQ(expected, Read("Arm.mot"));
    EXPECT_EQ(7.0, host.dAnim_Clock);
    EXPECT_EQ((std::vector<std::int32_t>{32, 32, 32}), host.Updates());
}

TEST_F(ItemExport, AWorldChannelNoKeyKeysFollowsTheParentFromKeyToKey) {
    host.dFPS = 30.0;
    auto& scene = host.Scene();
    void* rig = scene.AddItem("Rig");
    scene.AddKey(rig, 1).Set(1, 5.0);
    scene.AddKey(rig, 15).Set(1, 8.0);
    void* arm = scene.AddItem("Arm");
    ASSERT_TRUE(scene.SetParent(arm, rig));
    scene.AddKey(arm, 1).Set(0, 1.0);
    scene.AddKey(arm, 15).Set(0, 2.0);
    Prepare(arm, "Arm")->coordinates = 1;

    EXPECT_EQ(1, Export(arm));

    // Position Y rises with the rig from 5 to 8; the arm never keys it.
    const std::string file = Read("Arm.mot");
    EXPECT_NE(std::string::npos,
              file.find(Channel(1, PlainBody({"5.000000", "8.000000"}, {"0.033333", "0.500000"}))))
        << file;
}

TEST_F(ItemExport, SamplingSetsTheClockToEachFrameAndWritesTimesWithTheOffset) {
    host.dFPS = 30.0;
    void* box = host.Scene().AddItem("Box");
    host.Scene().AddKey(box, 0).Set(0, 0.0).Span(0, simhost::kSpanLinear);
    host.Scene().AddKey(box, 100).Set(0, 100.0).Span(0, simhost::kSpanLinear);
    ExportSettings* settings = Prepare(box, "Box");
    settings->freezeMotion = 1;
    settings->beginFrame = 10;
    settings->endFrame = 12;
    settings->frameOffset = 5;
    host.dAnim_Clock = 3.0;

    EXPECT_EQ(1, Export(box));

    const std::vector<std::string> times = {"0.500000", "0.533333", "0.566667"};
    std::string expected = Header(9) + Channel(0, PlainBody({"10.000000", "11.000000", "12.000000"}, times));
    for (int c = 1; c < 9; ++c) {
        const std::string rest = c < 6 ? "0.000000" : "1.000000";
        expected += Channel(c, PlainBody({rest, rest, rest}, times));
    }
    EXPECT_EQ(expected, Read("Box.mot"));
    EXPECT_EQ(3.0, host.dAnim_Clock);
    EXPECT_EQ((std::vector<std::int32_t>{32, 32, 32, 32}), host.Updates());
    const auto& status = host.Ui().StatusHistory();
    ASSERT_EQ(4u, status.size());
    EXPECT_EQ("Info  Box\nComputing Frame: 1 of 3.   (ESC to Abort)", status[0]);
    EXPECT_EQ("Info  Box\nComputing Frame: 2 of 3.   (ESC to Abort)", status[1]);
    EXPECT_EQ("Info  Box\nComputing Frame: 3 of 3.   (ESC to Abort)", status[2]);
}

TEST_F(ItemExport, SamplingOneFrameInWorldSpaceWritesOneLinePerChannel) {
    host.dFPS = 30.0;
    auto& scene = host.Scene();
    void* rig = scene.AddItem("Rig");
    scene.SetRestValue(rig, 0, 10.0);
    scene.SetRestValue(rig, 8, 3.0);
    void* arm = scene.AddItem("Arm");
    scene.SetParent(arm, rig);
    scene.AddKey(arm, 0).Set(0, 0.0).Span(0, simhost::kSpanLinear);
    scene.AddKey(arm, 100).Set(0, 100.0).Span(0, simhost::kSpanLinear);
    ExportSettings* settings = Prepare(arm, "Arm");
    settings->freezeMotion = 1;
    settings->coordinates = 1;
    settings->beginFrame = 20;
    settings->endFrame = 20;
    settings->frameOffset = -5;

    EXPECT_EQ(1, Export(arm));

    const std::vector<std::string> time = {"0.500000"};
    std::string expected = Header(9) + Channel(0, PlainBody({"30.000000"}, time));
    for (int c = 1; c < 8; ++c) expected += Channel(c, PlainBody({c < 6 ? "0.000000" : "1.000000"}, time));
    expected += Channel(8, PlainBody({"3.000000"}, time));
    EXPECT_EQ(expected, Read("Arm.mot"));
}

TEST_F(ItemExport, AnEmptySampledRangeIsRefusedAndTheEarlierFileKept) {
    void* box = host.Scene().AddItem("Box");
    ExportSettings* settings = Prepare(box, "Box");
    settings->freezeMotion = 1;
    settings->beginFrame = 5;
    settings->endFrame = 4;
    Write("Box.mot", "an older export");
    host.dAnim_Clock = 9.0;

    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("an older export", Read("Box.mot"));
    EXPECT_EQ(std::vector<std::string>{"Box.mot"}, Files());
    EXPECT_EQ(0, host.Escape().Polls());
    EXPECT_TRUE(host.Updates().empty());
    EXPECT_EQ(9.0, host.dAnim_Clock);
    EXPECT_EQ("Info  Frame range ends before it begins, not written: Box.mot\n", Status());
}

TEST_F(ItemExport, ACameraWritesSixChannelsAndItsZoomFile) {
    host.dFPS = 24.0;
    void* cam = host.Scene().AddItem("Cam", kCameraType);
    host.Scene()
        .AddKey(cam, 0)
        .Set(0, 1.0)
        .Span(0, simhost::kSpanLinear)
        .Set(6, 4.0)
        .Set(12, 1.5)
        .Tcb(12, 0.25F, -0.5F, 0.75F);
    host.Scene().AddKey(cam, 48).Set(0, 2.0).Span(0, simhost::kSpanLinear).Set(12, 3.0);
    Prepare(cam, "Cam");

    EXPECT_EQ(1, Export(cam));

    EXPECT_EQ(Header(6) +
                  Channel(0, std::string("  2\n") + "  Key 1.000000 0.000000 3" + kZeros +
                                 "  Key 2.000000 2.000000 3" + kZeros + "  Behaviors 1 1\n") +
                  AtRest(1, 6, "0.000000"),
              Read("Cam.mot"));
    EXPECT_EQ(
        "{ Envelope\n"
        "  2\n"
        "  Key 1.500000 0.000000 0 0.250000 -0.500000 0.750000 0 0 0\n"
        "  Key 3.000000 2.000000 0 0.000000 0.000000 0.000000 0 0 0\n"
        "  Behaviors 1 1\n"
        "}\n",
        Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ((std::vector<std::string>{"Cam.mot", "Cam_ZoomFactor.mot"}), Files());
}

// The host lends an export a table of nine pointers and nine channel
// buffers of the keys or frames and three spare entries each, and no more.
TEST_F(ItemExport, EachChannelBorrowsItsEntriesAndThreeSpareFromTheHost) {
    constexpr std::uint64_t kTable = 9 * 8;
    constexpr std::uint64_t kEntry = sizeof(corvantide::EnvelopeKey);
    void* keyed = host.Scene().AddItem("Keyed");
    for (int k = 0; k < 4; ++k) host.Scene().AddKey(keyed, 10.0 * k).Set(0, k);
    void* sampled = host.Scene().AddItem("Sampled");
    host.Scene().AddKey(sampled, 0).Set(0, 1.0);
    ExportSettings* settings = Prepare(sampled, "Sampled");
    settings->freezeMotion = 1;
    settings->beginFrame = 1;
    settings->endFrame = 7;
    Prepare(keyed, "Keyed");

    const std::uint64_t before = host.Memory().BytesOutstanding();
    ASSERT_EQ(before, host.Memory().PeakBytes());
    EXPECT_EQ(1, Export(keyed));
    EXPECT_EQ(kTable + 9 * (4 + 3) * kEntry, host.Memory().PeakBytes() - before);
    EXPECT_EQ(1, Export(sampled));
    EXPECT_EQ(kTable + 9 * (7 + 3) * kEntry, host.Memory().PeakBytes() - before);
}

TEST_F(ItemExport, AnItemWithoutKeysHoldsItsValuesFromTimeZero) {
    host.dFPS = 30.0;
    auto& scene = host.Scene();
    void* rig = scene.AddItem("Rig");
    scene.SetRestValue(rig, 2, -4.0);
    void* lamp = scene.AddItem("Lamp");
    ASSERT_TRUE(scene.SetParent(lamp, rig));
    scene.SetRestValue(lamp, 1, 2.5);
    scene.SetRestValue(lamp, 7, 0.5);
    void* cam = scene.AddItem("Cam", kCameraType);
    scene.SetRestValue(cam, 3, 1.25);
    Prepare(lamp, "Lamp");
    Prepare(cam, "Cam");
    Write("Lamp.mot", "an older export");
    host.dAnim_Clock = 17.0;

    EXPECT_EQ(1, Export(lamp));
    const std::string lampLocal = Read("Lamp.mot");
    Prepare(lamp, "LampWorld")->coordinates = 1;
    EXPECT_EQ(1, Export(lamp));
    EXPECT_EQ(1, Export(cam));

    EXPECT_EQ(Header(9) + AtRest(0, 1, "0.000000") + Held(1, "2.500000", "0.000000") +
                  AtRest(2, 7, "0.000000") + Held(7, "0.500000", "0.000000") + AtRest(8, 9, "0.000000"),
              lampLocal);
    // In world values the parent's position is added, as it is at frame 0:
    // the clock moves there and back. In Local values it never moves.
    EXPECT_EQ(Header(9) + AtRest(0, 1, "0.000000") + Held(1, "2.500000", "0.000000") +
                  Held(2, "-4.000000", "0.000000") + AtRest(3, 7, "0.000000") +
                  Held(7, "0.500000", "0.000000") + AtRest(8, 9, "0.000000"),
              Read("LampWorld.mot"));
    EXPECT_EQ(17.0, host.dAnim_Clock);
    EXPECT_EQ((std::vector<std::int32_t>{32, 32, 32, 32}), host.Updates());
    EXPECT_EQ(Header(6) + AtRest(0, 3, "0.000000") + Held(3, "1.250000", "0.000000") + AtRest(4, 6, "0.000000"),
              Read("Cam.mot"));
    // A camera without keys has no zoom value anywhere: the placeholder stays.
    EXPECT_EQ(std::string("{ Envelope\n") + kPlaceholder + "}\n", Read("Cam_ZoomFactor.mot"));
    EXPECT_EQ(0, host.Escape().Polls());
    EXPECT_EQ("Info\nStatus: Idle", Status());
}

TEST_F(ItemExport, ASecondMotionFormatWritesNothingAndCallsTheHostNoFurther) {
    void* box = host.Scene().AddItem("Box");
    Prepare(box, "Box")->motionFormat = 1;
    Write("Box.mot", "an older export");
    host.ClearUpdates();

    EXPECT_EQ(0, Export(box));
    EXPECT_EQ("an older export", Read("Box.mot"));
    EXPECT_TRUE(host.Updates().empty());
    EXPECT_TRUE(host.Ui().StatusHistory().empty());
}

TEST_F(ItemExport, AnItemWithoutSettingsIsDoneAtOnceWithOneReevaluation) {
    void* box = host.Scene().AddItem("Box");
    EXPECT_EQ(1, Export(box));
    EXPECT_EQ(std::vector<std::int32_t>{32}, host.Updates());
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(0, Export(nullptr));
}

// Times are formatted once per file and kept for the next channels: a time
// first needed by a later channel is kept too, and never outlives its file.
TEST_F(ItemExport, EveryKeyTimeIsTheFilesOwnWhicheverChannelFirstNeedsIt) {
    host.dFPS = 10.0;
    void* early = host.Scene().AddItem("Early");
    host.Scene().AddKey(early, 0).Set(0, 1.0);
    host.Scene().AddKey(early, 10).Set(0, 2.0);
    host.Scene().AddKey(early, 20).Set(1, 3.0);  // only Position Y keys the third key
    Prepare(early, "Early");
    void* late = host.Scene().AddItem("Late");
    host.Scene().AddKey(late, 0).Set(0, 1.0).Set(1, 1.0);
    host.Scene().AddKey(late, 5).Set(0, 2.0).Set(1, 2.0);
    host.Scene().AddKey(late, 7).Set(0, 3.0).Set(1, 3.0);
    Prepare(late, "Late");

    ASSERT_EQ(1, Export(early));
    ASSERT_EQ(1, Export(late));

    EXPECT_NE(std::string::npos, Read("Early.mot").find("  Key 3.000000 2.000000 "));
    const std::string lateFile = Read("Late.mot");
    EXPECT_NE(std::string::npos, lateFile.find("  Key 3.000000 0.700000 ")) << lateFile;
    EXPECT_EQ(std::string::npos, lateFile.find(" 2.000000 0 ")) << lateFile;  // no time of Early's
}

}  // namespace
}  // namespace corvantide_test
