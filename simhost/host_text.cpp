// Conversions between the scene's UTF-8 and the host's code page.
#include "host_text.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace simhost {

#if defined(_WIN32)

namespace {

std::wstring Widen(const std::string& text, UINT codePage, DWORD flags, bool* ok) {
    *ok = true;
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0) {
        *ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

// Narrows under the code page; `lossless` (when given) says no character was
// replaced by a default or a best fit.
std::string Narrow(const std::wstring& wide, UINT codePage, bool* lossless) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    // UTF-8 holds everything and takes neither the flag nor the question.
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL* askDefaulted = lossless != nullptr && !utf8 ? &defaulted : nullptr;
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, askDefaulted);
    if (length <= 0) {
        if (lossless != nullptr) *lossless = false;
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, narrow.data(), length, nullptr, askDefaulted);
    if (lossless != nullptr) *lossless = defaulted == FALSE;
    return narrow;
}

}  // namespace

bool ToHostText(const std::string& utf8, std::string* host) {
    host->clear();
    if (utf8.empty()) return true;
    bool ok = false;
    const std::wstring wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, &ok);
    if (!ok) return false;
    bool lossless = false;
    std::string converted = Narrow(wide, CP_ACP, &lossless);
    // A best fit the flag does not stop still reads back as another text.
    if (!lossless || Widen(converted, CP_ACP, 0, &ok) != wide || !ok) return false;
    *host = std::move(converted);
    return true;
}

std::string FromHostText(const std::string& host) {
    bool ok = false;
    return Narrow(Widen(host, CP_ACP, 0, &ok), CP_UTF8, nullptr);
}

std::string HostCodePageName() {
    const UINT codePage = GetACP();
    return codePage == CP_UTF8 ? "UTF-8" : "code page " + std::to_string(codePage);
}

#else

bool ToHostText(const std::string& utf8, std::string* host) {
    *host = utf8;
    return true;
}

std::string FromHostText(const std::string& host) { return host; }

std::string HostCodePageName() { return "UTF-8"; }

#endif

}  // namespace simhost
