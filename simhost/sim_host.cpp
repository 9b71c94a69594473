// The simulated host: records, look-ups, instance data, hierarchy lists.
#include "sim_host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "host_services.h"

namespace simhost {

namespace {

SimHost* current = nullptr;

constexpr std::size_t kAllocateOffset = 0x18;
constexpr std::size_t kReleaseOffset = 0x20;
constexpr std::size_t kLookupOffset = 0x40;
constexpr std::size_t kPlatformLookupOffset = 0x48;
constexpr std::size_t kItemListRootOffset = 0xab08;
constexpr std::size_t kStateRecordOffset = 0x46ab8;
constexpr std::size_t kContentDirectoryOffset = 0x6f1b8;
constexpr std::size_t kContentDirectoryCapacity = 1024;
constexpr std::size_t kCurrentItemOffset = 0x268;
constexpr std::size_t kMessageEntryOffset = 0x668;
constexpr std::size_t kPanelBuilderOffset = 0x630;
constexpr std::size_t kEmptyEntryOffset = 0x628;
constexpr std::size_t kDefaultHandlerOffset = 0x660;
constexpr std::size_t kHierarchyEntrySize = 16;
// The module record's fields the plug-in fills in (offset, size).
constexpr std::pair<std::size_t, std::size_t> kModuleFields[] = {
    {0x28, 11},  // the name and its NUL
    {0x4a8, 4},
    {kEmptyEntryOffset, 8},
    {kPanelBuilderOffset, 8},
    {kDefaultHandlerOffset, 8},
    {kMessageEntryOffset, 8},
    {0x6c8, 8},
    {0x768, 8},
};
constexpr std::int32_t kSettingsBlockSize = 64;
constexpr std::int32_t kReevaluate = 32;

template <typename T>
void Put(void* record, std::size_t offset, T value) {
    std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof value);
}

template <typename T>
T Get(const void* record, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

void* ZeroedRecord(std::size_t size) { return std::calloc(1, size); }

}  // namespace

void SimHost::FreeDeleter::operator()(void* p) const { std::free(p); }

SimHost::SimHost()
    : hostInterface_(kHostInterfaceSize, "host interface record"),
      moduleRecord_(kModuleRecordSize, "module record"),
      stateRecord_(kStateRecordSize, "host state record"),
      memory_([this](const std::string& violation) { Report(violation); }) {
    current = this;
    for (const auto& [offset, size] : kModuleFields) moduleRecord_.Own(offset, size);
    // The entries the host calls stay empty until the plug-in fills them.
    for (std::size_t entry :
         {kEmptyEntryOffset, kPanelBuilderOffset, kDefaultHandlerOffset, kMessageEntryOffset}) {
        moduleRecord_.HostPut<void*>(entry, nullptr);
    }
    const ServiceAddresses services = TheServices();
    hostInterface_.HostPut(kAllocateOffset, services.allocate);
    hostInterface_.HostPut(kReleaseOffset, services.release);
    hostInterface_.HostPut(kLookupOffset, services.lookup);
    hostInterface_.HostPut(kPlatformLookupOffset, services.platformLookup);
    hostInterface_.HostPut(kItemListRootOffset, kItemListRoot);
    hostInterface_.HostPut(kStateRecordOffset, stateRecord_.Data());
    hostInterface_.HostPut(kContentDirectoryOffset, '\0');
    stateRecord_.HostPut<void*>(kCurrentItemOffset, nullptr);
}

SimHost::~SimHost() {
    escape_.Reset();
    library_.Unload();
    for (void* list : openLists_) std::free(list);
    if (current == this) current = nullptr;
}

SimHost& SimHost::Current() {
    if (current == nullptr) std::abort();  // a plug-in call with no simulated host alive
    return *current;
}

bool SimHost::Load(const std::string& libraryPath, std::string* error) {
    if (!library_.Load(libraryPath, error)) return false;
    void* entry = library_.Symbol("InitCustomize");
    if (entry == nullptr) {
        if (error != nullptr) *error = "not a Corvantide plug-in: it has no InitCustomize";
        library_.Unload();
        return false;
    }
    using InitCustomizeFn = void (*)(void*, void*);
    InitCustomizeFn initCustomize = nullptr;
    std::memcpy(&initCustomize, &entry, sizeof entry);
    escape_.WatchPolls(entry);
    initCustomize(hostInterface_.Data(), moduleRecord_.Data());
    return true;
}

bool SimHost::LoadAndStart(const std::string& libraryPath, std::string* error) {
    if (!Load(libraryPath, error)) return false;
    SendStartupPhase(2);
    SendStartupPhase(4);
    return true;
}

std::int64_t SimHost::SendMessage(std::int32_t category, void* subject, std::uint64_t code) {
    using Entry = std::int64_t (*)(void*, void*, std::int32_t, std::uint64_t);
    auto entry = Get<Entry>(moduleRecord_.Data(), kMessageEntryOffset);
    if (entry == nullptr) {
        Report("message sent before the module record had a message entry");
        return 0;
    }
    return entry(moduleRecord_.Data(), subject, category, code);
}

std::int32_t SimHost::BuildPanel() {
    using Builder = std::int32_t (*)(void*, void*, void*, void*);
    auto builder = Get<Builder>(moduleRecord_.Data(), kPanelBuilderOffset);
    if (builder == nullptr) return -1;
    return builder(moduleRecord_.Data(), nullptr, nullptr, nullptr);
}

void SimHost::ClearLookups() {
    lookups_.clear();
    platformLookups_.clear();
}

void* SimHost::LookupName(const char* name, bool platform) {
    if (name == nullptr) {
        Report("look-up of a null name");
        return nullptr;
    }
    const std::string text(name);
    (platform ? platformLookups_ : lookups_).push_back(text);
    if (failedLookups_.count("*") != 0 || failedLookups_.count(text) != 0) return nullptr;
    if (platform) return nullptr;  // the simulated host has no platform layer to offer
    if (text == "iIn") return &iIn;
    if (text == "iOut") return &iOut;
    if (text == "dFPS") return &dFPS;
    if (text == "dAnim_Clock") return &dAnim_Clock;
    static const ServiceAddresses services = TheServices();
    auto found = services.functions.find(text);
    return found != services.functions.end() ? found->second : nullptr;
}

void SimHost::SetStateRecordPresent(bool present) {
    hostInterface_.HostPut<void*>(kStateRecordOffset, present ? stateRecord_.Data() : nullptr);
}

void SimHost::SetCurrentItem(void* item) {
    stateRecord_.HostPut(kCurrentItemOffset, item);
    scene_.SetCurrentItem(item);
}

void* SimHost::CurrentItem() const {
    if (Get<void*>(hostInterface_.Data(), kStateRecordOffset) == nullptr) return nullptr;
    return Get<void*>(stateRecord_.Data(), kCurrentItemOffset);
}

void SimHost::SetContentDirectory(const std::string& directory) {
    const std::size_t length =
        directory.size() < kContentDirectoryCapacity ? directory.size() : kContentDirectoryCapacity - 1;
    hostInterface_.HostWrite(kContentDirectoryOffset, directory.data(), length);
    hostInterface_.HostPut(kContentDirectoryOffset + length, '\0');
}

void* SimHost::InstanceBlock(void* item) const {
    auto found = instanceData_.find(InstanceKey{item, const_cast<void*>(moduleRecord_.Data())});
    return found == instanceData_.end() ? nullptr : found->second.get();
}

void* SimHost::CreateInstance(void* item, void* module, std::int32_t zero, std::int32_t size) {
    if (module != moduleRecord_.Data()) Report("CreateInstanceData with a foreign module record");
    if (zero != 0 || size != kSettingsBlockSize) Report("CreateInstanceData with unexpected arguments");
    if (item == nullptr) Report("CreateInstanceData with a null item");
    if (PastTheList(item)) {
        Report("CreateInstanceData for an entry past the hierarchy list's count");
        return nullptr;
    }
    if (failInstanceCreation_ || item == nullptr) return nullptr;
    scene_.Named(item);
    auto& slot = instanceData_[InstanceKey{item, module}];
    if (!slot) slot.reset(ZeroedRecord(static_cast<std::size_t>(size > 0 ? size : kSettingsBlockSize)));
    return slot.get();
}

void* SimHost::GetInstance(void* item, void* module, std::int32_t zero) {
    if (module != moduleRecord_.Data()) Report("GetInstanceData with a foreign module record");
    if (zero != 0) Report("GetInstanceData with unexpected arguments");
    if (item == nullptr) Report("GetInstanceData with a null item");
    if (PastTheList(item)) {
        Report("GetInstanceData for an entry past the hierarchy list's count");
        return nullptr;
    }
    scene_.Named(item);
    if (instanceListener_) instanceListener_(item);
    auto found = instanceData_.find(InstanceKey{item, module});
    return found == instanceData_.end() ? nullptr : found->second.get();
}

void SimHost::FreeInstance(void* item, void* module, std::int32_t zero) {
    if (zero != 0) Report("FreeInstanceData with unexpected arguments");
    if (item == nullptr) Report("FreeInstanceData with a null item");
    if (instanceData_.erase(InstanceKey{item, module}) == 0) Report("FreeInstanceData of an item without data");
}

std::int32_t SimHost::HierarchyList(std::uint64_t root, void** list) {
    if (list == nullptr) {
        Report("GetHierarchyList without a list pointer");
        return 0;
    }
    if (root != kItemListRoot) Report("GetHierarchyList with a root the host did not give");
    if (hierarchyUnavailable_) return 0;
    std::vector<void*> items = scene_.Items();
    if (nullHierarchyEntry_) items.insert(items.begin(), nullptr);
    auto* entries = static_cast<unsigned char*>(std::calloc(items.size() + 1, kHierarchyEntrySize));
    for (std::size_t i = 0; i < items.size(); ++i) Put(entries, i * kHierarchyEntrySize + 8, items[i]);
    // A count the host overrides may reach this entry on purpose.
    if (!hierarchyCount_.has_value()) {
        Put(entries, items.size() * kHierarchyEntrySize + 8, static_cast<void*>(pastTheList_.data()));
    }
    openLists_.insert(entries);
    *list = entries;
    return hierarchyCount_.value_or(static_cast<std::int32_t>(items.size()));
}

void SimHost::FreeHierarchy(void** list) {
    if (list == nullptr || *list == nullptr || openLists_.erase(*list) == 0) {
        Report("FreeHierarchyList of a list the host did not hand out");
        return;
    }
    std::free(*list);
    *list = nullptr;
}

void SimHost::Update(std::int32_t flags) {
    updates_.push_back(flags);
    Journal("update " + std::to_string(flags));
    if ((flags & kReevaluate) != 0) scene_.Reevaluate(dAnim_Clock);
}

std::size_t SimHost::TakeViolations(const std::string& text) {
    const auto before = violations_.size();
    violations_.erase(std::remove_if(violations_.begin(), violations_.end(),
                                     [&](const std::string& v) { return v.find(text) != std::string::npos; }),
                      violations_.end());
    return before - violations_.size();
}

std::vector<std::string> SimHost::Audit() {
    memory_.CheckGuards();
    std::vector<std::string> found = violations_;
    if (!openLists_.empty())
        found.push_back(std::to_string(openLists_.size()) + " hierarchy list(s) never freed");
    hostInterface_.Check(&found);
    moduleRecord_.Check(&found);
    stateRecord_.Check(&found);
    scene_.CheckRecords(&found);
    ui_.CheckRecords(&found);
    return found;
}

}  // namespace simhost
