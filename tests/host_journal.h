// How the simulated host's journal names the refresh requests: "update" and
// the flags of UpdateFXInterface.
#pragma once

#include <string>

#include "host/core_services.h"

namespace corvantide_test {

inline const std::string kRefreshUpdate = "update " + std::to_string(corvantide::kRefreshInterface);
inline const std::string kReevaluateUpdate = "update " + std::to_string(corvantide::kReevaluateScene);

}  // namespace corvantide_test
