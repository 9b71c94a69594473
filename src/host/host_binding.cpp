// Look-up tables of the host names the plug-in uses, grouped as the host's
// start-up phases bind them.
#include "host/host_binding.h"

#include <cstddef>
#include <cstring>

#include "host/host_api.h"
#include "host/host_interface.h"

namespace corvantide {

HostApiTable HostApi{};

namespace {

struct HostNameBinding {
    const char* name;
    std::size_t slotOffset;  // offset of the slot in HostApiTable
};

struct HostNameGroup {
    const HostNameBinding* names;
    std::size_t count;
};

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
    {"fxBlockCreate", SLOT(fxBlockCreate)},     {"fxControlCreate", SLOT(fxControlCreate)},
    {"fxControlSet", SLOT(fxControlSet)},       {"fxControlGet", SLOT(fxControlGet)},
    {"fxControlRedraw", SLOT(fxControlRedraw)},
};

constexpr HostNameBinding kPanelBuilderNames[] = {
    {"FreeHierarchyList", SLOT(FreeHierarchyList)},   {"GetHierarchyList", SLOT(GetHierarchyList)},
    {"FindHierarchyMatch", SLOT(FindHierarchyMatch)}, {"FX_FileRequest", SLOT(FX_FileRequest)},
    {"ConfirmMessage", SLOT(ConfirmMessage)},         {"FindFileName", SLOT(FindFileName)},
};

#undef SLOT

void BindGroup(HostNameGroup group, LookupFn lookup) {
    for (std::size_t i = 0; i < group.count; ++i) {
        void* address = lookup(group.names[i].name);
        std::memcpy(reinterpret_cast<unsigned char*>(&HostApi) + group.names[i].slotOffset, &address,
                    sizeof address);
    }
}

template <std::size_t N>
HostNameGroup GroupOf(const HostNameBinding (&names)[N]) {
    return {names, N};
}

}  // namespace

void BindHostFunctionGroup() { BindGroup(GroupOf(kHostFunctionNames), HostLookup); }
// The plug-in calls no platform function, so its platform group is empty.
void BindPlatformGroup() { BindGroup({nullptr, 0}, HostPlatformLookup); }
void BindUtilityGroup() { BindGroup(GroupOf(kUtilityNames), HostLookup); }
void BindInterfaceGroup() { BindGroup(GroupOf(kInterfaceNames), HostLookup); }
void BindPanelBuilderNames() { BindGroup(GroupOf(kPanelBuilderNames), HostLookup); }

}  // namespace corvantide
