// Platform loader for the plug-in library.
#include "plugin_library.h"

#include <cstdlib>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "motfile/utf8_path.h"

#ifndef CORVANTIDE_PLUGIN_PATH
#define CORVANTIDE_PLUGIN_PATH ""
#endif

namespace simhost {

bool PluginLibrary::Load(const std::string& path, std::string* error) {
    Unload();
#if defined(_WIN32)
    // The path is UTF-8: loaded by its wide name, whatever the code page.
    handle_ = reinterpret_cast<void*>(LoadLibraryW(corvantide::motfile::Utf8Path(path).c_str()));
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
#if defined(_WIN32)
    const wchar_t* fromEnvironment = _wgetenv(L"CORVANTIDE_PLUGIN");
    if (fromEnvironment != nullptr && *fromEnvironment != L'\0') {
        return corvantide::motfile::Utf8Text(std::filesystem::path(fromEnvironment));
    }
#else
    const char* fromEnvironment = std::getenv("CORVANTIDE_PLUGIN");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
#endif
    return CORVANTIDE_PLUGIN_PATH;
}

}  // namespace simhost
