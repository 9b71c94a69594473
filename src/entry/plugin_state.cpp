// Storage and start values of the process-wide state.
#include "entry/plugin_state.h"

namespace corvantide {

PanelControlTable PanelControls{};
const char* MotionFormatNames[kMotionFormatNameSlots]{};
const char* CoordinateNames[kCoordinateNameSlots]{};
std::int32_t PanelShown = 0;
char BatchDirectory[kBatchTextCapacity]{};
char BatchRequesterPath[kBatchTextCapacity]{};
std::int32_t UseBatchDirectory = 0;
std::int32_t UseCurrentData = 1;

void ResetPluginState() {
    UseCurrentData = 1;
    UseBatchDirectory = 0;
    BatchDirectory[0] = '\0';
    BatchRequesterPath[0] = '\0';
    PanelShown = 0;
    for (std::size_t i = 0; i + 1 < kMotionFormatNameSlots; ++i) MotionFormatNames[i] = "NULL";
    MotionFormatNames[kMotionFormatNameSlots - 1] = nullptr;
    CoordinateNames[0] = "Local";
    CoordinateNames[1] = "World";
    CoordinateNames[2] = nullptr;
    PanelControls = PanelControlTable{};
}

}  // namespace corvantide
