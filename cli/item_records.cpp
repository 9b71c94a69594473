// The plug-in's per-item records, read through their declared layout.
#include "item_records.h"

#include <cstring>

#include "host_text.h"
#include "settings/export_settings.h"
#include "sim_scene.h"

namespace corvantide::cli {
namespace {

template <typename T>
T Field(const void* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

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
    record.world = settings.coordinates == 1;
    record.sampled = settings.freezeMotion == 1;
    record.outputDisabled = settings.outputDisabled != 0;
    if (settings.destinationPath != nullptr)
        record.destination = simhost::FromHostText(BoundedText(settings.destinationPath));
    return record;
}

std::string ItemName(void* item) {
    const char* name = Field<const char*>(item, simhost::item_layout::kName);
    return name != nullptr ? simhost::FromHostText(name) : "";
}

bool IsCamera(void* item) {
    return Field<std::int32_t>(item, simhost::item_layout::kType) == simhost::item_layout::kCameraType;
}

}  // namespace corvantide::cli
