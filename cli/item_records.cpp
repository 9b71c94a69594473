// The plug-in's per-item records, read through their declared layout.
#include "item_records.h"

#include <cstring>

#include "host/item_record.h"
#include "host_text.h"
#include "settings/export_settings.h"

namespace corvantide::cli {
namespace {

// Text of a path buffer, never read past its capacity.
std::string BoundedText(const char* buffer) {
    const void* end = std::memchr(buffer, '\0', corvantide::kPathCapacity);
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer)
                                              : corvantide::kPathCapacity;
    return std::string(buffer, length);
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
