// Scene items of the simulated host, as host item records the plug-in reads
// by offset, with their key records; evaluation of their channels at a frame
// and world values through the parent chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/item_record.h"

namespace simhost {

// The records' fields where the plug-in reads them (tests/host pins each
// offset); the item record's size is the host's own.
namespace item_layout {
using corvantide::item_record::kBehaviour;
using corvantide::item_record::kCameraType;
using corvantide::item_record::kChannelValues;
using corvantide::item_record::kFirstKey;
using corvantide::item_record::kKeyCount;
using corvantide::item_record::kKeys;
using corvantide::item_record::kLastKey;
using corvantide::item_record::kName;
using corvantide::item_record::kSourcePath;
using corvantide::item_record::kType;
inline constexpr std::size_t kRecordSize = 6144;
}  // namespace item_layout

namespace key_layout {
using corvantide::key_record::kBias;
using corvantide::key_record::kContinuity;
using corvantide::key_record::kFlags;
using corvantide::key_record::kInHandle;
using corvantide::key_record::kOutHandle;
using corvantide::key_record::kSpanMode;
using corvantide::key_record::kTension;
using corvantide::key_record::kTime;
using corvantide::key_record::kValue;
using corvantide::key_record::kZoomSlot;
inline constexpr std::size_t kRecordSize = corvantide::key_record::kSize;
inline constexpr int kSlots = 32;  // slots the value table has room for
}  // namespace key_layout

// Span mode bytes of a key slot.
inline constexpr std::int8_t kSpanTcb = 0;
inline constexpr std::int8_t kSpanBezier = 1;
inline constexpr std::int8_t kSpanLinear = 2;
inline constexpr std::int8_t kSpanStepped = 3;

inline constexpr int kChannels = 9;  // position X Y Z, heading pitch bank, scale X Y Z

class SimScene;

// One key of an item, being built. Stays valid while the scene lives, also
// when later keys are inserted before it. Every setter returns the builder.
class KeyBuilder {
public:
    // The slot's value, and the slot keyed at this key (its flag bit set).
    KeyBuilder& Set(int slot, double value);
    // The slot's value only; the flags stay as they are.
    KeyBuilder& Value(int slot, double value);
    KeyBuilder& Span(int slot, std::int8_t mode);
    KeyBuilder& Tcb(int slot, float tension, float continuity, float bias);
    // Handles relative to the value: incoming and outgoing.
    KeyBuilder& Handles(int slot, float in, float out);
    // Replaces the key's flag word.
    KeyBuilder& Flags(std::uint32_t flags);
    // The key record as it stands now (moves when keys are added).
    void* Record() const;
    std::int32_t Index() const;

private:
    friend class SimScene;
    KeyBuilder(SimScene* scene, void* item, std::uint64_t id) : scene_(scene), item_(item), id_(id) {}
    SimScene* scene_;
    void* item_;
    std::uint64_t id_;
};

class SimScene {
public:
    SimScene() = default;
    SimScene(const SimScene&) = delete;
    SimScene& operator=(const SimScene&) = delete;

    // Adds an item at the end of the hierarchy list; returns its record. Its
    // channels rest at 0 (position, rotation) and 1 (scale); every behaviour
    // is Constant (host code 1).
    void* AddItem(const std::string& name, std::int32_t type = 0, const char* sourcePath = nullptr);
    // Removes it from the hierarchy list (its record stays valid until the scene goes).
    void RemoveItem(void* item);
    const std::vector<void*>& Items() const { return order_; }
    void* ItemByName(const std::string& name) const;

    // False (nothing changed) when the parent is unknown or would make a cycle.
    bool SetParent(void* item, void* parent);
    // A hostile host's own write into an item record (a null name, a count
    // that does not match): the validator takes it as the host's.
    template <typename T>
    void PutField(void* item, std::size_t offset, T value) {
        PokeItem(item, offset, &value, sizeof value);
    }
    void PokeItem(void* item, std::size_t offset, const void* data, std::size_t size);
    // One finding per run of item-record bytes the plug-in changed.
    void CheckRecords(std::vector<std::string>* findings) const;

    // The channel's value where it has no keys (and now, until the next evaluation).
    void SetRestValue(void* item, int channel, double value);
    void SetBehaviour(void* item, int channel, std::int16_t code);

    // A new key at `frame`, kept in time order (after keys of the same time).
    KeyBuilder AddKey(void* item, double frame);
    std::int32_t KeyCount(void* item) const;
    KeyBuilder Key(void* item, std::int32_t index);

    // First and last key indexes follow the key flags; these pin them.
    void SetFirstKey(void* item, int channel, std::int32_t index);
    void SetLastKey(void* item, int channel, std::int32_t index);

    // Every item's local channel values at `frame`, written into the records now.
    void Evaluate(double frame);
    // UpdateFXInterface(32) at `frame`, lazily: the records of the watched
    // items (the current item, and the item last named to a service) get
    // their values at once; any other item's record gets them when a service
    // names it (Named). A plug-in reads an item's channel values only after
    // naming it, so every record it reads holds the values at `frame`.
    void Reevaluate(double frame);
    // A service (instance data, channels) named the item: its record gets the
    // values at the last clock move if it has not, and it is watched from now on.
    void Named(const void* item);
    // The host's current item, watched as long as it is current.
    void SetCurrentItem(const void* item);
    // Every clock move evaluates the whole scene, as Evaluate does (the
    // reference the lazy evaluation is compared with).
    void SetEagerEvaluation(bool eager) { eager_ = eager; }
    // The item's nine local channel values at `time`, from its keys.
    void LocalChannels(void* item, double time, double* out) const;
    // Any key slot's value at `time` from the keys that key it (a camera's
    // zoom is slot 12); `unkeyed` when no key does.
    double KeyedValue(void* item, int slot, double time, double unkeyed) const;
    // GetChannels: group 43 position, 44 rotation, 37 scale, in world space.
    void WorldChannels(void* item, std::int32_t group, double time, double* out) const;

private:
    friend class KeyBuilder;
    struct Item {
        std::unique_ptr<unsigned char[]> record;
        std::unique_ptr<unsigned char[]> image;  // what the host put in the record
        std::unique_ptr<char[]> name;
        std::unique_ptr<char[]> sourcePath;
        std::vector<unsigned char> keys;
        std::vector<std::uint64_t> keyIds;
        void* parent = nullptr;
        double rest[kChannels] = {0, 0, 0, 0, 0, 0, 1, 1, 1};
        bool firstPinned[kChannels] = {};
        bool lastPinned[kChannels] = {};
        std::uint64_t evaluatedAt = 0;  // the clock move whose values the record holds
    };
    struct World;

    Item* Find(const void* item) const;
    Item& Existing(const void* item) const;
    unsigned char* KeyRecord(Item& item, std::uint64_t id) const;
    void Publish(Item& item);
    void UpdateKeyRange(Item& item);
    double SlotValue(const Item& source, std::size_t slot, double time, double unkeyed) const;
    World WorldOf(const Item& item, double time, int depth) const;
    void Bring(Item& item);

    std::vector<std::unique_ptr<Item>> items_;
    std::unordered_map<const void*, Item*> byRecord_;
    std::vector<void*> order_;
    std::uint64_t nextKeyId_ = 1;
    std::uint64_t clockMoves_ = 0;  // clock moves so far; a record's evaluatedAt lags behind when stale
    double clockFrame_ = 0.0;
    const void* current_ = nullptr;
    const void* named_ = nullptr;
    bool eager_ = false;
};

}  // namespace simhost
