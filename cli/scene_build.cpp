// A scene description made into simulated host items and key records.
#include "scene_build.h"

#include "host_text.h"

namespace corvantide::cli {

namespace {

bool Holds(const std::string& text) {
    std::string host;
    return simhost::ToHostText(text, &host);
}

std::string Refusal(const std::string& whose, const std::string& what, const std::string& text) {
    return whose + ": " + what + " \"" + text + "\" cannot be held in the host's " +
           simhost::HostCodePageName();
}

}  // namespace

std::string HostText(const std::string& text) {
    std::string host;
    return simhost::ToHostText(text, &host) ? host : text;
}

std::string UnholdableText(const SceneDescription& scene) {
    if (!Holds(scene.contentDirectory))
        return Refusal("the scene", "its content directory", scene.contentDirectory);
    for (const ItemDescription& item : scene.items) {
        const std::string whose = "item \"" + item.name + "\"";
        if (!Holds(item.name)) return Refusal(whose, "its name", item.name);
        if (item.sourcePath && !Holds(*item.sourcePath))
            return Refusal(whose, "its source path", *item.sourcePath);
    }
    for (std::size_t i = 0; i < scene.actions.size(); ++i) {
        const Action& action = scene.actions[i];
        const std::string whose = "action " + std::to_string(i + 1);
        if (!Holds(action.item)) return Refusal(whose, "the item name", action.item);
        if (action.kind != ActionKind::kPanelPicture && !Holds(action.text))
            return Refusal(whose, "the text", action.text);
        if (!Holds(action.directory)) return Refusal(whose, "the directory", action.directory);
    }
    return {};
}

void BuildScene(const SceneDescription& scene, simhost::SimHost& host) {
    simhost::SimScene& items = host.Scene();
    host.dFPS = scene.fps;
    host.iIn = scene.firstFrame;
    host.iOut = scene.lastFrame;
    host.dAnim_Clock = scene.firstFrame;
    host.SetContentDirectory(HostText(scene.contentDirectory));
    for (const ItemDescription& described : scene.items) {
        const std::string sourcePath = described.sourcePath ? HostText(*described.sourcePath) : std::string();
        void* item = items.AddItem(HostText(described.name), described.type,
                                   described.sourcePath ? sourcePath.c_str() : nullptr);
        for (const auto& [channel, value] : described.restValues) items.SetRestValue(item, channel, value);
        for (const auto& [channel, code] : described.behaviours) items.SetBehaviour(item, channel, code);
        for (const KeyDescription& key : described.keys) {
            simhost::KeyBuilder builder = items.AddKey(item, key.frame);
            for (const SlotKey& slot : key.slots) {
                if (slot.keyed) {
                    builder.Set(slot.slot, slot.value);
                } else {
                    builder.Value(slot.slot, slot.value);
                }
                builder.Span(slot.slot, static_cast<std::int8_t>(slot.span))
                    .Tcb(slot.slot, slot.tension, slot.continuity, slot.bias)
                    .Handles(slot.slot, slot.inHandle, slot.outHandle);
            }
        }
    }
    for (const ItemDescription& described : scene.items) {
        if (described.parent)
            items.SetParent(items.ItemByName(HostText(described.name)),
                            items.ItemByName(HostText(*described.parent)));
    }
    host.Scene().Evaluate(host.dAnim_Clock);
}

}  // namespace corvantide::cli
