// Loads the plug-in's shared library as the host does: dlopen on Linux,
// LoadLibrary on Windows, then the address of its InitCustomize export.
#pragma once

#include <string>

namespace simhost {

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary() { Unload(); }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // `path` is UTF-8.
    bool Load(const std::string& path, std::string* error);
    void Unload();
    bool Loaded() const { return handle_ != nullptr; }
    // Address of an exported name, or null.
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

// Where the tests find the plug-in: $CORVANTIDE_PLUGIN, else the path this
// build was configured with (on Windows, corvantide.dll beside the
// program); UTF-8.
std::string DefaultPluginPath();

struct PluginLocation {
    std::string path;              // UTF-8
    bool fromEnvironment = false;  // named by CORVANTIDE_PLUGIN
};
// DefaultPluginPath, and whether CORVANTIDE_PLUGIN named it.
PluginLocation DefaultPluginLocation();

}  // namespace simhost
