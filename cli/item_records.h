// What the plug-in keeps for each item in the host's instance data, read
// back by the command-line host to tell what an export wrote and how.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim_host.h"

namespace corvantide::cli {

struct ItemRecord {
    std::int32_t beginFrame = 0;
    std::int32_t endFrame = 0;
    std::int32_t frameOffset = 0;
    bool world = false;    // "Coordinates": World
    bool sampled = false;  // "Freeze Motion": every frame sampled
    bool outputDisabled = true;
    std::optional<std::string> destination;  // base path (UTF-8), when the record has its buffer
};

// The item's record, or nothing when the plug-in has none for it.
std::optional<ItemRecord> ReadItemRecord(simhost::SimHost& host, void* item);

// The item's name as the host's item record holds it, in UTF-8.
std::string ItemName(void* item);
bool IsCamera(void* item);

}  // namespace corvantide::cli
