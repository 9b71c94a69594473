// Platform file operations and staged files.
#include "export/file_output.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "export/long_path.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#endif

#include "export/write_failure.h"
#include "host/host_characters.h"
#include "host/text_buffer.h"

namespace corvantide {

namespace {

#if defined(_WIN32)

// Largest single WriteFile.
constexpr std::size_t kWriteStep = 1u << 30;

// The system's error of the last call as errno, for the user's reason.
void NoteLastError() {
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_FILENAME_EXCED_RANGE:
            errno = ENAMETOOLONG;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        default:
            errno = EIO;
            break;
    }
}

void* CreateExclusive(const char* path) {
    wchar_t wide[kWidePathCapacity];
    if (!LongPathForm(path, wide, kWidePathCapacity)) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    HANDLE file = CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        NoteLastError();
        return nullptr;
    }
    return file;
}

bool WriteAll(void* file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD step = static_cast<DWORD>(size < kWriteStep ? size : kWriteStep);
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(file), data, step, &written, nullptr) || written == 0) {
            NoteLastError();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool CloseFile(void* file) {
    if (CloseHandle(static_cast<HANDLE>(file)) != 0) return true;
    NoteLastError();
    return false;
}

bool ReplaceFile(const char* from, const char* to) {
    wchar_t wideFrom[kWidePathCapacity];
    wchar_t wideTo[kWidePathCapacity];
    if (!LongPathForm(from, wideFrom, kWidePathCapacity) || !LongPathForm(to, wideTo, kWidePathCapacity)) {
        errno = ENAMETOOLONG;
        return false;
    }
    // Write-through: the move is on the disk when the call returns.
    if (MoveFileExW(wideFrom, wideTo, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
    NoteLastError();
    return false;
}

bool RemoveFile(const char* path) {
    wchar_t wide[kWidePathCapacity];
    return LongPathForm(path, wide, kWidePathCapacity) && DeleteFileW(wide) != 0;
}

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

unsigned long ProcessNumber() { return GetCurrentProcessId(); }

#else

// A descriptor travels as descriptor + 1, so that null means no file. The
// handle is opaque to the seam's callers and never dereferenced.
void* FromDescriptor(int fd) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);  // NOLINT(performance-no-int-to-ptr)
}
int ToDescriptor(void* file) { return static_cast<int>(reinterpret_cast<std::intptr_t>(file) - 1); }

void* CreateExclusive(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd < 0 ? nullptr : FromDescriptor(fd);
}

bool WriteAll(void* file, const char* data, std::size_t size) {
    const int fd = ToDescriptor(file);
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CloseFile(void* file) { return ::close(ToDescriptor(file)) == 0; }

bool ReplaceFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

bool RemoveFile(const char* path) { return ::unlink(path) == 0; }

bool IsSeparator(char c) { return c == '/'; }

unsigned long ProcessNumber() { return static_cast<unsigned long>(::getpid()); }

#endif

// Length of the folder part of `path`, its last separator included; 0 for a
// name in the current folder.
std::size_t FolderLength(const char* path) { return FolderPartLength(path, std::strlen(path), IsSeparator); }

// Numbers of temporary names: different between processes and between
// the exports of one process.
std::uint32_t NextTemporaryNumber() {
    static std::uint32_t next = static_cast<std::uint32_t>(ProcessNumber() * 2654435761u) ^
                                static_cast<std::uint32_t>(std::time(nullptr));
    next = next * 1664525u + 1013904223u;
    return next;
}

// "<folder of destination>~cvXXXXXXXX.tmp"
void NameTemporaryFile(StagedFile* staged) {
    constexpr char kDigits[] = "0123456789abcdef";
    const std::size_t folder = FolderLength(staged->destination);
    std::memcpy(staged->temporary, staged->destination, folder);
    char* name = staged->temporary + folder;
    std::uint32_t number = NextTemporaryNumber();
    name[0] = '~';
    name[1] = 'c';
    name[2] = 'v';
    for (int i = 10; i >= 3; --i) {
        name[i] = kDigits[number & 0xF];
        number >>= 4;
    }
    std::memcpy(name + 11, ".tmp", 5);
}

}  // namespace

#if defined(_WIN32)

bool SyncFileData(void* file) {
    if (FlushFileBuffers(static_cast<HANDLE>(file)) != 0) return true;
    NoteLastError();
    return false;
}

bool SyncFolderOf(const char*) { return true; }

#else

bool SyncFileData(void* file) { return ::fsync(ToDescriptor(file)) == 0; }

bool SyncFolderOf(const char* path) {
    char folder[kFileNameCapacity];
    const std::size_t length = FolderLength(path);
    if (length == 0) {
        std::memcpy(folder, ".", 2);
    } else {
        if (length >= sizeof folder) return false;
        std::memcpy(folder, path, length);
        folder[length] = '\0';
    }
    // A folder that can be written but not read cannot be opened: the move
    // is done and the new file in place, so that is no failed export.
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    // File systems that cannot sync a folder answer EINVAL: nothing to wait for.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

#endif

FileOperations PlatformFileOperations() {
    return {CreateExclusive, WriteAll, CloseFile, ReplaceFile, RemoveFile, SyncFileData, SyncFolderOf};
}

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
    return ComposeFileName(staged->destination, sizeof staged->destination, base, suffix);
}

bool OpenStagedFile(StagedFile* staged) {
    staged->file = nullptr;
    staged->created = false;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        NameTemporaryFile(staged);
        errno = 0;
        staged->file = FileOutput.open(staged->temporary);
        if (staged->file != nullptr) {
            staged->created = true;
            return true;
        }
        if (errno != EEXIST) break;  // not a name taken: another name fails alike
    }
    NoteFailedOperation(errno);
    staged->temporary[0] = '\0';
    return false;
}

bool CloseStagedFile(StagedFile* staged) {
    void* file = staged->file;
    staged->file = nullptr;
    if (file == nullptr) {
        DiscardStagedFile(staged);
        return false;
    }
    errno = 0;
    const bool synced = FileOutput.sync(file);
    if (!synced) NoteFailedOperation(errno);
    errno = 0;
    const bool closed = FileOutput.close(file);
    if (!closed) NoteFailedOperation(errno);
    if (synced && closed) return true;
    DiscardStagedFile(staged);
    return false;
}

bool CommitStagedFile(StagedFile* staged) {
    errno = 0;
    if (!staged->created || !FileOutput.replace(staged->temporary, staged->destination)) {
        NoteFailedOperation(errno);
        DiscardStagedFile(staged);
        return false;
    }
    staged->created = false;
    errno = 0;
    if (FileOutput.syncFolder(staged->destination)) return true;
    NoteFailedOperation(errno);
    return false;
}

void DiscardStagedFile(StagedFile* staged) {
    if (staged->file != nullptr) FileOutput.close(staged->file);
    staged->file = nullptr;
    if (staged->created) FileOutput.remove(staged->temporary);
    staged->created = false;
}

}  // namespace corvantide
