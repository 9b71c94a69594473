// Binding of host names at start-up: each group looks up its names in a fixed
// order through one of the host's look-up services and stores what comes back
// (possibly null) in HostApi. A repeated bind simply overwrites the slots.
// [interface thread]
#pragma once

namespace corvantide {

// The groups, in the order the host's start-up phases run them.
void BindHostFunctionGroup();  // phase 2, general look-up
void BindPlatformGroup();      // phase 2, platform look-up
void BindUtilityGroup();       // phase 2, general look-up
void BindInterfaceGroup();     // phase 4, general look-up
void BindPanelBuilderNames();  // each panel build, general look-up

}  // namespace corvantide
