// The plug-in's single export. The host calls it once, right after loading.
#include <cstdint>
#include <cstring>

#include "entry/message_dispatch.h"
#include "host/host_interface.h"
#include "host/host_types.h"
#include "host/module_record.h"
#include "host/plugin_limits.h"
#include "host/record_access.h"
#include "panel/build_panel.h"
#include "settings/item_messages.h"

#if defined(_WIN32)
#define CORVANTIDE_EXPORT extern "C" __declspec(dllexport)
#else
#define CORVANTIDE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace corvantide {
namespace {

constexpr char kModuleName[kModuleNameCapacity] = "Corvantide";
constexpr float kHostSettingValue = 1.0F;
constexpr std::uint64_t kItemMessageCodes = kItemCurrent | kItemRemoved;
constexpr std::uint64_t kHostOptionValue = 6;

void EmptyHostEntry() {}

}  // namespace
}  // namespace corvantide

CORVANTIDE_EXPORT void InitCustomize(void* hostInterface, void* moduleRecord) noexcept {
    using namespace corvantide;
    HostInterfaceRecord = hostInterface;
    ModuleRecordPointer = moduleRecord;

    if (moduleRecord != nullptr) {
        std::memcpy(FieldAddress(moduleRecord, module_record::kName), kModuleName, sizeof kModuleName);
        WriteField(moduleRecord, module_record::kHostSetting, kHostSettingValue);
        WriteField<EmptyEntry>(moduleRecord, module_record::kEmptyEntry, EmptyHostEntry);
        WriteField<PanelBuilder>(moduleRecord, module_record::kPanelBuilder, BuildPanel);
        WriteField<MessageHandler>(moduleRecord, module_record::kDefaultHandler, DefaultMessageHandler);
        WriteField<ModuleMessageEntry>(moduleRecord, module_record::kMessageEntry, DispatchModuleMessage);
    }

    for (auto& slot : ModuleMessageTable) slot = DefaultMessageHandler;
    ModuleMessageTable[kItemMessageCategory] = HandleItemMessage;
    ModuleMessageTable[kInitPhaseCategory] = HandleInitPhase;

    if (moduleRecord != nullptr) {
        WriteField(moduleRecord, module_record::kItemMessageMask, kItemMessageCodes);
        WriteField(moduleRecord, module_record::kHostOption, kHostOptionValue);
    }
}
