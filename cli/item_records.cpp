// The plug-in's per-item records, read through their declared layout.
#include "item_records.h"

#include <cstring>

#include "host/item_record.h"
#include "host/plugin_limits.h"
#include "host/text_buffer.h"
#include "host_text.h"
#include "settings/export_settings.h"

namespace corvantide::cli {
namespace {

// Text of a path buffer, never read past its capacity.
std::string BoundedText(const char* buffer) {
    return std::string(buffer, corvantide::BoundedLength(buffer, corvantide::kPathCapacity));
}

}  // namespace

std::optional<ItemRecord> ReadItemRecord(simhost::SimHost& host, void* item) {
    const void* block = host.InstanceBlock(item);
    if (block == nullptr) return std::nullopt;
    corvantide::ExportSettings settings{};
    std::memcpy(&settings, block, sizeof settings);
    ItemRecord record;
    record.beginFrame = settings.beginFrame;
    record.endFrame = settings.endFrame;
    record.frameOffset = settings.frameOffset;
    record.world = settings.coordinates == corvantide::kWorldCoordinates;
    record.sampled = settings.freezeMotion == corvantide::kSamplingMode;
    record.outputDisabled = settings.outputDisabled != 0;
    if (settings.destinationPath != nullptr)
        record.destination = simhost::FromHostText(BoundedText(settings.destinationPath));
    return record;
}

std::string ItemName(void* item) {
    const char* name = corvantide::ItemName(item);
    return name != nullptr ? simhost::FromHostText(name) : "";
}

bool IsCamera(void* item) { return corvantide::IsCamera(item); }

}  // namespace corvantide::cli
