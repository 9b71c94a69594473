// Scene items of the simulated host, as host item records the plug-in reads
// by offset, with their key records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace simhost {

namespace item_layout {
inline constexpr std::size_t kType = 0x54;            // 32-bit; 8 = camera
inline constexpr std::size_t kName = 0x60;            // char*
inline constexpr std::size_t kSourcePath = 0x70;      // char* or null
inline constexpr std::size_t kKeys = 0xb8;            // key records
inline constexpr std::size_t kChannelValues = 1880;   // 9 doubles, local
inline constexpr std::size_t kLastKey = 5040;         // 9 x int32
inline constexpr std::size_t kFirstKey = 5168;        // 9 x int32
inline constexpr std::size_t kBehaviour = 5552;       // 9 x int16
inline constexpr std::size_t kKeyCount = 5792;        // int32
inline constexpr std::size_t kRecordSize = 6144;
inline constexpr std::int32_t kCameraType = 8;
}  // namespace item_layout

namespace key_layout {
inline constexpr std::size_t kRecordSize = 1872;
inline constexpr std::size_t kValue = 0;        // + 8s, double
inline constexpr std::size_t kTension = 256;    // + 4s, float
inline constexpr std::size_t kContinuity = 384; // + 4s, float
inline constexpr std::size_t kBias = 512;       // + 4s, float
inline constexpr std::size_t kSpanMode = 704;   // + s, int8
inline constexpr std::size_t kInHandle = 768;   // + 4s, float
inline constexpr std::size_t kOutHandle = 896;  // + 4s, float
inline constexpr std::size_t kFlags = 1792;     // uint32
inline constexpr std::size_t kTime = 1832;      // double, frames
inline constexpr int kZoomSlot = 12;
}  // namespace key_layout

class SimScene {
public:
    SimScene() = default;
    SimScene(const SimScene&) = delete;
    SimScene& operator=(const SimScene&) = delete;

    // Adds an item at the end of the hierarchy list; returns its record.
    void* AddItem(const std::string& name, std::int32_t type = 0, const char* sourcePath = nullptr);
    // Removes it from the hierarchy list (its record stays valid until the scene goes).
    void RemoveItem(void* item);
    const std::vector<void*>& Items() const { return order_; }
    void* ItemByName(const std::string& name) const;

    // UpdateFXInterface(32): every item's local channel values at `frame`.
    void Evaluate(double frame);
    // GetChannels: group 43 position, 44 rotation, 37 scale, in world space.
    void WorldChannels(void* item, std::int32_t group, double time, double* out);

private:
    struct Item {
        std::unique_ptr<unsigned char[]> record;
        std::unique_ptr<char[]> name;
        std::unique_ptr<char[]> sourcePath;
        std::unique_ptr<unsigned char[]> keys;
    };
    std::vector<Item> items_;
    std::vector<void*> order_;
};

}  // namespace simhost
