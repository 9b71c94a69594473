// A started plug-in with a person at its panel, and a look at the records
// the plug-in keeps in the host's instance data.
#pragma once

#include <string>

#include "panel_user.h"
#include "plugin_session.h"
#include "settings/export_settings.h"

namespace corvantide_test {

class PanelSession : public PluginSession {
protected:
    // The host builds the panel and then shows it.
    void OpenPanel() {
        ASSERT_EQ(1, host.BuildPanel());
        user.ShowPanel();
    }

    corvantide::ExportSettings* SettingsOf(void* item) {
        return static_cast<corvantide::ExportSettings*>(host.InstanceBlock(item));
    }

    static std::string TextOf(const char* buffer) { return buffer != nullptr ? buffer : "(no buffer)"; }

    simhost::PanelUser user{host};
};

}  // namespace corvantide_test
