// Creation of per-item export settings.
#include "settings/export_settings.h"

#include "host/core_services.h"
#include "host/host_interface.h"

namespace corvantide {

namespace {

// The defaults of a new record; its buffers keep the host's zero.
void FillDefaultSettings(ExportSettings* settings, void* ownerItem) {
    settings->outputDisabled = 1;
    settings->freezeMotion = 0;
    settings->coordinates = 0;
    settings->motionFormat = 0;
    settings->beginFrame = SceneFirstFrame();
    settings->frameOffset = 0;
    settings->endFrame = SceneLastFrame();
    settings->ownerItem = ownerItem;
}

}  // namespace

ExportSettings* FindSettings(void* item) { return static_cast<ExportSettings*>(GetInstanceData(item)); }

ExportSettings* GetOrCreateSettings(void* item) {
    if (ExportSettings* existing = FindSettings(item)) return existing;
    auto* created = static_cast<ExportSettings*>(CreateInstanceData(item));
    if (created == nullptr) return nullptr;
    FillDefaultSettings(created, item);
    return created;
}

void CreateSettingsForAllItems() {
    void* list = nullptr;
    const std::int32_t count = GetHierarchyList(&list);
    if (list == nullptr) return;
    for (std::int32_t i = 0; i < count; ++i) {
        if (void* item = HierarchyListItem(list, i)) GetOrCreateSettings(item);
    }
    FreeHierarchyList(&list);
}

bool EnsurePathBuffer(char** buffer) {
    if (*buffer == nullptr) *buffer = static_cast<char*>(HostAllocate(kPathCapacity, 1));
    return *buffer != nullptr;
}

}  // namespace corvantide
