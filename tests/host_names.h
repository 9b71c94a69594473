// The names the plug-in asks the host's general look-up for, group by group
// in the order it asks them.
#pragma once

#include <string>
#include <vector>

namespace corvantide_test {

// Start-up phase 2: the host functions and variables, then the utilities.
inline const std::vector<std::string> kPhaseTwoNames = {"CreateInstanceData",
                                                        "GetInstanceData",
                                                        "FreeInstanceData",
                                                        "UpdateFXInterface",
                                                        "GetChannels",
                                                        "iIn",
                                                        "iOut",
                                                        "dFPS",
                                                        "dAnim_Clock",
                                                        "GetHierarchyList",
                                                        "FindHierarchyMatch",
                                                        "FindFileName"};
// Start-up phase 4: the interface.
inline const std::vector<std::string> kPhaseFourNames = {"fxBlockCreate", "fxControlCreate", "fxControlSet",
                                                         "fxControlGet", "fxControlRedraw"};
// The panel builder, before it creates the block.
inline const std::vector<std::string> kPanelBuilderNames = {"FreeHierarchyList",  "GetHierarchyList",
                                                            "FindHierarchyMatch", "FX_FileRequest",
                                                            "ConfirmMessage",     "FindFileName"};

}  // namespace corvantide_test
