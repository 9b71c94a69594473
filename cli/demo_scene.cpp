// The demo's scene: a camera that dollies and zooms, a small character
// (hips, spine, arm, hand) whose world motion differs from its local keys,
// keys of every span mode, several behaviours, items loaded from a relative
// and from an absolute folder, and a prop without keys.
#include "demo_scene.h"

#include <array>
#include <filesystem>
#include <numbers>

#include "motfile/utf8_path.h"

namespace corvantide::cli {
namespace {

constexpr double kFps = 30.0;
constexpr std::int32_t kLastFrame = 60;

enum Channel { kX, kY, kZ, kHeading, kPitch, kBank, kScaleX, kScaleY, kScaleZ };

// Host behaviour codes (the file's in brackets).
constexpr std::int16_t kReset = 0;         // (Reset)
constexpr std::int16_t kRepeat = 2;        // (Repeat)
constexpr std::int16_t kOscillate = 4;     // (Oscillate)
constexpr std::int16_t kOffsetRepeat = 5;  // (Offset Repeat)
constexpr std::int16_t kLinear = 9;        // (Linear)

double Degrees(double angle) { return angle * std::numbers::pi / 180.0; }

// A key that keys all nine channels with these values, TCB spans at zero.
KeyDescription Pose(double frame, const std::array<double, kMotionChannels>& values) {
    KeyDescription key;
    key.frame = frame;
    for (int c = 0; c < kMotionChannels; ++c) {
        SlotKey slot;
        slot.slot = c;
        slot.value = values[static_cast<std::size_t>(c)];
        key.slots.push_back(slot);
    }
    return key;
}

SlotKey& Slot(KeyDescription& key, int slot) {
    for (SlotKey& entry : key.slots) {
        if (entry.slot == slot) return entry;
    }
    key.slots.push_back(SlotKey{});
    key.slots.back().slot = slot;
    return key.slots.back();
}

void Span(std::vector<KeyDescription>& keys, int channel, SpanMode mode) {
    for (KeyDescription& key : keys) Slot(key, channel).span = mode;
}

ItemDescription Camera() {
    ItemDescription camera{"Camera", kCameraType, std::nullopt, std::nullopt, {}, {}, {}};
    const double heading[] = {-20, 0, 20};
    const double x[] = {-4, 0, 4};
    const double z[] = {-7, -5.5, -7};
    const double zoom[] = {3.2, 2.0, 3.2};
    for (int i = 0; i < 3; ++i) {
        KeyDescription key = Pose(30.0 * i, {x[i], 1.6, z[i], Degrees(heading[i]), Degrees(-8), 0, 1, 1, 1});
        SlotKey& zoomKey = Slot(key, kZoomSlot);
        zoomKey.value = zoom[i];
        zoomKey.tension = 0.3f;
        camera.keys.push_back(key);
    }
    return camera;
}

ItemDescription Hips() {
    ItemDescription hips{"Hips", 0, std::string("Objects\\Hips.lwo"), std::nullopt, {}, {}, {}};
    for (int i = 0; i <= 4; ++i) {
        const double frame = 15.0 * i;
        const double bob = i % 2 == 0 ? 1.0 : 0.92;
        hips.keys.push_back(Pose(frame, {0, bob, 0.5 * i, Degrees(i % 2 == 0 ? -6 : 6), 0, 0, 1, 1, 1}));
    }
    Span(hips.keys, kZ, SpanMode::kLinear);  // walks forward at an even pace
    Span(hips.keys, kHeading, SpanMode::kBezier);
    for (KeyDescription& key : hips.keys) {
        Slot(key, kHeading).inHandle = static_cast<float>(Degrees(-4));
        Slot(key, kHeading).outHandle = static_cast<float>(Degrees(4));
        Slot(key, kY).tension = -0.3f;  // a rounder bob
    }
    hips.behaviours = {{kY, kRepeat}, {kZ, kLinear}, {kHeading, kOscillate}};
    return hips;
}

ItemDescription Spine() {
    ItemDescription spine{"Spine", 0, std::nullopt, std::string("Hips"), {}, {}, {}};
    const double pitch[] = {4, 12, 4, 12, 4};
    const double bank[] = {0, 5, 0, -5, 0};
    for (int i = 0; i <= 4; ++i) {
        KeyDescription key = Pose(15.0 * i, {0, 0.25, 0, 0, Degrees(pitch[i]), Degrees(bank[i]), 1, 1, 1});
        Slot(key, kPitch).continuity = 0.4f;
        Slot(key, kPitch).bias = 0.3f;
        spine.keys.push_back(key);
    }
    spine.behaviours = {{kPitch, kOffsetRepeat}, {kBank, kReset}};
    return spine;
}

ItemDescription Arm() {
    ItemDescription arm{"Arm", 0, std::nullopt, std::string("Spine"), {}, {}, {}};
    const double swing[] = {-35, 35, -35, 35, -35};
    for (int i = 0; i <= 4; ++i) {
        KeyDescription key = Pose(15.0 * i, {0.22, 0.3, 0, 0, Degrees(swing[i]), Degrees(-10), 1, 1, 1});
        Slot(key, kPitch).span = SpanMode::kBezier;
        Slot(key, kPitch).inHandle = static_cast<float>(Degrees(swing[i] > 0 ? -10 : 10));
        Slot(key, kPitch).outHandle = static_cast<float>(Degrees(swing[i] > 0 ? -10 : 10));
        arm.keys.push_back(key);
    }
    arm.behaviours = {{kPitch, kOscillate}};
    return arm;
}

ItemDescription Hand() {
    ItemDescription hand{"Hand", 0, std::nullopt, std::string("Arm"), {}, {}, {}};
    const double bank[] = {0, 30, 30, -20, 0};
    for (int i = 0; i <= 4; ++i) {
        hand.keys.push_back(Pose(15.0 * i, {0, -0.3, 0.02, 0, Degrees(10), Degrees(bank[i]), 1, 1, 1}));
    }
    Span(hand.keys, kBank, SpanMode::kStepped);  // the wrist snaps between poses
    Span(hand.keys, kPitch, SpanMode::kLinear);
    hand.behaviours = {{kBank, kRepeat}};
    return hand;
}

Action Do(ActionKind kind, std::string note = {}) {
    Action action;
    action.kind = kind;
    action.note = std::move(note);
    return action;
}

Action With(Action action, std::string control, std::int32_t number = 0, bool on = false) {
    action.control = std::move(control);
    action.number = number;
    action.on = on;
    return action;
}

}  // namespace

SceneDescription DemoScene(const std::string& outputFolder) {
    namespace fs = std::filesystem;
    const std::string folder =
        motfile::Utf8Text(fs::absolute(motfile::Utf8Path(outputFolder)).lexically_normal());
    const std::string trimmed = folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')
                                    ? folder.substr(0, folder.size() - 1)
                                    : folder;
    SceneDescription scene;
    scene.fps = kFps;
    scene.firstFrame = 0;
    scene.lastFrame = kLastFrame;
    scene.contentDirectory = trimmed;
    scene.items = {Camera(), Hips(), Spine(), Arm(), Hand()};
    ItemDescription lamp{"Lamp", 0, std::string("D:\\Library\\Props\\Lamp.lwo"), std::nullopt, {}, {}, {}};
    lamp.restValues = {{kX, 1.5}, {kZ, 2.0}};
    scene.items.push_back(lamp);

    Action select = Do(ActionKind::kSelect,
                       "Export the hand's motion from its keys, in World values (the hand hangs from the arm, "
                       "spine and hips):");
    select.item = "Hand";
    Action answer = Do(ActionKind::kAnswerRequester);
    answer.directory = trimmed;
    answer.text = motfile::Utf8Text(motfile::Utf8Path(trimmed) / "Hand_World");
    Action batchPath = Do(ActionKind::kTypeText, "Then every item into one folder:");
    batchPath.control = "batch path";
    batchPath.text = trimmed;
    Action picture = Do(ActionKind::kPanelPicture);
    picture.text = "panel.svg";

    scene.actions = {
        Do(ActionKind::kShowPanel, "The user opens Corvantide's panel in the host:"),
        select,
        With(Do(ActionKind::kChoose), "Coordinates", 1),
        answer,
        With(Do(ActionKind::kPress), "Path"),
        With(Do(ActionKind::kPress), "Export Current Motion"),
        With(Do(ActionKind::kChoose,
                "Prepare a batch. \"Use Current Data\" copies the hand's settings (keys, Local) to every item; "
                "without a batch directory each item goes beside the file it came from:"),
             "Coordinates", 0),
        With(Do(ActionKind::kPress), "Setup Batch"),
        batchPath,
        With(Do(ActionKind::kToggle), "Use Batch Directory", 0, true),
        With(Do(ActionKind::kPress), "Setup Batch"),
        picture,
        With(Do(ActionKind::kPress, "Export every item:"), "Export Batch Motions"),
    };
    return scene;
}

}  // namespace corvantide::cli
