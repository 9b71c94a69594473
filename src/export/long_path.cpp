// Long-path forms of the host's paths (Windows).
#include "export/long_path.h"

#if defined(_WIN32)

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cwchar>

#include "host/host_characters.h"

namespace corvantide {

namespace {

constexpr wchar_t kLocalPrefix[] = L"\\\\?\\";
constexpr wchar_t kUncPrefix[] = L"\\\\?\\UNC\\";
constexpr std::size_t kLocalPrefixLength = 4;
constexpr std::size_t kUncPrefixLength = 8;

bool StartsWith(const wchar_t* text, const wchar_t* prefix) {
    return std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0;
}

}  // namespace

bool LongPathForm(const char* path, wchar_t* wide, std::size_t capacity) {
    if (path == nullptr || capacity < 1) return false;
    wide[0] = L'\0';
    wchar_t given[kWidePathCapacity];
    const UINT codePage = CurrentTextEncoding() == TextEncoding::kUtf8 ? CP_UTF8 : CP_ACP;
    const int converted = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path, -1, given,
                                              static_cast<int>(kWidePathCapacity));
    if (converted <= 0) return false;
    // Already in the long form: taken as it is, as Windows does.
    if (StartsWith(given, kLocalPrefix)) {
        if (std::wcslen(given) >= capacity) return false;
        std::wmemcpy(wide, given, std::wcslen(given) + 1);
        return true;
    }
    // The full path resolves "." and ".." and turns "/" into "\", which the
    // long form no longer does.
    wchar_t full[kWidePathCapacity];
    const DWORD length = GetFullPathNameW(given, static_cast<DWORD>(kWidePathCapacity), full, nullptr);
    if (length == 0 || length >= kWidePathCapacity) return false;
    if (StartsWith(full, L"\\\\.\\")) return false;  // a device, no file
    const bool unc = full[0] == L'\\' && full[1] == L'\\';
    const wchar_t* rest = unc ? full + 2 : full;
    const std::size_t prefixLength = unc ? kUncPrefixLength : kLocalPrefixLength;
    const std::size_t restLength = std::wcslen(rest);
    if (prefixLength + restLength >= capacity) return false;
    std::wmemcpy(wide, unc ? kUncPrefix : kLocalPrefix, prefixLength);
    std::wmemcpy(wide + prefixLength, rest, restLength + 1);
    return true;
}

}  // namespace corvantide

#endif
