// Names in the process's ANSI code page, for exports to folders and files
// named outside ASCII. In the double-byte code pages a character's second
// byte may be a backslash: in 932 "表" is 0x95 0x5C, "ソ" 0x83 0x5C, "能"
// 0x94 0x5C. Under Wine the code page follows the locale a test runs in
// (ja_JP.UTF-8: 932, de_DE.UTF-8: 1252); CTest runs these suites once per
// code page and names the one it chose in CORVANTIDE_CODE_PAGE.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "host_text.h"
#include "motfile/utf8_path.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace corvantide_test {

// Names the code page holds, UTF-8; empty for a code page without a list.
inline std::vector<std::string> NamesOfTheCodePage() {
#if defined(_WIN32)
    if (GetACP() == 932) return {"表示", "ソフト", "性能"};
    if (GetACP() == 1252) return {"Würfel"};
    return {};
#else
    return {"表示", "ソフト", "性能", "Würfel"};
#endif
}

#if defined(_WIN32)
// A name the code page cannot hold (on Linux every name is held).
inline std::string NameOutsideTheCodePage() { return GetACP() == 932 ? "Würfel" : "表示"; }
#endif

// Fails the test when CTest asked for a code page the process did not get
// (the locale was not built or not taken).
inline void ExpectTheRequestedCodePage() {
#if defined(_WIN32)
    if (const char* requested = std::getenv("CORVANTIDE_CODE_PAGE")) {
        ASSERT_EQ(std::string(requested), std::to_string(GetACP()));
    }
#endif
}

// The text as the host hands it to the plug-in.
inline std::string HostText(const std::string& utf8) {
    std::string host;
    EXPECT_TRUE(simhost::ToHostText(utf8, &host)) << utf8;
    return host;
}

// Every file under `root`, each as its names from `root` in UTF-8 joined by "/".
inline std::set<std::string> FilesUnder(const std::filesystem::path& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::string joined;
        for (const std::filesystem::path& part : entry.path().lexically_relative(root)) {
            if (!joined.empty()) joined += '/';
            joined += corvantide::motfile::Utf8Text(part);
        }
        files.insert(joined);
    }
    return files;
}

}  // namespace corvantide_test
