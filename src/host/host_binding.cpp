// Look-up tables of the host names the plug-in uses, grouped as the host's
// start-up phases bind them.
#include "host/host_binding.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "host/host_api.h"
#include "host/host_interface.h"

namespace corvantide {

HostApiTable HostApi{};

namespace {

#define SLOT(field) offsetof(HostApiTable, field)

constexpr HostNameBinding kHostFunctionNames[] = {
    {"CreateInstanceData", SLOT(CreateInstanceData)},
    {"GetInstanceData", SLOT(GetInstanceData)},
    {"FreeInstanceData", SLOT(FreeInstanceData)},
    {"UpdateFXInterface", SLOT(UpdateFXInterface)},
    {"GetChannels", SLOT(GetChannels)},
    {"iIn", SLOT(iIn)},
    {"iOut", SLOT(iOut)},
    {"dFPS", SLOT(dFPS)},
    {"dAnim_Clock", SLOT(dAnim_Clock)},
};

constexpr HostNameBinding kUtilityNames[] = {
    {"GetHierarchyList", SLOT(GetHierarchyList)},
    {"FindHierarchyMatch", SLOT(FindHierarchyMatch)},
    {"FindFileName", SLOT(FindFileName)},
};

constexpr HostNameBinding kInterfaceNames[] = {
    {"fxBlockCreate", SLOT(fxBlockCreate)},
    {"fxControlCreate", SLOT(fxControlCreate)},
    {"fxControlSet", SLOT(fxControlSet)},
    {"fxControlGet", SLOT(fxControlGet)},
    {"fxControlRedraw", SLOT(fxControlRedraw)},
};

constexpr HostNameBinding kPanelBuilderNames[] = {
    {"FreeHierarchyList", SLOT(FreeHierarchyList)},
    {"GetHierarchyList", SLOT(GetHierarchyList)},
    {"FindHierarchyMatch", SLOT(FindHierarchyMatch)},
    {"FX_FileRequest", SLOT(FX_FileRequest)},
    {"ConfirmMessage", SLOT(ConfirmMessage)},
    {"FindFileName", SLOT(FindFileName)},
};

#undef SLOT

using Lookup = void* (*)(const char* name);

void BindGroup(HostNameGroup group, Lookup lookup) {
    for (std::size_t i = 0; i < group.count; ++i) {
        void* address = lookup(group.names[i].name);
        std::memcpy(reinterpret_cast<unsigned char*>(&HostApi) + group.names[i].slotOffset,
                    &address, sizeof address);
    }
}

}  // namespace

HostNameGroup HostFunctionGroup() { return {kHostFunctionNames, std::size(kHostFunctionNames)}; }
// The plug-in calls no platform function, so its platform group is empty.
HostNameGroup PlatformGroup() { return {nullptr, 0}; }
HostNameGroup UtilityGroup() { return {kUtilityNames, std::size(kUtilityNames)}; }
HostNameGroup InterfaceGroup() { return {kInterfaceNames, std::size(kInterfaceNames)}; }
HostNameGroup PanelBuilderGroup() { return {kPanelBuilderNames, std::size(kPanelBuilderNames)}; }

void BindHostFunctionGroup() { BindGroup(HostFunctionGroup(), HostLookup); }
void BindPlatformGroup() { BindGroup(PlatformGroup(), HostPlatformLookup); }
void BindUtilityGroup() { BindGroup(UtilityGroup(), HostLookup); }
void BindInterfaceGroup() { BindGroup(InterfaceGroup(), HostLookup); }
void BindPanelBuilderNames() { BindGroup(PanelBuilderGroup(), HostLookup); }

}  // namespace corvantide
