// The plug-in's process-wide state. One instance of each, living for the whole
// process; the start-up reset (ResetPluginState) gives them their start values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/plugin_limits.h"

namespace corvantide {

// Host handles of the panel: the block, the 18 controls in creation order, and
// one slot that is never used. All null until the panel is built.
struct PanelControlTable {
    void* block;
    void* statusArea;
    void* pathField;
    void* pathButton;
    void* beginFrameField;
    void* endFrameField;
    void* offsetField;
    void* motionFormatList;
    void* exportCurrentButton;
    void* disableOutputToggle;
    void* batchPathField;
    void* batchPathButton;
    void* useBatchDirectoryToggle;
    void* useCurrentDataToggle;
    void* setupBatchButton;
    void* exportBatchButton;
    void* separator;
    void* freezeMotionToggle;
    void* coordinatesList;
    void* spare;  // the host's table has 20 slots; the last is never used
};

inline constexpr std::size_t kMotionFormatNameSlots = 7;
inline constexpr std::size_t kCoordinateNameSlots = 3;

extern PanelControlTable PanelControls;
// Popup name lists: text pointers ending at the first null.
extern const char* MotionFormatNames[kMotionFormatNameSlots];
extern const char* CoordinateNames[kCoordinateNameSlots];
extern std::int32_t PanelShown;
extern char BatchDirectory[kBatchTextCapacity];
extern char BatchRequesterPath[kBatchTextCapacity];
extern std::int32_t UseBatchDirectory;
extern std::int32_t UseCurrentData;

// Gives every item above its start value.
void ResetPluginState();

}  // namespace corvantide
