// The simulated host: the records, services and variables the plug-in expects
// of the animation host, a loader that brings the plug-in in the way the host
// does, and a validator that reports what a real host would punish.
//
// One SimHost is active at a time (the plug-in's callbacks carry no context);
// constructing one makes it current, destroying it unloads the plug-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "escape_script.h"
#include "guarded_allocator.h"
#include "guarded_record.h"
#include "plugin_library.h"
#include "sim_interface.h"
#include "sim_scene.h"

namespace simhost {

// Size of the simulated HostInterface record: up to the end of the content directory.
inline constexpr std::size_t kHostInterfaceSize = 0x6f1b8 + 1024;
inline constexpr std::size_t kModuleRecordSize = 0x800;
inline constexpr std::size_t kStateRecordSize = 0x400;
inline constexpr std::uint64_t kItemListRoot = 0x5eed0001;

class SimHost {
public:
    SimHost();
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    static SimHost& Current();

    // Loads the plug-in library and calls InitCustomize. False with a reason
    // when the library or its export cannot be found.
    bool Load(const std::string& libraryPath, std::string* error);
    // Load, then the start-up phases 2 and 4, as the host runs them.
    bool LoadAndStart(const std::string& libraryPath, std::string* error);
    bool Loaded() const { return library_.Loaded(); }

    // Sends a message through the dispatcher stored in the module record.
    std::int64_t SendMessage(std::int32_t category, void* subject, std::uint64_t code);
    void SendStartupPhase(std::uint64_t phase) { SendMessage(31, nullptr, phase); }
    // Calls the panel builder stored in the module record; -1 when there is none.
    std::int32_t BuildPanel();

    // The records handed to the plug-in, filled with kRecordPattern where the
    // host put nothing; Audit reports any byte the plug-in changed outside
    // the module record's fields that are its own.
    void* HostInterfaceRecord() { return hostInterface_.Data(); }
    void* ModuleRecord() { return moduleRecord_.Data(); }
    void* StateRecord() { return stateRecord_.Data(); }

    // Names asked of the general and the platform look-up, in order.
    const std::vector<std::string>& Lookups() const { return lookups_; }
    const std::vector<std::string>& PlatformLookups() const { return platformLookups_; }
    void ClearLookups();
    // Look-ups of these names (or all, with "*") answer null.
    void FailLookups(std::set<std::string> names) { failedLookups_ = std::move(names); }

    GuardedAllocator& Memory() { return memory_; }

    // Host variables, read and written by the plug-in through their addresses.
    std::int32_t iIn = 0;
    std::int32_t iOut = 60;
    double dFPS = 30.0;
    double dAnim_Clock = 0.0;

    // Host calls in order, from StartJournal on, for checks of their order:
    // "allocate", "release", "FindFileName", "update <flags>", "set <label>"
    // for a control's value, "status <first line>" for the status area's.
    // Tests add their own entries (a file closed, say) with Journal.
    void StartJournal() {
        journaling_ = true;
        journal_.clear();
    }
    void Journal(std::string call) {
        if (journaling_) journal_.push_back(std::move(call));
    }
    const std::vector<std::string>& Journal() const { return journal_; }

    // Flags of every UpdateFXInterface call, in order.
    const std::vector<std::int32_t>& Updates() const { return updates_; }
    void ClearUpdates() { updates_.clear(); }

    // The host state record: present by default, with no current item.
    void SetStateRecordPresent(bool present);
    void SetCurrentItem(void* item);
    void* CurrentItem() const;
    void SetContentDirectory(const std::string& directory);

    // Instance data blocks, keyed by (item, module record).
    std::size_t InstanceBlocks() const { return instanceData_.size(); }
    void* InstanceBlock(void* item) const;
    void FailInstanceCreation(bool fail) { failInstanceCreation_ = fail; }
    // Called with the item of every GetInstanceData: the plug-in turns to an
    // item (a batch asks for each item's settings before exporting it).
    using InstanceListener = std::function<void(void* item)>;
    void SetInstanceListener(InstanceListener listener) { instanceListener_ = std::move(listener); }

    // Hierarchy lists handed out and not yet freed.
    std::size_t OpenHierarchyLists() const { return openLists_.size(); }
    // Make GetHierarchyList leave the list pointer null.
    void SetHierarchyListUnavailable(bool unavailable) { hierarchyUnavailable_ = unavailable; }
    // A hostile list: GetHierarchyList answers this count whatever the list
    // holds (its entries stay the scene's: a count past them reads past the
    // list), and may hold a null item pointer before the scene's items.
    void OverrideHierarchyCount(std::optional<std::int32_t> count) { hierarchyCount_ = count; }
    void SetNullHierarchyEntry(bool present) { nullHierarchyEntry_ = present; }

    // What the validator saw: null handles, overruns, unknown blocks,
    // callbacks answering other than 0, ...
    const std::vector<std::string>& Violations() const { return violations_; }
    void Report(const std::string& violation) { violations_.push_back(violation); }
    // Removes the violations containing `text` (a test that provoked them on
    // purpose); returns how many there were.
    std::size_t TakeViolations(const std::string& text);
    // Checks the allocator's guard bytes and every host record (module, host
    // interface, state, items, blocks, controls) too; empty when all is well.
    std::vector<std::string> Audit();

    SimScene& Scene() { return scene_; }
    SimInterface& Ui() { return ui_; }
    EscapeScript& Escape() { return escape_; }

    // Service entry points, public so the C callbacks can reach them.
    void* LookupName(const char* name, bool platform);
    void* AllocateBlock(std::uint64_t count, std::uint64_t size) {
        Journal("allocate");
        return memory_.Allocate(count, size);
    }
    void ReleaseBlock(void* block) {
        Journal("release");
        memory_.Release(block);
    }
    void* CreateInstance(void* item, void* module, std::int32_t zero, std::int32_t size);
    void* GetInstance(void* item, void* module, std::int32_t zero);
    void FreeInstance(void* item, void* module, std::int32_t zero);
    std::int32_t HierarchyList(std::uint64_t root, void** list);
    void FreeHierarchy(void** list);
    void Update(std::int32_t flags);

private:
    struct FreeDeleter {
        void operator()(void* p) const;
    };
    using RawRecord = std::unique_ptr<void, FreeDeleter>;

    GuardedRecord hostInterface_;
    GuardedRecord moduleRecord_;
    GuardedRecord stateRecord_;
    PluginLibrary library_;
    GuardedAllocator memory_;
    std::vector<std::string> lookups_;
    std::vector<std::string> platformLookups_;
    std::set<std::string> failedLookups_;
    std::vector<std::int32_t> updates_;
    bool journaling_ = false;
    std::vector<std::string> journal_;
    std::vector<std::string> violations_;
    struct InstanceKey {
        void* item;
        void* module;
        bool operator<(const InstanceKey& other) const {
            return item != other.item ? item < other.item : module < other.module;
        }
    };
    std::map<InstanceKey, RawRecord> instanceData_;
    bool failInstanceCreation_ = false;
    InstanceListener instanceListener_;
    std::set<void*> openLists_;
    bool hierarchyUnavailable_ = false;
    std::optional<std::int32_t> hierarchyCount_;
    bool nullHierarchyEntry_ = false;
    // An item record that no scene holds, in the entry after a list's last:
    // a plug-in that reads past the count it was given asks about it.
    std::vector<unsigned char> pastTheList_ = std::vector<unsigned char>(item_layout::kRecordSize, 0);
    bool PastTheList(void* item) const { return item == pastTheList_.data(); }
    SimScene scene_;
    SimInterface ui_;
    EscapeScript escape_;
};

}  // namespace simhost
