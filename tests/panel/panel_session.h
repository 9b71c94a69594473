// A started plug-in with a person at its panel, and a look at the records
// the plug-in keeps in the host's instance data.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "panel_user.h"
#include "plugin_session.h"
#include "settings/export_settings.h"
#include "test_folder.h"

namespace corvantide_test {

// A test folder that is the working directory while it lives: an export
// with an empty base name writes ".mot" there, not in the build tree.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& label = "")
        : folder_(label), previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder_.Path());
    }
    ~ScratchDirectory() { std::filesystem::current_path(previous_); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& Path() const { return folder_.Path(); }

private:
    TestFolder folder_;
    std::filesystem::path previous_;
};

inline std::string CurrentTestName() { return testing::UnitTest::GetInstance()->current_test_info()->name(); }

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
