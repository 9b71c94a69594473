// Platform loader for the plug-in library.
#include "plugin_library.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The library's file name the program looks for by default.
std::string DefaultLibraryName() {
    return corvantide::motfile::Utf8Text(corvantide::motfile::Utf8Path(CORVANTIDE_PLUGIN_PATH).filename());
}

// What a file's first bytes say it is.
enum class FileKind { kOther, kWindows32, kWindows64, kLinux32, kLinux64 };

FileKind KindOfFile(const std::string& path) {
    constexpr std::size_t kHeaderSize = 64;
    constexpr std::size_t kPeOffsetAt = 0x3C;  // e_lfanew of the MZ header
    constexpr std::size_t kPeHeaderSize = 6;   // "PE\0\0" and the machine code
    constexpr std::uint32_t kMachineI386 = 0x014C;
    constexpr std::uint32_t kMachineAmd64 = 0x8664;
    constexpr std::size_t kElfClassAt = 4;
    constexpr char kElfClass32 = 1;
    std::ifstream file(corvantide::motfile::Utf8Path(path), std::ios::binary);
    std::array<char, kHeaderSize> header{};
    file.read(header.data(), header.size());
    const auto read = static_cast<std::size_t>(file.gcount());
    const auto byte = [](const char* bytes, std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };
    if (read == kHeaderSize && header[0] == 'M' && header[1] == 'Z') {
        const std::uint32_t peAt =
            byte(header.data(), kPeOffsetAt) | byte(header.data(), kPeOffsetAt + 1) << 8 |
            byte(header.data(), kPeOffsetAt + 2) << 16 | byte(header.data(), kPeOffsetAt + 3) << 24;
        std::array<char, kPeHeaderSize> pe{};
        file.clear();
        file.seekg(peAt);
        file.read(pe.data(), pe.size());
        if (file.gcount() != static_cast<std::streamsize>(kPeHeaderSize) || pe[0] != 'P' || pe[1] != 'E' ||
            pe[2] != '\0' || pe[3] != '\0')
            return FileKind::kOther;
        const std::uint32_t machine = byte(pe.data(), 4) | byte(pe.data(), 5) << 8;
        if (machine == kMachineI386) return FileKind::kWindows32;
        return machine == kMachineAmd64 ? FileKind::kWindows64 : FileKind::kOther;
    }
    if (read > kElfClassAt && header[0] == '\x7f' && header[1] == 'E' && header[2] == 'L' && header[3] == 'F')
        return header[kElfClassAt] == kElfClass32 ? FileKind::kLinux32 : FileKind::kLinux64;
    return FileKind::kOther;
}

// A library of the other word size or of the other system, named as such;
// empty for any other file.
std::string KindReason(const std::string& path) {
    switch (KindOfFile(path)) {
#if defined(_WIN32)
        case FileKind::kWindows32:
            return "a 32-bit Windows library; the host and this program are 64-bit and need the 64-bit " +
                   DefaultLibraryName();
        case FileKind::kLinux32:
        case FileKind::kLinux64:
            return "a Linux library, not a Windows one";
#else
        case FileKind::kWindows32:
            return "a 32-bit Windows library, not a 64-bit Linux one";
        case FileKind::kWindows64:
            return "a Windows library, not a Linux one";
        case FileKind::kLinux32:
            return "a 32-bit Linux library, not a 64-bit one";
#endif
        default:
            return {};
    }
}

// A folder is told as one, with the library to name in it.
std::string FolderReason(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(corvantide::motfile::Utf8Path(path), error)) return {};
    return "a folder, not a library: name the " + DefaultLibraryName() + " in it";
}

#if defined(_WIN32)
constexpr DWORD kFileNotFound = 2;
constexpr DWORD kPathNotFound = 3;
constexpr DWORD kModuleNotFound = 126;
constexpr DWORD kBadFormat = 193;

std::string WhyNotLoaded(const std::string& path, DWORD code) {
    std::error_code error;
    const bool exists = std::filesystem::exists(corvantide::motfile::Utf8Path(path), error);
    if (const std::string folder = FolderReason(path); !folder.empty()) return folder;
    if (code == kFileNotFound || code == kPathNotFound || (code == kModuleNotFound && !exists))
        return "not found";
    if (const std::string kind = KindReason(path); !kind.empty()) return kind;
    if (code == kModuleNotFound) return "a library it needs is missing";
    if (code == kBadFormat) return "not a 64-bit Windows library";
    return "Windows could not load it (error " + std::to_string(code) + ")";
}
#else
std::string WhyNotLoaded(const std::string& path, const char* reason) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return "not found";
    if (const std::string folder = FolderReason(path); !folder.empty()) return folder;
    if (const std::string kind = KindReason(path); !kind.empty()) return kind;
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

std::string DefaultPluginPath() { return DefaultPluginLocation().path; }

PluginLocation DefaultPluginLocation() {
#if defined(_WIN32)
    const wchar_t* fromEnvironment = _wgetenv(L"CORVANTIDE_PLUGIN");
    if (fromEnvironment != nullptr && *fromEnvironment != L'\0') {
        return {corvantide::motfile::Utf8Text(std::filesystem::path(fromEnvironment)), true};
    }
    // The library beside the program, wherever the program is started from.
    constexpr DWORD kProgramPathCapacity = 32768;
    std::wstring program(kProgramPathCapacity, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), kProgramPathCapacity);
    if (length > 0 && length < kProgramPathCapacity) {
        program.resize(length);
        return {corvantide::motfile::Utf8Text(std::filesystem::path(program).parent_path() /
                                              CORVANTIDE_PLUGIN_PATH),
                false};
    }
#else
    const char* fromEnvironment = std::getenv("CORVANTIDE_PLUGIN");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return {fromEnvironment, true};
#endif
    return {CORVANTIDE_PLUGIN_PATH, false};
}

}  // namespace simhost
