// Null-safe wrappers around the host's core services and variables.
#include "host/core_services.h"

#include <cstring>

#include "host/host_api.h"
#include "host/host_interface.h"
#include "host/plugin_limits.h"
#include "host/record_access.h"

namespace corvantide {

namespace {
constexpr std::size_t kHierarchyEntrySize = 16;
constexpr std::size_t kHierarchyItemOffset = 8;
}  // namespace

void* GetInstanceData(void* item) {
    if (item == nullptr || HostApi.GetInstanceData == nullptr) return nullptr;
    return HostApi.GetInstanceData(item, ModuleRecordPointer, 0);
}

void* CreateInstanceData(void* item) {
    // A record the plug-in could not find again, or not hand back, would keep
    // its path buffers and itself in the host for good: none is created.
    if (item == nullptr || HostApi.CreateInstanceData == nullptr || HostApi.GetInstanceData == nullptr ||
        HostApi.FreeInstanceData == nullptr) {
        return nullptr;
    }
    return HostApi.CreateInstanceData(item, ModuleRecordPointer, 0, kSettingsRecordSize);
}

void FreeInstanceData(void* item) {
    if (item != nullptr && HostApi.FreeInstanceData != nullptr)
        HostApi.FreeInstanceData(item, ModuleRecordPointer, 0);
}

std::int32_t GetHierarchyList(void** list) {
    *list = nullptr;
    // A list the plug-in could not hand back would leak in the host: without
    // FreeHierarchyList (bound only by the panel builder) none is asked for.
    if (HostApi.GetHierarchyList == nullptr || HostApi.FreeHierarchyList == nullptr) return 0;
    return HostApi.GetHierarchyList(HostItemListRoot(), list);
}

void FreeHierarchyList(void** list) {
    if (HostApi.FreeHierarchyList != nullptr) HostApi.FreeHierarchyList(list);
}

void* HierarchyListItem(const void* list, std::int32_t index) {
    return ReadField<void*>(list, static_cast<std::size_t>(index) * kHierarchyEntrySize + kHierarchyItemOffset);
}

void UpdateFXInterface(std::int32_t flags) {
    if (HostApi.UpdateFXInterface != nullptr) HostApi.UpdateFXInterface(flags);
}

void GetChannels(void* item, std::int32_t group, double time, double* out) {
    if (HostApi.GetChannels != nullptr) HostApi.GetChannels(item, group, time, out);
}

void FindFileName(const char* path, char* name, char* directory) {
    std::memset(name, 0, kFileNamePartCapacity);
    std::memset(directory, 0, kFileNamePartCapacity);
    if (HostApi.FindFileName == nullptr || path == nullptr) return;
    HostApi.FindFileName(path, name, directory);
    // The host writes into fixed buffers; keep them terminated whatever it did.
    name[kFileNamePartCapacity - 1] = '\0';
    directory[kFileNamePartCapacity - 1] = '\0';
}

std::int32_t SceneFirstFrame() { return HostApi.iIn != nullptr ? *HostApi.iIn : 0; }
std::int32_t SceneLastFrame() { return HostApi.iOut != nullptr ? *HostApi.iOut : 0; }
double FramesPerSecond() { return HostApi.dFPS != nullptr ? *HostApi.dFPS : 0.0; }
double AnimationClock() { return HostApi.dAnim_Clock != nullptr ? *HostApi.dAnim_Clock : 0.0; }

void SetAnimationClock(double frame) {
    if (HostApi.dAnim_Clock != nullptr) *HostApi.dAnim_Clock = frame;
}

}  // namespace corvantide
