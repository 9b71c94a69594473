// Scene files: JSON checked field by field, every fault named by its place.
#include "scene_json.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <new>
#include <nlohmann/json.hpp>
#include <numbers>
#include <set>
#include <stdexcept>

#include "scene_encoding.h"

namespace corvantide::cli {
namespace {

using nlohmann::json;

constexpr std::array<std::string_view, 13> kSlotNames = {
    "position.x", "position.y", "position.z", "heading", "pitch", "bank", "scale.x",
    "scale.y",    "scale.z",    "",           "",        "",      "zoom"};
// A host item record is 6 KiB and a key record nearly 2 KiB: these keep a
// scene file from asking for more memory than a workstation scene would.
constexpr std::size_t kMaxItems = 10'000;
constexpr std::size_t kMaxKeysPerItem = 20'000;
// Frames of the scene and of keys, and the frame rate: a day and more at any
// usual rate, and rates from a frame every ten seconds to a thousand a second.
constexpr std::int64_t kFrameLimit = 1'000'000;
constexpr double kLowestFps = 0.1;
constexpr double kHighestFps = 1000.0;
constexpr int kFirstRotation = 3;
constexpr int kLastRotation = 5;

// Controls a scene may name, by kind. "path" and "batch path" are the two
// unlabelled text fields beside the "Path" and "Batch Path" buttons.
const std::set<std::string> kNumberFields = {"Begin Frame", "End Frame", "Offset"};
const std::set<std::string> kTextFields = {"path", "batch path"};
const std::set<std::string> kToggles = {"Freeze Motion", "Disable All Output Operations", "Use Batch Directory",
                                        "Use Current Data"};
const std::map<std::string, std::vector<std::string>> kLists = {{"Coordinates", {"Local", "World"}},
                                                                {"Motion Format", {"Lightwave 6.x"}}};
const std::set<std::string> kButtons = {"Path", "Batch Path", "Export Current Motion", "Setup Batch",
                                        "Export Batch Motions"};

// A fault in the scene, already worded for the user.
class SceneError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::string Choices(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + Quoted(name);
    return text;
}

std::string TypeName(const json& value) {
    if (value.is_number()) return "a number";
    if (value.is_string()) return "a text";
    if (value.is_boolean()) return "true/false";
    if (value.is_array()) return "a list";
    if (value.is_object()) return "an object";
    return "null";
}

// One JSON object being read, with where it is for messages; remembers the
// fields read so that unknown (misspelt) fields can be named.
class Fields {
public:
    // `separator` joins the place and a field's name.
    Fields(const json& object, std::string place, std::string separator = ".")
        : object_(object), place_(std::move(place)), separator_(std::move(separator)) {
        if (!object_.is_object()) Fail("", "must be an object, not " + TypeName(object_));
    }

    [[noreturn]] void Fail(std::string_view field, const std::string& reason) const {
        std::string where = place_;
        if (!field.empty()) where += (where.empty() ? "" : separator_) + std::string(field);
        throw SceneError((where.empty() ? std::string("the scene") : where) + ": " + reason);
    }
    const std::string& Place() const { return place_; }
    std::string PlaceOf(std::string_view field) const {
        return place_.empty() ? std::string(field) : place_ + separator_ + std::string(field);
    }

    bool Has(const std::string& field) {
        seen_.insert(field);
        return object_.contains(field) && !object_.at(field).is_null();
    }
    const json& At(const std::string& field) {
        if (!Has(field)) Fail(field, "is missing");
        return object_.at(field);
    }

    double Number(const std::string& field) {
        const json& value = At(field);
        if (!value.is_number()) Fail(field, "must be a number, not " + TypeName(value));
        const double number = value.get<double>();
        if (!std::isfinite(number)) Fail(field, "must be a finite number");
        return number;
    }
    double Number(const std::string& field, double fallback) { return Has(field) ? Number(field) : fallback; }

    std::int64_t Integer(const std::string& field, std::int64_t low, std::int64_t high) {
        const json& value = At(field);
        if (!value.is_number_integer()) Fail(field, "must be a whole number, not " + Describe(value));
        const bool isUnsigned = value.is_number_unsigned();
        const std::int64_t number = isUnsigned && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)
                                        ? high + 1
                                        : value.get<std::int64_t>();
        if (number < low || number > high)
            Fail(field, "must be from " + std::to_string(low) + " to " + std::to_string(high) + ", not " +
                            value.dump());
        return number;
    }

