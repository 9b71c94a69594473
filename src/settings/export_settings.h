// The per-item export settings record, kept in the host's instance data.
//
// Ownership: the host allocates, finds and frees the 64-byte block, keyed by
// (item, module record). Its two path buffers come from the host allocator
// and stay with the record until ReleaseItemSettings gives them back when
// the item goes; the one exception is a buffer Setup Batch has just
// allocated, given back at once when its pair cannot be had. [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/plugin_limits.h"

namespace corvantide {

struct ExportSettings {
    std::int32_t beginFrame;      // first frame sampled
    std::int32_t endFrame;        // last frame sampled, inclusive
    std::int32_t frameOffset;     // added to sampled frames for the written time
    std::int32_t motionFormat;    // 0: "Lightwave 6.x", the only format written
    std::int32_t coordinates;     // 0 Local, 1 World
    std::int32_t freezeMotion;    // 0 keys, 1 sampled every frame
    std::int32_t outputDisabled;  // nonzero: the item is not written
    std::int32_t reserved;        // never read or written
    void* ownerItem;              // the item the record was created for
    char* requesterPath;          // null or kPathCapacity bytes: the requester's remembered path
    char* destinationPath;        // null or kPathCapacity bytes: base path, without ".mot"
    void* spareBuffer;            // released with the record, never set
};
// Values of `freezeMotion` and `coordinates`.
inline constexpr std::int32_t kKeysMode = 0;
inline constexpr std::int32_t kSamplingMode = 1;
inline constexpr std::int32_t kLocalCoordinates = 0;
inline constexpr std::int32_t kWorldCoordinates = 1;

static_assert(sizeof(ExportSettings) == kSettingsRecordSize);
static_assert(offsetof(ExportSettings, frameOffset) == 8);
static_assert(offsetof(ExportSettings, outputDisabled) == 24);
static_assert(offsetof(ExportSettings, ownerItem) == 32);
static_assert(offsetof(ExportSettings, requesterPath) == 40);
static_assert(offsetof(ExportSettings, destinationPath) == 48);
static_assert(offsetof(ExportSettings, spareBuffer) == 56);

// The item's record, or null when it has none.
ExportSettings* FindSettings(void* item);
// The item's record, created with the defaults when it has none; null only
// when the host refuses the block.
ExportSettings* GetOrCreateSettings(void* item);
// Gives every item of the scene a record.
void CreateSettingsForAllItems();
// Allocates a path buffer of kPathCapacity bytes from the host when *buffer
// is null. False when the host refuses it.
bool EnsurePathBuffer(char** buffer);

}  // namespace corvantide
