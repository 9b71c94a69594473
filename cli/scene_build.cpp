// A scene description made into simulated host items and key records.
#include "scene_build.h"

namespace corvantide::cli {

void BuildScene(const SceneSpec& scene, simhost::SimHost& host) {
    simhost::SimScene& items = host.Scene();
    host.dFPS = scene.fps;
    host.iIn = scene.firstFrame;
    host.iOut = scene.lastFrame;
    host.dAnim_Clock = scene.firstFrame;
    host.SetContentDirectory(scene.contentDirectory);
    for (const ItemSpec& spec : scene.items) {
        void* item = items.AddItem(spec.name, spec.type, spec.sourcePath ? spec.sourcePath->c_str() : nullptr);
        for (const auto& [channel, value] : spec.restValues) items.SetRestValue(item, channel, value);
        for (const auto& [channel, code] : spec.behaviours) items.SetBehaviour(item, channel, code);
        for (const KeySpec& key : spec.keys) {
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
    for (const ItemSpec& spec : scene.items) {
        if (spec.parent) items.SetParent(items.ItemByName(spec.name), items.ItemByName(*spec.parent));
    }
    host.Scene().Evaluate(host.dAnim_Clock);
}

}  // namespace corvantide::cli
