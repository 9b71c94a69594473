// Panel construction.
#include "panel/build_panel.h"

#include "host/host_binding.h"

namespace corvantide {

std::int32_t BuildPanel(void*, void*, void*, void*) noexcept {
    BindPanelBuilderNames();
    return 1;
}

}  // namespace corvantide
