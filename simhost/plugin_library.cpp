// Platform loader for the plug-in library.
#include "plugin_library.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

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

namespace {

// A bare name ("corvantide.dll") names the file in the current folder when
// there is one; the loader would look only in the system's folders for it.
std::string LoadablePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = corvantide::motfile::Utf8Path(path);
    if (path.find_first_of("/\\") != std::string::npos || !std::filesystem::is_regular_file(file, error))
        return path;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    return error ? path : corvantide::motfile::Utf8Text(absolute);
}

#if defined(_WIN32)
constexpr DWORD kFileNotFound = 2;
constexpr DWORD kPathNotFound = 3;
constexpr DWORD kModuleNotFound = 126;
constexpr DWORD kBadFormat = 193;

std::string WhyNotLoaded(const std::string& path, DWORD code) {
    std::error_code error;
    const bool exists = std::filesystem::exists(corvantide::motfile::Utf8Path(path), error);
    if (code == kFileNotFound || code == kPathNotFound || (code == kModuleNotFound && !exists))
        return "not found";
    if (code == kModuleNotFound) return "a library it needs is missing";
    if (code == kBadFormat) return "not a 64-bit Windows library";
    return "Windows could not load it (error " + std::to_string(code) + ")";
}
#else
std::string WhyNotLoaded(const std::string& path, const char* reason) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return "not found";
    const std::string text = reason != nullptr ? reason : "";
    if (text.find("invalid ELF header") != std::string::npos || text.find("too short") != std::string::npos ||
        text.find("wrong ELF class") != std::string::npos)
        return "not a 64-bit Linux library";
    return text.empty() ? std::string("it could not be loaded") : text;
}
#endif

}  // namespace

bool PluginLibrary::Load(const std::string& requested, std::string* error) {
    Unload();
    const std::string path = LoadablePath(requested);
#if defined(_WIN32)
    // The path is UTF-8: loaded by its wide name, whatever the code page.
    handle_ = reinterpret_cast<void*>(LoadLibraryW(corvantide::motfile::Utf8Path(path).c_str()));
    if (handle_ == nullptr && error != nullptr) *error = WhyNotLoaded(path, GetLastError());
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr && error != nullptr) *error = WhyNotLoaded(path, dlerror());
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
    // The library beside the program, wherever the program is started from.
    constexpr DWORD kProgramPathCapacity = 32768;
    std::wstring program(kProgramPathCapacity, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), kProgramPathCapacity);
    if (length > 0 && length < kProgramPathCapacity) {
        program.resize(length);
        return corvantide::motfile::Utf8Text(std::filesystem::path(program).parent_path() /
                                             CORVANTIDE_PLUGIN_PATH);
    }
#else
    const char* fromEnvironment = std::getenv("CORVANTIDE_PLUGIN");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
#endif
    return CORVANTIDE_PLUGIN_PATH;
}

}  // namespace simhost
