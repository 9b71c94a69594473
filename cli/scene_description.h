// A scene and a person's session at the panel, as plain records: what
// `corvantide-sim run` reads from a scene file and the demo builds in code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvantide::cli {

// Key slots: the nine motion channels, then a camera's zoom factor.
inline constexpr int kMotionChannels = 9;
inline constexpr int kZoomSlot = 12;
inline constexpr std::int32_t kCameraType = 8;

enum class SpanMode : std::int8_t { kTcb = 0, kBezier = 1, kLinear = 2, kStepped = 3 };

// One slot of a key, in the host's units (radians for rotations).
struct SlotKey {
    int slot = 0;
    double value = 0.0;
    bool keyed = true;  // the key's flag bit for this slot
    SpanMode span = SpanMode::kTcb;
    float tension = 0, continuity = 0, bias = 0;
    float inHandle = 0, outHandle = 0;  // relative to the value
};

struct KeyDescription {
    double frame = 0.0;
    std::vector<SlotKey> slots;
};

struct ItemDescription {
    std::string name;
    std::int32_t type = 0;
    std::optional<std::string> sourcePath;  // the file the item was loaded from
    std::optional<std::string> parent;
    std::vector<KeyDescription> keys;
    std::vector<std::pair<int, std::int16_t>> behaviours;  // channel, host code
    std::vector<std::pair<int, double>> restValues;        // channel, value where unkeyed
};

enum class ActionKind {
    kShowPanel,  // builds the panel first if the host has not yet
    kHidePanel,
    kBuildPanel,       // the host builds the panel (again)
    kSelect,           // item, or none when `item` is empty
    kTypeNumber,       // control, number
    kTypeText,         // control, text
    kToggle,           // control, on
    kChoose,           // control, number (entry index)
    kPress,            // control
    kAnswerRequester,  // directory, text (the chosen path); for the next requester
    kCancelRequester,
    kItemAdded,      // item
    kItemRemoved,    // item
    kEscapeAtFrame,  // number: Escape goes down at that progress line of the next export
    kPanelPicture,   // text: file name, in the output folder
};

struct Action {
    ActionKind kind = ActionKind::kShowPanel;
    std::string item;
    std::string control;  // label, or kPathText / kBatchPathText
    std::string text;
    std::string directory;
    std::int32_t number = 0;
    bool on = false;
    std::string note;  // said before the action, in the session's narration
};

struct SceneDescription {
    double fps = 30.0;
    std::int32_t firstFrame = 0;
    std::int32_t lastFrame = 60;
    std::string contentDirectory;
    std::vector<ItemDescription> items;
    std::vector<Action> actions;
};

}  // namespace corvantide::cli
