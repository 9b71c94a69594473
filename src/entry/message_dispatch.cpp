// Message dispatch by category and the start-up phases.
#include "entry/message_dispatch.h"

#include "entry/plugin_state.h"
#include "host/host_binding.h"

namespace corvantide {

ModuleMessageHandler ModuleMessageTable[kMessageCategories]{};

namespace {
constexpr std::uint64_t kBindHostNamesPhase = 2;
constexpr std::uint64_t kBindInterfacePhase = 4;
}  // namespace

std::int64_t DispatchModuleMessage(void* context, void* subject, std::int32_t category,
                                   std::uint64_t code) noexcept {
    if (category < 0 || category >= kMessageCategories) return 0;
    ModuleMessageHandler handler = ModuleMessageTable[category];
    if (handler == nullptr) return 0;  // a message before InitCustomize
    return handler(context, subject, code);
}

std::int64_t DefaultMessageHandler(void*, void*, std::uint64_t) noexcept { return 0; }

std::int64_t HandleInitPhase(void*, void*, std::uint64_t phase) noexcept {
    if (phase == kBindHostNamesPhase) {
        BindHostFunctionGroup();
        BindPlatformGroup();
        BindUtilityGroup();
        ResetPluginState();
    } else if (phase == kBindInterfacePhase) {
        BindInterfaceGroup();
    }
    return 0;
}

}  // namespace corvantide
