// Binding of host names at start-up: each group looks up its names in a fixed
// order through one of the host's look-up services and stores what comes back
// (possibly null) in HostApi. A repeated bind simply overwrites the slots.
#pragma once

#include <cstddef>

namespace corvantide {

struct HostNameBinding {
    const char* name;
    std::size_t slotOffset;  // offset of the slot in HostApiTable
};

struct HostNameGroup {
    const HostNameBinding* names;
    std::size_t count;
};

// The groups, in the order the host's start-up phases run them.
HostNameGroup HostFunctionGroup();   // phase 2, general look-up
HostNameGroup PlatformGroup();       // phase 2, platform look-up
HostNameGroup UtilityGroup();        // phase 2, general look-up
HostNameGroup InterfaceGroup();      // phase 4, general look-up
HostNameGroup PanelBuilderGroup();   // each panel build, general look-up

void BindHostFunctionGroup();
void BindPlatformGroup();
void BindUtilityGroup();
void BindInterfaceGroup();
void BindPanelBuilderNames();

}  // namespace corvantide
