// Calls into the host's core services and variables.
//
// Every wrapper skips the call when the host did not bind the name (or the
// plug-in was never initialised) and yields the neutral result given here.
// All run on the host's interface thread.
#pragma once

#include <cstdint>

#include "host/plugin_limits.h"

namespace corvantide {

// The item's settings block for this module, or null (also for a null item,
// which is never handed to the host).
void* GetInstanceData(void* item);
// A new zero-filled 64-byte settings block for the item, or null (also for a
// null item, and when the host lacks GetInstanceData or FreeInstanceData to
// find and free it).
void* CreateInstanceData(void* item);
// Gives the item's settings block back to the host; nothing for a null item.
void FreeInstanceData(void* item);

// A host-owned item list into *list (`list` not null); FreeHierarchyList
// releases it. *list stays null when the host gives none, or when
// FreeHierarchyList is unbound (the list could not be handed back); the
// count may be zero or negative.
std::int32_t GetHierarchyList(void** list);
void FreeHierarchyList(void** list);
// The item pointer of entry `index` of a hierarchy list (not null; second 8
// bytes of each 16), which may be null: callers skip a null entry.
void* HierarchyListItem(const void* list, std::int32_t index);

void UpdateFXInterface(std::int32_t flags);
inline constexpr std::int32_t kRefreshInterface = 0x9400;  // after every panel action
inline constexpr std::int32_t kReevaluateScene = 32;       // after every move of the clock

// Channel groups of GetChannels.
inline constexpr std::int32_t kWorldPosition = 43;
inline constexpr std::int32_t kWorldRotation = 44;
inline constexpr std::int32_t kWorldScale = 37;
// Fills out[0..2]; leaves them untouched when the host has no GetChannels.
void GetChannels(void* item, std::int32_t group, double time, double* out);

// Splits `path` (may be null) into name and directory, each a
// kFileNamePartCapacity buffer (not null) that this wrapper clears first;
// both stay empty for a null path or when the host lacks the service.
void FindFileName(const char* path, char* name, char* directory);

// Host variables; 0 when unbound.
std::int32_t SceneFirstFrame();  // iIn
std::int32_t SceneLastFrame();   // iOut
double FramesPerSecond();        // dFPS
double AnimationClock();         // dAnim_Clock
void SetAnimationClock(double frame);

}  // namespace corvantide
