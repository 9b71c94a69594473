// Platform file operations and staged files.
#include "export/file_output.h"

#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "host/text_buffer.h"

namespace corvantide {

namespace {

void* OpenBinary(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    // The writer hands over large chunks; a second buffer would only copy them.
    if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

bool WriteAll(void* file, const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, static_cast<std::FILE*>(file)) == size;
}

bool CloseFile(void* file) { return std::fclose(static_cast<std::FILE*>(file)) == 0; }

bool ReplaceFile(const char* from, const char* to) {
#if defined(_WIN32)
    // rename() refuses to replace an existing file on Windows.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from, to) == 0;
#endif
}

bool RemoveFile(const char* path) { return std::remove(path) == 0; }

}  // namespace

FileOperations PlatformFileOperations() { return {OpenBinary, WriteAll, CloseFile, ReplaceFile, RemoveFile}; }

FileOperations FileOutput = PlatformFileOperations();

bool ComposeFileName(char* name, std::size_t capacity, const char* base, const char* suffix) {
    const std::size_t baseLength = BoundedLength(base, capacity);
    if (base == nullptr || baseLength >= capacity) return false;
    char* tail = name + baseLength;
    if (!CopyText(tail, capacity - baseLength, suffix)) return false;
    std::memmove(name, base, baseLength);
    return true;
}

bool NameStagedFile(StagedFile* staged, const char* base, const char* suffix) {
    staged->file = nullptr;
    staged->created = false;
    staged->destination[0] = '\0';
    staged->temporary[0] = '\0';
    return ComposeFileName(staged->destination, sizeof staged->destination, base, suffix) &&
           ComposeFileName(staged->temporary, sizeof staged->temporary, staged->destination,
                           kTemporarySuffix);
}

bool OpenStagedFile(StagedFile* staged) {
    staged->file = FileOutput.open(staged->temporary);
    staged->created = staged->file != nullptr;
    return staged->created;
}

bool CloseStagedFile(StagedFile* staged) {
    void* file = staged->file;
    staged->file = nullptr;
    if (file != nullptr && FileOutput.close(file)) return true;
    DiscardStagedFile(staged);
    return false;
}

bool CommitStagedFile(StagedFile* staged) {
    if (staged->created && FileOutput.replace(staged->temporary, staged->destination)) {
        staged->created = false;
        return true;
    }
    DiscardStagedFile(staged);
    return false;
}

void DiscardStagedFile(StagedFile* staged) {
    if (staged->file != nullptr) FileOutput.close(staged->file);
    staged->file = nullptr;
    if (staged->created) FileOutput.remove(staged->temporary);
    staged->created = false;
}

}  // namespace corvantide
