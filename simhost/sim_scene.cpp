// Scene items of the simulated host: records, keys, evaluation, world values.
#include "sim_scene.h"

#include "guarded_record.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace simhost {

namespace {

constexpr std::int32_t kNoKey = -1;
constexpr std::int16_t kConstantBehaviour = 1;
constexpr std::int32_t kPositionGroup = 43;
constexpr std::int32_t kRotationGroup = 44;
constexpr std::int32_t kScaleGroup = 37;
constexpr int kMaxParentDepth = 64;
constexpr unsigned char kItemPattern = 0xC5;  // as the host's other records

std::unique_ptr<char[]> CopyOf(const std::string& text) {
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

template <typename T>
void Put(unsigned char* record, std::size_t offset, T value) {
    std::memcpy(record + offset, &value, sizeof value);
}

// An item record field the host writes: the record and its image both.
template <typename Item, typename T>
void PutItem(Item& item, std::size_t offset, T value) {
    Put(item.record.get(), offset, value);
    Put(item.image.get(), offset, value);
}

template <typename T>
T Get(const unsigned char* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

std::size_t Slot(int slot) {
    if (slot < 0 || slot >= key_layout::kSlots) throw std::out_of_range("key slot " + std::to_string(slot));
    return static_cast<std::size_t>(slot);
}

std::size_t Channel(int channel) {
    if (channel < 0 || channel >= kChannels) throw std::out_of_range("channel " + std::to_string(channel));
    return static_cast<std::size_t>(channel);
}

// One keyed key of a channel, as the evaluation sees it.
struct Knot {
    double time;
    double value;
    const unsigned char* key;
};

double Hermite(double u, double v0, double v1, double out, double in) {
    const double u2 = u * u;
    const double u3 = u2 * u;
    const double h2 = 3 * u2 - 2 * u3;
    const double h1 = 1 - h2;
    const double h4 = u3 - u2;
    const double h3 = h4 - u2 + u;
    return h1 * v0 + h2 * v1 + h3 * out + h4 * in;
}

// The span from knots[i] to knots[i + 1] at time t (t0 <= t < t1).
double SpanValue(const std::vector<Knot>& knots, std::size_t i, double t, std::size_t channel) {
    const Knot& k0 = knots[i];
    const Knot& k1 = knots[i + 1];
    const double span = k1.time - k0.time;
    const double u = span > 0 ? (t - k0.time) / span : 1.0;
    const double d = k1.value - k0.value;
    switch (Get<std::int8_t>(k1.key, key_layout::kSpanMode + channel)) {
        case kSpanStepped:
            return k0.value;
        case kSpanBezier: {
            const double p1 = k0.value + Get<float>(k0.key, key_layout::kOutHandle + 4 * channel);
            const double p2 = k1.value + Get<float>(k1.key, key_layout::kInHandle + 4 * channel);
            const double w = 1 - u;
            return w * w * w * k0.value + 3 * w * w * u * p1 + 3 * w * u * u * p2 + u * u * u * k1.value;
        }
        case kSpanTcb: {
            const auto tcb = [channel](const unsigned char* key, double& t_, double& c_, double& b_) {
                t_ = Get<float>(key, key_layout::kTension + 4 * channel);
                c_ = Get<float>(key, key_layout::kContinuity + 4 * channel);
                b_ = Get<float>(key, key_layout::kBias + 4 * channel);
            };
            double t0, c0, b0, t1, c1, b1;
            tcb(k0.key, t0, c0, b0);
            tcb(k1.key, t1, c1, b1);
            double out = (1 - t0) * (1 - c0) * (1 - b0) * d;
            if (i > 0) {
                const Knot& kp = knots[i - 1];
                out = span / (k1.time - kp.time) *
                      ((1 - t0) * (1 + c0) * (1 + b0) * (k0.value - kp.value) +
                       (1 - t0) * (1 - c0) * (1 - b0) * d);
            }
            double in = (1 - t1) * (1 - c1) * (1 + b1) * d;
            if (i + 2 < knots.size()) {
                const Knot& kn = knots[i + 2];
                in = span / (kn.time - k0.time) *
                     ((1 - t1) * (1 + c1) * (1 - b1) * (kn.value - k1.value) +
                      (1 - t1) * (1 - c1) * (1 + b1) * d);
            }
            return Hermite(u, k0.value, k1.value, out, in);
        }
        default:  // linear
            return k0.value + u * d;
    }
}

using Matrix = double[3][3];

void RotationMatrix(const double* hpb, Matrix& r) {
    const double ch = std::cos(hpb[0]), sh = std::sin(hpb[0]);
    const double cp = std::cos(hpb[1]), sp = std::sin(hpb[1]);
    const double cb = std::cos(hpb[2]), sb = std::sin(hpb[2]);
    // Heading about Y, then pitch about X, then bank about Z: Ry * Rx * Rz.
    r[0][0] = ch * cb + sh * sp * sb;
    r[0][1] = -ch * sb + sh * sp * cb;
    r[0][2] = sh * cp;
    r[1][0] = cp * sb;
    r[1][1] = cp * cb;
    r[1][2] = -sp;
    r[2][0] = -sh * cb + ch * sp * sb;
    r[2][1] = sh * sb + ch * sp * cb;
    r[2][2] = ch * cp;
}

void HeadingPitchBank(const Matrix& r, double* hpb) {
    const double sp = std::clamp(-r[1][2], -1.0, 1.0);
    hpb[1] = std::asin(sp);
    if (std::abs(sp) < 1.0 - 1e-12) {
        hpb[0] = std::atan2(r[0][2], r[2][2]);
        hpb[2] = std::atan2(r[1][0], r[1][1]);
    } else {  // gimbal lock: put all of the turn into heading
        hpb[0] = std::atan2(-r[2][0], r[0][0]);
        hpb[2] = 0.0;
    }
}

}  // namespace

struct SimScene::World {
    double position[3];
    double hpb[3];
    double scale[3];
    Matrix rotation;
    bool rotated;
};

// Key builder.

void* KeyBuilder::Record() const { return scene_->KeyRecord(scene_->Existing(item_), id_); }

std::int32_t KeyBuilder::Index() const {
    SimScene::Item& item = scene_->Existing(item_);
    const auto* record = static_cast<unsigned char*>(Record());
    return static_cast<std::int32_t>(static_cast<std::size_t>(record - item.keys.data()) /
                                     key_layout::kRecordSize);
}

KeyBuilder& KeyBuilder::Set(int slot, double value) {
    Value(slot, value);
    auto* record = static_cast<unsigned char*>(Record());
    Put(record, key_layout::kFlags, Get<std::uint32_t>(record, key_layout::kFlags) | (1U << Slot(slot)));
    if (slot < kChannels) {
        SimScene::Item& item = scene_->Existing(item_);
        const std::int32_t index = Index();
        const std::size_t c = static_cast<std::size_t>(slot);
        const std::size_t first = item_layout::kFirstKey + 4 * c;
        const std::size_t last = item_layout::kLastKey + 4 * c;
        const std::int32_t oldFirst = Get<std::int32_t>(item.record.get(), first);
        const std::int32_t oldLast = Get<std::int32_t>(item.record.get(), last);
        if (!item.firstPinned[c] && (oldFirst == kNoKey || index < oldFirst)) PutItem(item, first, index);
        if (!item.lastPinned[c] && index > oldLast) PutItem(item, last, index);
    }
    return *this;
}

KeyBuilder& KeyBuilder::Value(int slot, double value) {
    Put(static_cast<unsigned char*>(Record()), key_layout::kValue + 8 * Slot(slot), value);
    return *this;
}

KeyBuilder& KeyBuilder::Span(int slot, std::int8_t mode) {
    Put(static_cast<unsigned char*>(Record()), key_layout::kSpanMode + Slot(slot), mode);
    return *this;
}

KeyBuilder& KeyBuilder::Tcb(int slot, float tension, float continuity, float bias) {
    auto* record = static_cast<unsigned char*>(Record());
    Put(record, key_layout::kTension + 4 * Slot(slot), tension);
    Put(record, key_layout::kContinuity + 4 * Slot(slot), continuity);
    Put(record, key_layout::kBias + 4 * Slot(slot), bias);
    return *this;
}

KeyBuilder& KeyBuilder::Handles(int slot, float in, float out) {
    auto* record = static_cast<unsigned char*>(Record());
    Put(record, key_layout::kInHandle + 4 * Slot(slot), in);
    Put(record, key_layout::kOutHandle + 4 * Slot(slot), out);
    return *this;
}

KeyBuilder& KeyBuilder::Flags(std::uint32_t flags) {
    Put(static_cast<unsigned char*>(Record()), key_layout::kFlags, flags);
    scene_->UpdateKeyRange(scene_->Existing(item_));
    return *this;
}

// Items.

void* SimScene::AddItem(const std::string& name, std::int32_t type, const char* sourcePath) {
    auto item = std::make_unique<Item>();
    item->record = std::make_unique<unsigned char[]>(item_layout::kRecordSize);
    item->image = std::make_unique<unsigned char[]>(item_layout::kRecordSize);
    // Bytes the host does not fill keep the pattern: a read of one shows.
    std::memset(item->record.get(), kItemPattern, item_layout::kRecordSize);
    std::memset(item->image.get(), kItemPattern, item_layout::kRecordSize);
    item->name = CopyOf(name);
    if (sourcePath != nullptr) item->sourcePath = CopyOf(sourcePath);
    PutItem(*item, item_layout::kType, type);
    PutItem(*item, item_layout::kName, item->name.get());
    PutItem(*item, item_layout::kSourcePath, item->sourcePath.get());
    PutItem<Item, const void*>(*item, item_layout::kKeys, nullptr);
    PutItem(*item, item_layout::kKeyCount, std::int32_t{0});
    for (std::size_t c = 0; c < kChannels; ++c) {
        PutItem(*item, item_layout::kChannelValues + 8 * c, item->rest[c]);
        PutItem(*item, item_layout::kFirstKey + 4 * c, kNoKey);
        PutItem(*item, item_layout::kLastKey + 4 * c, kNoKey);
        PutItem(*item, item_layout::kBehaviour + 2 * c, kConstantBehaviour);
    }
    void* handle = item->record.get();
    item->evaluatedAt = clockMoves_;
    byRecord_[handle] = item.get();
    items_.push_back(std::move(item));
    order_.push_back(handle);
    return handle;
}

void SimScene::RemoveItem(void* item) {
    order_.erase(std::remove(order_.begin(), order_.end(), item), order_.end());
}

void* SimScene::ItemByName(const std::string& name) const {
    for (void* item : order_) {
        const char* itemName = Get<const char*>(static_cast<unsigned char*>(item), item_layout::kName);
        if (itemName != nullptr && name == itemName) return item;
    }
    return nullptr;
}

void SimScene::PokeItem(void* item, std::size_t offset, const void* data, std::size_t size) {
    Item& target = Existing(item);
    std::memcpy(target.record.get() + offset, data, size);
    std::memcpy(target.image.get() + offset, data, size);
}

void SimScene::CheckRecords(std::vector<std::string>* findings) const {
    for (const auto& item : items_) {
        const char* name = item->name.get();
        CompareRecord(item->record.get(), item->image.get(), item_layout::kRecordSize,
                      std::string("record of item \"") + name + "\"", findings);
    }
}

SimScene::Item* SimScene::Find(const void* item) const {
    const auto found = byRecord_.find(item);
    return found == byRecord_.end() ? nullptr : found->second;
}

SimScene::Item& SimScene::Existing(const void* item) const {
    Item* found = Find(item);
    if (found == nullptr) throw std::invalid_argument("not an item of this scene");
    return *found;
}

bool SimScene::SetParent(void* item, void* parent) {
    Item& child = Existing(item);
    if (parent != nullptr) {
        const Item* ancestor = Find(parent);
        if (ancestor == nullptr) return false;
        for (int depth = 0; ancestor != nullptr && depth < kMaxParentDepth; ++depth) {
            if (ancestor == &child) return false;
            ancestor = Find(ancestor->parent);
        }
    }
    child.parent = parent;
    return true;
}

void SimScene::SetRestValue(void* item, int channel, double value) {
    Item& target = Existing(item);
    Bring(target);  // the value written stands until the next clock move, as the host's would
    target.rest[Channel(channel)] = value;
    PutItem(target, item_layout::kChannelValues + 8 * Channel(channel), value);
}

void SimScene::SetBehaviour(void* item, int channel, std::int16_t code) {
    PutItem(Existing(item), item_layout::kBehaviour + 2 * Channel(channel), code);
}

// Keys.

KeyBuilder SimScene::AddKey(void* item, double frame) {
    Item& target = Existing(item);
    const std::size_t count = target.keyIds.size();
    std::size_t at = count;
    while (at > 0 &&
           Get<double>(target.keys.data() + (at - 1) * key_layout::kRecordSize, key_layout::kTime) > frame) {
        --at;
    }
    target.keys.insert(target.keys.begin() + static_cast<std::ptrdiff_t>(at * key_layout::kRecordSize),
                       key_layout::kRecordSize, 0);
    Put(target.keys.data() + at * key_layout::kRecordSize, key_layout::kTime, frame);
    const std::uint64_t id = nextKeyId_++;
    target.keyIds.insert(target.keyIds.begin() + static_cast<std::ptrdiff_t>(at), id);
    if (at < count) {
        // Keys after the new one moved up by one.
        for (std::size_t c = 0; c < kChannels; ++c) {
            for (std::size_t offset : {item_layout::kFirstKey + 4 * c, item_layout::kLastKey + 4 * c}) {
                const bool pinned =
                    offset < item_layout::kFirstKey ? target.lastPinned[c] : target.firstPinned[c];
                const std::int32_t index = Get<std::int32_t>(target.record.get(), offset);
                if (!pinned && index != kNoKey && static_cast<std::size_t>(index) >= at) {
                    PutItem(target, offset, index + 1);
                }
            }
        }
    }
    Publish(target);
    return KeyBuilder(this, item, id);
}

std::int32_t SimScene::KeyCount(void* item) const {
    return static_cast<std::int32_t>(Existing(item).keyIds.size());
}

KeyBuilder SimScene::Key(void* item, std::int32_t index) {
    Item& target = Existing(item);
    if (index < 0 || static_cast<std::size_t>(index) >= target.keyIds.size())
        throw std::out_of_range("key index");
    return KeyBuilder(this, item, target.keyIds[static_cast<std::size_t>(index)]);
}

void SimScene::SetFirstKey(void* item, int channel, std::int32_t index) {
    Item& target = Existing(item);
    target.firstPinned[Channel(channel)] = true;
    PutItem(target, item_layout::kFirstKey + 4 * Channel(channel), index);
}

void SimScene::SetLastKey(void* item, int channel, std::int32_t index) {
    Item& target = Existing(item);
    target.lastPinned[Channel(channel)] = true;
    PutItem(target, item_layout::kLastKey + 4 * Channel(channel), index);
}

unsigned char* SimScene::KeyRecord(Item& item, std::uint64_t id) const {
    const auto found = std::find(item.keyIds.rbegin(), item.keyIds.rend(), id);
    if (found == item.keyIds.rend()) throw std::invalid_argument("key no longer in the scene");
    const auto index = static_cast<std::size_t>(item.keyIds.rend() - found - 1);
    return item.keys.data() + index * key_layout::kRecordSize;
}

void SimScene::Publish(Item& item) {
    PutItem(item, item_layout::kKeys, item.keys.empty() ? nullptr : item.keys.data());
    PutItem(item, item_layout::kKeyCount, static_cast<std::int32_t>(item.keyIds.size()));
}

void SimScene::UpdateKeyRange(Item& item) {
    for (std::size_t c = 0; c < kChannels; ++c) {
        std::int32_t first = kNoKey, last = kNoKey;
        for (std::size_t k = 0; k < item.keyIds.size(); ++k) {
            const auto flags =
                Get<std::uint32_t>(item.keys.data() + k * key_layout::kRecordSize, key_layout::kFlags);
            if ((flags >> c & 1U) == 0) continue;
            if (first == kNoKey) first = static_cast<std::int32_t>(k);
            last = static_cast<std::int32_t>(k);
        }
        if (!item.firstPinned[c]) PutItem(item, item_layout::kFirstKey + 4 * c, first);
        if (!item.lastPinned[c]) PutItem(item, item_layout::kLastKey + 4 * c, last);
    }
}

// Evaluation.

double SimScene::SlotValue(const Item& source, std::size_t slot, double time, double unkeyed) const {
    std::vector<Knot> knots;
    for (std::size_t k = 0; k < source.keyIds.size(); ++k) {
        const unsigned char* key = source.keys.data() + k * key_layout::kRecordSize;
        if ((Get<std::uint32_t>(key, key_layout::kFlags) >> slot & 1U) == 0) continue;
        knots.push_back(
            {Get<double>(key, key_layout::kTime), Get<double>(key, key_layout::kValue + 8 * slot), key});
    }
    if (knots.empty()) return unkeyed;
    if (time <= knots.front().time) return knots.front().value;
    if (time >= knots.back().time) return knots.back().value;
    std::size_t i = 0;
    while (knots[i + 1].time <= time) ++i;
    return SpanValue(knots, i, time, slot);
}

void SimScene::LocalChannels(void* item, double time, double* out) const {
    const Item& source = Existing(item);
    for (std::size_t c = 0; c < kChannels; ++c) out[c] = SlotValue(source, c, time, source.rest[c]);
}

double SimScene::KeyedValue(void* item, int slot, double time, double unkeyed) const {
    return SlotValue(Existing(item), Slot(slot), time, unkeyed);
}

void SimScene::Bring(Item& item) {
    if (item.evaluatedAt == clockMoves_) return;
    item.evaluatedAt = clockMoves_;
    double values[kChannels];
    for (std::size_t c = 0; c < kChannels; ++c) values[c] = SlotValue(item, c, clockFrame_, item.rest[c]);
    for (std::size_t c = 0; c < kChannels; ++c) PutItem(item, item_layout::kChannelValues + 8 * c, values[c]);
}

void SimScene::Evaluate(double frame) {
    ++clockMoves_;
    clockFrame_ = frame;
    for (const auto& item : items_) Bring(*item);
}

void SimScene::Reevaluate(double frame) {
    if (eager_) {
        Evaluate(frame);
        return;
    }
    ++clockMoves_;
    clockFrame_ = frame;
    for (const void* watched : {current_, named_}) {
        if (Item* item = Find(watched)) Bring(*item);
    }
}

void SimScene::SetCurrentItem(const void* item) {
    current_ = item;
    if (Item* found = Find(item)) Bring(*found);
}

void SimScene::Named(const void* item) {
    Item* found = Find(item);
    if (found == nullptr) return;
    named_ = item;
    Bring(*found);
}

SimScene::World SimScene::WorldOf(const Item& item, double time, int depth) const {
    double local[kChannels];
    LocalChannels(item.record.get(), time, local);
    World world{};
    const Item* parent = depth < kMaxParentDepth ? Find(item.parent) : nullptr;
    if (parent == nullptr) {
        for (int i = 0; i < 3; ++i) {
            world.position[i] = local[i];
            world.hpb[i] = local[3 + i];
            world.scale[i] = local[6 + i];
        }
        RotationMatrix(world.hpb, world.rotation);
        world.rotated = local[3] != 0 || local[4] != 0 || local[5] != 0;
        return world;
    }
    const World up = WorldOf(*parent, time, depth + 1);
    Matrix localRotation;
    RotationMatrix(local + 3, localRotation);
    for (int i = 0; i < 3; ++i) {
        world.position[i] = up.position[i];
        for (int j = 0; j < 3; ++j) world.position[i] += up.rotation[i][j] * up.scale[j] * local[j];
        world.scale[i] = up.scale[i] * local[6 + i];
        for (int j = 0; j < 3; ++j) {
            world.rotation[i][j] = 0;
            for (int k = 0; k < 3; ++k) world.rotation[i][j] += up.rotation[i][k] * localRotation[k][j];
        }
    }
    world.rotated = up.rotated || local[3] != 0 || local[4] != 0 || local[5] != 0;
    if (up.rotated) {
        HeadingPitchBank(world.rotation, world.hpb);
    } else {  // an unrotated chain leaves the item's own angles as they are
        for (int i = 0; i < 3; ++i) world.hpb[i] = local[3 + i];
    }
    return world;
}

void SimScene::WorldChannels(void* item, std::int32_t group, double time, double* out) const {
    out[0] = out[1] = out[2] = 0.0;
    const Item* source = Find(item);
    if (source == nullptr) return;
    const World world = WorldOf(*source, time, 0);
    const double* values = group == kPositionGroup   ? world.position
                           : group == kRotationGroup ? world.hpb
                           : group == kScaleGroup    ? world.scale
                                                     : nullptr;
    if (values != nullptr) std::memcpy(out, values, 3 * sizeof(double));
}

}  // namespace simhost
