// Scene items of the simulated host.
#include "sim_scene.h"

#include <algorithm>
#include <cstring>

namespace simhost {

namespace {

std::unique_ptr<char[]> CopyOf(const std::string& text) {
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

template <typename T>
void Put(unsigned char* record, std::size_t offset, T value) {
    std::memcpy(record + offset, &value, sizeof value);
}

}  // namespace

void* SimScene::AddItem(const std::string& name, std::int32_t type, const char* sourcePath) {
    Item item;
    item.record = std::make_unique<unsigned char[]>(item_layout::kRecordSize);
    std::memset(item.record.get(), 0, item_layout::kRecordSize);
    item.name = CopyOf(name);
    if (sourcePath != nullptr) item.sourcePath = CopyOf(sourcePath);
    unsigned char* record = item.record.get();
    Put(record, item_layout::kType, type);
    Put(record, item_layout::kName, item.name.get());
    Put(record, item_layout::kSourcePath, item.sourcePath.get());
    for (int c = 0; c < 9; ++c) Put(record, item_layout::kChannelValues + 8 * c, c >= 6 ? 1.0 : 0.0);
    void* handle = record;
    items_.push_back(std::move(item));
    order_.push_back(handle);
    return handle;
}

void SimScene::RemoveItem(void* item) {
    order_.erase(std::remove(order_.begin(), order_.end(), item), order_.end());
}

void* SimScene::ItemByName(const std::string& name) const {
    for (void* item : order_) {
        const char* itemName = nullptr;
        std::memcpy(&itemName, static_cast<unsigned char*>(item) + item_layout::kName, sizeof itemName);
        if (itemName != nullptr && name == itemName) return item;
    }
    return nullptr;
}

void SimScene::Evaluate(double) {}

void SimScene::WorldChannels(void*, std::int32_t, double, double* out) {
    out[0] = out[1] = out[2] = 0.0;
}

}  // namespace simhost
