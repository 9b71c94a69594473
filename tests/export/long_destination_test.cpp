// Destinations as long as the settings record holds them: written on every
// platform (on Windows far beyond the C runtime's 260 characters), and a
// camera's motion file written even where only its zoom file's name is too
// long.
#include <cstdio>
#include <string>

#include "export/item_export.h"
#include "host/text_buffer.h"
#include "linked_plugin.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "export/long_path.h"
#endif

namespace corvantide_test {
namespace {

#if defined(_WIN32)
constexpr char kSeparator = '\\';

std::wstring Wide(const std::string& path) {
    std::wstring wide(corvantide::kWidePathCapacity, L'\0');
    EXPECT_TRUE(corvantide::LongPathForm(path.c_str(), wide.data(), wide.size())) << path;
    wide.resize(std::wcslen(wide.c_str()));
    return wide;
}

void MakeFolders(const std::string& path) {
    for (std::size_t at = path.find(kSeparator, 3); at != std::string::npos;
         at = path.find(kSeparator, at + 1)) {
        CreateDirectoryW(Wide(path.substr(0, at)).c_str(), nullptr);
    }
}

std::string ReadLong(const std::string& path) {
    std::string text;
    std::FILE* file = _wfopen(Wide(path).c_str(), L"rb");
    if (file == nullptr) return text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
    return text;
}

// std::filesystem stops at 260 characters here as well.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}
#else
constexpr char kSeparator = '/';

void MakeFolders(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
}

std::string ReadLong(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
    return text;
}
#endif

class LongDestination : public LinkedPlugin {
protected:
    void TearDown() override {
#if defined(_WIN32)
        RemoveTree(Wide(directory.string() + kSeparator + std::string(99, 'd')));
#endif
        LinkedPlugin::TearDown();
    }

    // A destination of exactly `length` characters below the test's
    // directory, in components short enough for any file system, its
    // folders made.
    std::string PathOfLength(std::size_t length) const {
        std::string path = directory.string();
        while (length - path.size() > 101) path += kSeparator + std::string(99, 'd');
        path += kSeparator + std::string(length - path.size() - 1, 'e');
        MakeFolders(path);
        return path;
    }

    // A one-letter file name in a folder that makes the destination
    // `length` characters long: its temporary file's name is the longest.
    std::string OneLetterNameOfLength(std::size_t length) const {
        const std::string path = PathOfLength(length - 2) + kSeparator + 'B';
        MakeFolders(path);
        return path;
    }

    void* ItemAt(const std::string& name, std::int32_t type, const std::string& path) {
        void* item = host.Scene().AddItem(name, type);
        host.Scene().AddKey(item, 0).Set(0, 1.0).Set(12, 2.0);
        corvantide::ExportSettings* settings = Prepare(item, name);
        EXPECT_TRUE(corvantide::CopyText(settings->destinationPath, corvantide::kPathCapacity, path.c_str()));
        return item;
    }
};

TEST_F(LongDestination, DestinationsOf300And1019CharactersAreWritten) {
    for (std::size_t length : {std::size_t{300}, std::size_t{1019}}) {
        const std::string path = PathOfLength(length);
        ASSERT_EQ(length, path.size());
        void* box = ItemAt("Box" + std::to_string(length), 0, path);
        EXPECT_EQ(1, Export(box)) << length;
        EXPECT_EQ(Header(9), ReadLong(path + ".mot").substr(0, Header(9).size())) << length;
        EXPECT_EQ("Info\nStatus: Idle", Status());
    }
    // A short name deepest down: the temporary file beside it has the longest name.
    const std::string deep = OneLetterNameOfLength(1019);
    EXPECT_EQ(1, Export(ItemAt("Deep", 0, deep)));
    EXPECT_EQ(Header(9), ReadLong(deep + ".mot").substr(0, Header(9).size()));
    // The longest camera path whose zoom file's name fits its buffer.
    const std::string path = PathOfLength(1008);
    EXPECT_EQ(1, Export(ItemAt("Cam", 8, path)));
    EXPECT_EQ(Header(6), ReadLong(path + ".mot").substr(0, Header(6).size()));
    EXPECT_EQ("{ Envelope\n", ReadLong(path + "_ZoomFactor.mot").substr(0, 11));
}

// The two files of a camera move together: a zoom file name that cannot be
// held refuses both before either is touched.
TEST_F(LongDestination, ACameraPathOf1010CharactersWritesNeitherFileAndNamesTheZoomFile) {
    const std::string path = PathOfLength(1010);
    EXPECT_EQ(0, Export(ItemAt("Cam", 8, path)));
    EXPECT_EQ("", ReadLong(path + ".mot"));
    const std::string name = path.substr(path.rfind(kSeparator) + 1);
    EXPECT_EQ("Info  Path too long, not written: " + name + "_ZoomFactor.mot\n", Status());
}

#if defined(_WIN32)
TEST(LongPathForm, IsTheFullPathBehindTheLongPathPrefix) {
    wchar_t wide[corvantide::kWidePathCapacity];
    ASSERT_TRUE(corvantide::LongPathForm("C:/Scenes/Run/../Walk.mot", wide, corvantide::kWidePathCapacity));
    EXPECT_STREQ(L"\\\\?\\C:\\Scenes\\Walk.mot", wide);
    ASSERT_TRUE(corvantide::LongPathForm("\\\\server\\share\\Walk.mot", wide, corvantide::kWidePathCapacity));
    EXPECT_STREQ(L"\\\\?\\UNC\\server\\share\\Walk.mot", wide);
    ASSERT_TRUE(corvantide::LongPathForm("\\\\?\\C:\\As Given.mot", wide, corvantide::kWidePathCapacity));
    EXPECT_STREQ(L"\\\\?\\C:\\As Given.mot", wide);

    // A relative path is taken from the current folder.
    wchar_t current[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, current));
    ASSERT_TRUE(corvantide::LongPathForm("Walk.mot", wide, corvantide::kWidePathCapacity));
    std::wstring expected = std::wstring(L"\\\\?\\") + current;
    if (expected.back() != L'\\') expected += L'\\';
    EXPECT_EQ(expected + L"Walk.mot", std::wstring(wide));

    // A form that does not fit is refused, not cut.
    EXPECT_FALSE(corvantide::LongPathForm("C:\\Scenes\\Walk.mot", wide, 12));
}
#endif

}  // namespace
}  // namespace corvantide_test