    std::string Text(const std::string& field) {
        const json& value = At(field);
        if (!value.is_string()) Fail(field, "must be a text, not " + TypeName(value));
        return value.get<std::string>();
    }
    std::optional<std::string> OptionalText(const std::string& field) {
        if (!Has(field)) return std::nullopt;
        return Text(field);
    }

    bool Boolean(const std::string& field) {
        const json& value = At(field);
        if (!value.is_boolean()) Fail(field, "must be true or false, not " + TypeName(value));
        return value.get<bool>();
    }

    const json& List(const std::string& field) {
        const json& value = At(field);
        if (!value.is_array()) Fail(field, "must be a list, not " + TypeName(value));
        return value;
    }

    // Every field of the object was read.
    void NoOthers() const {
        for (const auto& [name, value] : object_.items()) {
            if (!seen_.count(name)) Fail(name, "is not a known field here");
        }
    }

private:
    static std::string Describe(const json& value) {
        return value.is_number() ? value.dump() : TypeName(value);
    }

    const json& object_;
    std::string place_;
    std::string separator_;
    std::set<std::string> seen_;
};

int SlotOfName(const Fields& fields, std::string_view owner, const std::string& name) {
    for (std::size_t slot = 0; slot < kSlotNames.size(); ++slot) {
        if (!kSlotNames[slot].empty() && kSlotNames[slot] == name) return static_cast<int>(slot);
    }
    fields.Fail(owner,
                Quoted(name) + " is not a channel (position.x/y/z, heading, pitch, bank, scale.x/y/z, zoom)");
}

bool IsRotation(int slot) { return slot >= kFirstRotation && slot <= kLastRotation; }
double FromDegrees(int slot, double value) {
    return IsRotation(slot) ? value * std::numbers::pi / 180.0 : value;
}

SpanMode ReadSpan(Fields& fields, const std::string& field) {
    const std::string name = fields.Text(field);
    if (name == "tcb") return SpanMode::kTcb;
    if (name == "bezier") return SpanMode::kBezier;
    if (name == "linear") return SpanMode::kLinear;
    if (name == "stepped") return SpanMode::kStepped;
    fields.Fail(field, "unknown span mode " + Quoted(name) +
                           " (expected \"tcb\", \"bezier\", \"linear\" or \"stepped\")");
}

std::vector<double> NumberList(Fields& fields, const std::string& field, std::size_t count, const char* what) {
    const json& list = fields.List(field);
    if (list.size() != count) fields.Fail(field, std::string("must hold ") + what);
    std::vector<double> numbers;
    for (const json& entry : list) {
        if (!entry.is_number() || !std::isfinite(entry.get<double>()))
            fields.Fail(field, std::string("must hold ") + what + " (numbers)");
        numbers.push_back(entry.get<double>());
    }
    return numbers;
}

float AsFloat(Fields& fields, const std::string& field, double value) {
    if (std::abs(value) > std::numeric_limits<float>::max()) fields.Fail(field, "is too large");
    return static_cast<float>(value);
}

// The shape settings a key gives all its channels, or one channel overrides.
struct SpanSettings {
    SpanMode span = SpanMode::kTcb;
    double tcb[3] = {0, 0, 0};
    double handles[2] = {0, 0};
};

void ReadSpanSettings(Fields& fields, SpanSettings* settings) {
    if (fields.Has("span")) settings->span = ReadSpan(fields, "span");
    if (fields.Has("tcb")) {
        const auto tcb = NumberList(fields, "tcb", 3, "tension, continuity and bias");
        for (int i = 0; i < 3; ++i) settings->tcb[i] = tcb[static_cast<std::size_t>(i)];
    }
    if (fields.Has("handles")) {
        const auto handles = NumberList(fields, "handles", 2, "the incoming and outgoing handle");
        settings->handles[0] = handles[0];
        settings->handles[1] = handles[1];
    }
}

KeyDescription ReadKey(const json& object, const std::string& place, bool camera) {
    Fields fields(object, place);
    KeyDescription key;
    key.frame = fields.Number("frame");
    if (std::abs(key.frame) > static_cast<double>(kFrameLimit))
        fields.Fail("frame", "must be from " + std::to_string(-kFrameLimit) + " to " +
                                 std::to_string(kFrameLimit) + ", not " + fields.At("frame").dump());
    SpanSettings shared;
    ReadSpanSettings(fields, &shared);
    const json& values = fields.At("values");
    Fields valueFields(values, fields.PlaceOf("values"));
    std::optional<std::set<int>> keyed;
    if (fields.Has("keyed")) {
        keyed.emplace();
        for (const json& name : fields.List("keyed")) {
            if (!name.is_string()) fields.Fail("keyed", "must list channel names");
            const int slot = SlotOfName(fields, "keyed", name.get<std::string>());
            if (!values.contains(name.get<std::string>()))
                fields.Fail("keyed", "channel " + name.get<std::string>() + " is keyed but has no value");
            keyed->insert(slot);
        }
    }
    fields.NoOthers();
    if (values.empty()) valueFields.Fail("", "must give at least one channel's value");
    for (const auto& [name, value] : values.items()) {
        const int slot = SlotOfName(valueFields, "", name);
        if (slot == kZoomSlot && !camera) valueFields.Fail(name, "only a camera has a zoom factor");
        SpanSettings settings = shared;
        double number = 0.0;
        if (value.is_object()) {
            Fields channel(value, valueFields.PlaceOf(name));
            number = channel.Number("value");
            ReadSpanSettings(channel, &settings);
            channel.NoOthers();
        } else if (value.is_number() && std::isfinite(value.get<double>())) {
            number = value.get<double>();
        } else {
            valueFields.Fail(name, "must be a number or an object with \"value\", not " + TypeName(value));
        }
        SlotKey slotKey;
        slotKey.slot = slot;
        slotKey.value = FromDegrees(slot, number);
        slotKey.keyed = !keyed || keyed->count(slot) > 0;
        slotKey.span = settings.span;
        slotKey.tension = AsFloat(fields, "tcb", settings.tcb[0]);
        slotKey.continuity = AsFloat(fields, "tcb", settings.tcb[1]);
        slotKey.bias = AsFloat(fields, "tcb", settings.tcb[2]);
        slotKey.inHandle = AsFloat(fields, "handles", FromDegrees(slot, settings.handles[0]));
        slotKey.outHandle = AsFloat(fields, "handles", FromDegrees(slot, settings.handles[1]));
        key.slots.push_back(slotKey);
    }
    return key;
}

ItemDescription ReadItem(const json& object, std::size_t index) {
    const std::string place = "items[" + std::to_string(index) + "]";
    Fields fields(object, place);
    ItemDescription item;
    item.name = fields.Text("name");
    if (item.name.empty()) fields.Fail("name", "must not be empty");
    const std::string named = place + " " + Quoted(item.name);
    Fields itemFields(object, named);
    itemFields.Text("name");
    if (itemFields.Has("type")) {
        const json& type = itemFields.At("type");
        if (type.is_string()) {
            const std::string name = type.get<std::string>();
            if (name == "camera") {
                item.type = kCameraType;
            } else if (name != "object") {
                itemFields.Fail("type", "must be \"camera\", \"object\" or a number, not " + Quoted(name));
            }
        } else {
            item.type = static_cast<std::int32_t>(itemFields.Integer(
                "type", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
        }
    }
    item.sourcePath = itemFields.OptionalText("source");
    item.parent = itemFields.OptionalText("parent");
    const bool camera = item.type == kCameraType;
    if (itemFields.Has("keys")) {
        const json& keys = itemFields.List("keys");
        if (keys.size() > kMaxKeysPerItem)
            itemFields.Fail("keys", "more than " + std::to_string(kMaxKeysPerItem) + " keys");
        for (std::size_t k = 0; k < keys.size(); ++k) {
            item.keys.push_back(
                ReadKey(keys[k], itemFields.PlaceOf("keys[" + std::to_string(k) + "]"), camera));
        }
    }
    for (const char* table : {"behaviours", "rest"}) {
        if (!itemFields.Has(table)) continue;
        Fields entries(itemFields.At(table), itemFields.PlaceOf(table));
        for (const auto& [name, value] : itemFields.At(table).items()) {
            const int slot = SlotOfName(entries, "", name);
            if (slot >= kMotionChannels) entries.Fail(name, "only the nine motion channels have one");
            if (std::string_view(table) == "rest") {
                item.restValues.emplace_back(slot, FromDegrees(slot, entries.Number(name)));
            } else {
                item.behaviours.emplace_back(slot, static_cast<std::int16_t>(entries.Integer(
                                                       name, std::numeric_limits<std::int16_t>::min(),
                                                       std::numeric_limits<std::int16_t>::max())));
            }
        }
    }
    itemFields.NoOthers();
    return item;
}

std::string ControlOf(Fields& fields, const std::string& field, const std::set<std::string>& names,
                      const char* kind) {
    const std::string label = fields.Text(field);
    if (!names.count(label))
        fields.Fail(field, Quoted(label) + " is not " + kind + " of the panel (" + Choices(names) + ")");
    return label;
}

void NeedItem(Fields& fields, const std::string& name, const SceneDescription& scene) {
    for (const ItemDescription& item : scene.items) {
        if (item.name == name) return;
    }
    fields.Fail("item", "the scene has no item " + Quoted(name));
}

// "type": text into a text field, or a number into a number field.
void ReadTyping(Fields& fields, Action* action) {
    const std::string label = fields.Text("field");
    action->control = label;
    if (kTextFields.count(label)) {
        action->kind = ActionKind::kTypeText;
        action->text = fields.Text("text");
    } else if (kNumberFields.count(label)) {
        action->kind = ActionKind::kTypeNumber;
        action->number = static_cast<std::int32_t>(fields.Integer(
            "value", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    } else {
        std::set<std::string> all = kNumberFields;
        all.insert(kTextFields.begin(), kTextFields.end());
        fields.Fail("field", Quoted(label) + " is not a field of the panel (" + Choices(all) + ")");
    }
}

// "choose": a list's entry by its text, or by its number (any 32-bit number).
void ReadChoice(Fields& fields, Action* action) {
    action->kind = ActionKind::kChoose;
    std::set<std::string> names;
    for (const auto& [name, entries] : kLists) names.insert(name);
    action->control = ControlOf(fields, "list", names, "a list");
    const std::vector<std::string>& entries = kLists.at(action->control);
    const json& entry = fields.At("entry");
    if (!entry.is_string()) {
        action->number = static_cast<std::int32_t>(fields.Integer(
            "entry", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
        return;
    }
    const auto found = std::find(entries.begin(), entries.end(), entry.get<std::string>());
    if (found == entries.end()) {
        fields.Fail("entry", Quoted(entry.get<std::string>()) + " is not an entry of " +
                                 Quoted(action->control) + " (" +
                                 Choices(std::set<std::string>(entries.begin(), entries.end())) + ")");
    }
    action->number = static_cast<std::int32_t>(found - entries.begin());
}

Action ReadAction(const json& object, std::size_t index, const SceneDescription& scene) {
    // Numbered from 1, as the run numbers its steps.
    Fields fields(object, "action " + std::to_string(index + 1), ", ");
    Action action;
    const std::string verb = fields.Text("do");
    if (fields.Has("note")) action.note = fields.Text("note");
    if (verb == "showPanel") {
        action.kind = ActionKind::kShowPanel;
    } else if (verb == "hidePanel") {
        action.kind = ActionKind::kHidePanel;
    } else if (verb == "buildPanel") {
        action.kind = ActionKind::kBuildPanel;
    } else if (verb == "select") {
        action.kind = ActionKind::kSelect;
        if (fields.Has("item")) {
            action.item = fields.Text("item");
            NeedItem(fields, action.item, scene);
        }
    } else if (verb == "type") {
        ReadTyping(fields, &action);
    } else if (verb == "toggle") {
        action.kind = ActionKind::kToggle;
        action.control = ControlOf(fields, "control", kToggles, "a toggle");
        action.on = fields.Boolean("on");
    } else if (verb == "choose") {
        ReadChoice(fields, &action);
    } else if (verb == "press") {
        action.kind = ActionKind::kPress;
        action.control = ControlOf(fields, "button", kButtons, "a button");
    } else if (verb == "answerRequester") {
        action.kind = ActionKind::kAnswerRequester;
        action.directory = fields.Text("directory");
        action.text = fields.Has("path") ? fields.Text("path") : std::string();
    } else if (verb == "cancelRequester") {
        action.kind = ActionKind::kCancelRequester;
    } else if (verb == "itemAdded" || verb == "itemRemoved") {
        action.kind = verb == "itemAdded" ? ActionKind::kItemAdded : ActionKind::kItemRemoved;
        action.item = fields.Text("item");
        NeedItem(fields, action.item, scene);
    } else if (verb == "pressEscape") {
        action.kind = ActionKind::kEscapeAtFrame;
        action.number =
            static_cast<std::int32_t>(fields.Integer("atFrame", 1, std::numeric_limits<std::int32_t>::max()));
    } else if (verb == "panelPicture") {
        action.kind = ActionKind::kPanelPicture;
        action.text = fields.Text("file");
        if (action.text.empty() || action.text.find_first_of("/\\") != std::string::npos)
            fields.Fail("file", "must be a plain file name (it is written in the output folder)");
    } else {
        fields.Fail("do", "unknown action " + Quoted(verb) +
                              " (showPanel, hidePanel, buildPanel, select, type, toggle, choose, press, "
                              "answerRequester, cancelRequester, itemAdded, itemRemoved, pressEscape, "
                              "panelPicture)");
    }
    fields.NoOthers();
    return action;
}

void CheckParents(const SceneDescription& scene) {
    std::map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        const ItemDescription& item = scene.items[i];
        const std::string place = "items[" + std::to_string(i) + "] " + Quoted(item.name);
        if (!byName.emplace(item.name, i).second)
            throw SceneError(place + ".name: another item already has this name");
    }
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        const ItemDescription& item = scene.items[i];
        const std::string place = "items[" + std::to_string(i) + "] " + Quoted(item.name) + ".parent";
        if (!item.parent) continue;
        if (!byName.count(*item.parent))
            throw SceneError(place + ": the scene has no item " + Quoted(*item.parent));
        std::size_t at = i;
        for (std::size_t step = 0; step <= scene.items.size(); ++step) {
            const auto& parent = scene.items[at].parent;
            if (!parent) break;
            at = byName.at(*parent);
            if (at == i)
                throw SceneError(place + ": " + Quoted(*item.parent) + " is the item's own descendant");
        }
    }
}

// "line L, column C" of a byte offset, for JSON syntax errors.
std::string Position(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// "number too large at line 3, column 10: 1e400" from the reader's own text,
// which quotes the number ("number overflow parsing '1e400'").
std::string TooLarge(std::string_view text, std::string_view what) {
    constexpr std::size_t kShownDigits = 24;
    const std::size_t open = what.find('\'');
    const std::size_t close = open == std::string_view::npos ? open : what.find('\'', open + 1);
    if (close == std::string_view::npos) return "a number too large to read";
    const std::string_view number = what.substr(open + 1, close - open - 1);
    const std::size_t at = text.find(number);
    std::string shown(number.substr(0, kShownDigits));
    if (number.size() > kShownDigits) shown += "... (" + std::to_string(number.size()) + " characters)";
    return "a number too large to read" +
           (at == std::string_view::npos ? std::string() : " at " + Position(text, at)) + ": " + shown;
}

void ReadScene(std::string_view text, SceneDescription* scene) {
    const json document = json::parse(text.begin(), text.end());
    Fields fields(document, "");
    scene->fps = fields.Number("fps", 30.0);
    if (scene->fps < kLowestFps || scene->fps > kHighestFps)
        fields.Fail("fps", "must be from 0.1 to 1000, not " + fields.At("fps").dump());
    if (fields.Has("firstFrame"))
        scene->firstFrame = static_cast<std::int32_t>(fields.Integer("firstFrame", -kFrameLimit, kFrameLimit));
    if (fields.Has("lastFrame"))
        scene->lastFrame = static_cast<std::int32_t>(fields.Integer("lastFrame", -kFrameLimit, kFrameLimit));
    if (scene->lastFrame < scene->firstFrame) fields.Fail("lastFrame", "must not be before firstFrame");
    if (fields.Has("contentDirectory")) scene->contentDirectory = fields.Text("contentDirectory");
    const json& items = fields.List("items");
    if (items.size() > kMaxItems) fields.Fail("items", "more than " + std::to_string(kMaxItems) + " items");
    for (std::size_t i = 0; i < items.size(); ++i) scene->items.push_back(ReadItem(items[i], i));
    CheckParents(*scene);
    if (fields.Has("actions")) {
        const json& actions = fields.List("actions");
        for (std::size_t i = 0; i < actions.size(); ++i)
            scene->actions.push_back(ReadAction(actions[i], i, *scene));
    }
    fields.NoOthers();
}

}  // namespace

bool ParseSceneJson(std::string_view bytes, SceneDescription* scene, std::string* error) {
    *scene = SceneDescription();
    std::string decoded;
    try {
        if (!SceneTextAsUtf8(bytes, &decoded, error)) return false;
    } catch (const std::bad_alloc&) {
        *error = "too large to read into memory";
        return false;
    }
    const std::string_view text = decoded;
    try {
        ReadScene(text, scene);
        return true;
    } catch (const SceneError& fault) {
        *error = fault.what();
    } catch (const json::parse_error& fault) {
        *error = "not valid JSON at " + Position(text, fault.byte > 0 ? fault.byte - 1 : 0);
    } catch (const json::out_of_range& fault) {
        *error = TooLarge(text, fault.what());
    } catch (const json::exception&) {
        *error = "a value of a kind the scene reader cannot take";
    } catch (const std::bad_alloc&) {
        *error = "too large to read into memory";
    } catch (const std::exception&) {
        *error = "cannot be read";
    }
    *scene = SceneDescription();
    return false;
}

}  // namespace corvantide::cli
