// Platform loader for the plug-in library.
#include "plugin_library.h"

#include <cstdlib>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#ifndef CORVANTIDE_PLUGIN_PATH
#define CORVANTIDE_PLUGIN_PATH ""
#endif

namespace simhost {

bool PluginLibrary::Load(const std::string& path, std::string* error) {
    Unload();
#if defined(_WIN32)
    handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (handle_ == nullptr && error != nullptr) {
        *error = "LoadLibrary(" + path + ") failed with error " + std::to_string(GetLastError());
    }
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr && error != nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : ("dlopen(" + path + ") failed");
    }
#endif
    return handle_ != nullptr;
}

void PluginLibrary::Unload() {
    if (handle_ == nullptr) return;
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
}

void* PluginLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

std::string DefaultPluginPath() {
    const char* fromEnvironment = std::getenv("CORVANTIDE_PLUGIN");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return CORVANTIDE_PLUGIN_PATH;
}

}  // namespace simhost
