// Items the tests add to the simulated host's scene.
#pragma once

#include <cstdint>
#include <string>

#include "sim_host.h"

namespace corvantide_test {

// An item with two keys (frames 0 and 10) that key Position X and the zoom
// slot: the smallest item whose files, and a camera's two, are complete.
inline void* AddTwoKeyItem(simhost::SimHost& host, const std::string& name, std::int32_t type = 0) {
    void* item = host.Scene().AddItem(name, type);
    host.Scene().AddKey(item, 0).Set(0, 1.0).Set(12, 2.0);
    host.Scene().AddKey(item, 10).Set(0, 2.0).Set(12, 3.0);
    return item;
}

}  // namespace corvantide_test
