// A scene description made into simulated host items and key records.
#include "scene_build.h"

namespace corvantide::cli {

void BuildScene(const SceneDescription& scene, simhost::SimHost& host) {
    simhost::SimScene& items = host.Scene();
    host.dFPS = scene.fps;
    host.iIn = scene.firstFrame;
    host.iOut = scene.lastFrame;
    host.dAnim_Clock = scene.firstFrame;
    host.SetContentDirectory(scene.contentDirectory);
    for (const ItemDescription& described : scene.items) {
        void* item = items.AddItem(described.name, described.type,
                                   described.sourcePath ? described.sourcePath->c_str() : nullptr);
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
            items.SetParent(items.ItemByName(described.name), items.ItemByName(*described.parent));
    }
    host.Scene().Evaluate(host.dAnim_Clock);
}

}  // namespace corvantide::cli
