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
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#endif

#include "export/file_names.h"
#include "export/write_failure.h"
#include "host/host_characters.h"
#include "host/text_buffer.h"
#include "host/text_builder.h"

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

unsigned long ProcessNumber() { return static_cast<unsigned long>(::getpid()); }

#endif

// Length of the folder part of `path`, its last separator included; 0 for a
// name in the current folder. Found by separators only: on Windows a ":"
// after the drive never starts a name, so no stream of a file is ever made.
std::size_t FolderLength(const char* path) {
#if defined(_WIN32)
    return NamePartOffset(path);
#else
    return FolderPartLength(path, std::strlen(path), [](char c) { return c == '/'; });
#endif
}

// Numbers of temporary names: different between processes and between
// the exports of one process.
std::uint32_t NextTemporaryNumber() {
    static std::uint32_t next = static_cast<std::uint32_t>(ProcessNumber() * 2654435761u) ^
                                static_cast<std::uint32_t>(std::time(nullptr));
    next = next * 1664525u + 1013904223u;
    return next;
}

// "<folder of target>~cvXXXXXXXX.tmp"
void NameTemporaryFile(StagedFile* staged) {
    constexpr char kDigits[] = "0123456789abcdef";
    const std::size_t folder = FolderLength(staged->target);
    std::memcpy(staged->temporary, staged->target, folder);
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

ExistingFile InspectPath(const char* path, char* target, std::size_t capacity) {
    if (!CopyText(target, capacity, path)) return {Existing::kTooDeep, false, 0};
    wchar_t wide[kWidePathCapacity];
    // A path without a long form cannot be opened either; the open tells why.
    if (!LongPathForm(path, wide, kWidePathCapacity)) return {Existing::kNothing, false, 0};
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES) return {Existing::kNothing, false, 0};
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return {Existing::kLink, false, 0};
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {Existing::kFolder, false, 0};
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return {Existing::kOther, false, 0};
    return {Existing::kFile, (attributes & FILE_ATTRIBUTE_READONLY) != 0, 0};
}

bool KeepPermissions(void*, unsigned) { return true; }

bool KeepPermissionsOfPath(const char*, unsigned) { return true; }

bool IdentifyFile(const char* path, FileKey* key) {
    wchar_t wide[kWidePathCapacity];
    if (!LongPathForm(path, wide, kWidePathCapacity)) return false;
    const HANDLE file = CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (!known) return false;
    key->high = information.dwVolumeSerialNumber;
    key->low = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

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

ExistingFile InspectPath(const char* path, char* target, std::size_t capacity) {
    struct stat status {};
    if (::lstat(path, &status) != 0) {
        // Nothing there, or nothing we may see: the open tells why.
        if (!CopyText(target, capacity, path)) return {Existing::kTooDeep, false, 0};
        return {Existing::kNothing, false, 0};
    }
    const char* landing = path;
    char resolved[PATH_MAX];
    if (S_ISLNK(status.st_mode)) {
        if (::realpath(path, resolved) == nullptr || ::stat(resolved, &status) != 0) {
            return {Existing::kBrokenLink, false, 0};
        }
        landing = resolved;
    }
    if (!CopyText(target, capacity, landing)) return {Existing::kTooDeep, false, 0};
    if (S_ISDIR(status.st_mode)) return {Existing::kFolder, false, 0};
    if (!S_ISREG(status.st_mode)) return {Existing::kOther, false, 0};
    // The mode itself, not access(): a user running as root still keeps
    // what was protected.
    const unsigned mode = static_cast<unsigned>(status.st_mode) & 07777u;
    return {Existing::kFile, (mode & 0222u) == 0, mode};
}

bool KeepPermissions(void* file, unsigned mode) {
    return ::fchmod(ToDescriptor(file), static_cast<mode_t>(mode)) == 0;
}

bool KeepPermissionsOfPath(const char* path, unsigned mode) {
    return ::chmod(path, static_cast<mode_t>(mode)) == 0;
}

bool IdentifyFile(const char* path, FileKey* key) {
    struct stat status {};
    if (::stat(path, &status) != 0) return false;
    key->high = static_cast<std::uint64_t>(status.st_dev);
    key->low = static_cast<std::uint64_t>(status.st_ino);
    return true;
}

#endif

FileOperations PlatformFileOperations() {
    return {CreateExclusive, WriteAll,     CloseFile,   ReplaceFile,    RemoveFile,
            SyncFileData,    SyncFolderOf, InspectPath, KeepPermissions};
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
    staged->keepMode = false;
    staged->mode = 0;
    staged->fault = DestinationFault::kNone;
    staged->character = 0;
    staged->destination[0] = '\0';
    staged->target[0] = '\0';
    staged->temporary[0] = '\0';
    if (!ComposeFileName(staged->destination, sizeof staged->destination, base, suffix)) {
        staged->fault = DestinationFault::kTooLong;
        return false;
    }
    // "C:\Shots\" + ".mot" would be a hidden file of no name.
    if (CheckFileName(base).fault == NameFault::kNoName) staged->fault = DestinationFault::kNoName;
    return true;
}

namespace {

DestinationFault NameFaultOf(const NameCheck& check) {
    switch (check.fault) {
        case NameFault::kNone:
            return DestinationFault::kNone;
        case NameFault::kNoName:
            return DestinationFault::kNoName;
        case NameFault::kForbidden:
            return DestinationFault::kForbidden;
        case NameFault::kDevice:
            return DestinationFault::kDevice;
    }
    return DestinationFault::kNone;
}

DestinationFault ExistingFault(const ExistingFile& existing) {
    switch (existing.kind) {
        case Existing::kNothing:
            return DestinationFault::kNone;
        case Existing::kFile:
            return existing.readOnly ? DestinationFault::kReadOnly : DestinationFault::kNone;
        case Existing::kFolder:
            return DestinationFault::kFolder;
        case Existing::kOther:
            return DestinationFault::kNotAFile;
        case Existing::kLink:
            return DestinationFault::kLink;
        case Existing::kBrokenLink:
        case Existing::kTooDeep:
            return DestinationFault::kBrokenLink;
    }
    return DestinationFault::kNotAFile;
}

}  // namespace

bool CheckStagedFile(StagedFile* staged) {
    if (staged->fault != DestinationFault::kNone) return false;
    const NameCheck name = CheckFileName(staged->destination);
    staged->fault = NameFaultOf(name);
    staged->character = name.character;
    if (staged->fault != DestinationFault::kNone) return false;
    const ExistingFile existing =
        FileOutput.inspect(staged->destination, staged->target, sizeof staged->target);
    staged->fault = ExistingFault(existing);
    staged->keepMode = existing.kind == Existing::kFile && existing.mode != 0;
    staged->mode = existing.mode;
    return staged->fault == DestinationFault::kNone;
}

bool OpenStagedFile(StagedFile* staged) {
    staged->file = nullptr;
    staged->created = false;
    if (staged->target[0] == '\0') CopyText(staged->target, sizeof staged->target, staged->destination);
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
    const bool kept = !staged->keepMode || FileOutput.keepMode(file, staged->mode);
    if (!kept) NoteFailedOperation(errno);
    errno = 0;
    const bool synced = kept && FileOutput.sync(file);
    if (kept && !synced) NoteFailedOperation(errno);
    errno = 0;
    const bool closed = FileOutput.close(file);
    if (!closed) NoteFailedOperation(errno);
    if (synced && closed) return true;
    DiscardStagedFile(staged);
    return false;
}

Commit CommitStagedFile(StagedFile* staged) {
    errno = 0;
    if (!staged->created || !FileOutput.replace(staged->temporary, staged->target)) {
        NoteFailedOperation(errno);
        DiscardStagedFile(staged);
        return Commit::kFailed;
    }
    staged->created = false;
    return FileOutput.syncFolder(staged->target) ? Commit::kInPlace : Commit::kInPlaceNotSynced;
}

void DiscardStagedFile(StagedFile* staged) {
    if (staged->file != nullptr) FileOutput.close(staged->file);
    staged->file = nullptr;
    if (staged->created) FileOutput.remove(staged->temporary);
    staged->created = false;
}

namespace {

// "a file name cannot hold "?"", or "... a control character (0x0A)".
void DescribeForbidden(TextBuilder& text, unsigned char c) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    text.Append("a file name cannot hold ");
    if (c < 0x20) {
        const char code[] = {kDigits[c >> 4], kDigits[c & 0xF], '\0'};
        text.Append("a control character (0x").Append(code).Append(")");
    } else {
        const char shown[] = {'"', static_cast<char>(c), '"', '\0'};
        text.Append(shown);
    }
}

const char* FaultReason(DestinationFault fault) {
    switch (fault) {
        case DestinationFault::kNone:
        case DestinationFault::kForbidden:
            return "";
        case DestinationFault::kTooLong:
            return "the path is too long";
        case DestinationFault::kNoName:
            return "the path has no file name; add one";
        case DestinationFault::kDevice:
            return "Windows keeps that name for a device";
        case DestinationFault::kFolder:
            return "a folder has that name";
        case DestinationFault::kNotAFile:
            return "that name is a device or a pipe, not a file";
        case DestinationFault::kReadOnly:
            return "the file is read-only";
        case DestinationFault::kLink:
            return "the file is a link";
        case DestinationFault::kBrokenLink:
            return "the link leads to no file";
    }
    return "";
}

}  // namespace

void AppendDestinationFault(char* message, std::size_t capacity, const StagedFile& staged) {
    if (staged.fault == DestinationFault::kNone) return;
    TextBuilder text = TextBuilder::Continuing(message, capacity);
    text.Append(": ");
    if (staged.fault == DestinationFault::kForbidden) {
        DescribeForbidden(text, staged.character);
    } else {
        text.Append(FaultReason(staged.fault));
    }
}

namespace {

// Said of a file whose failure the system gave no reason for the user.
constexpr char kNoKnownReason[] = "it could not be written";
constexpr char kFolderNotSynced[] = "written, but its folder could not be synced to the disk";

// The reason after AppendDestinationFault's or AppendFailureReason's ": ".
void TakeReason(char* reason, std::size_t capacity, const char* appended) {
    const char* why = appended[0] == ':' && appended[1] == ' ' ? appended + 2 : kNoKnownReason;
    CopyTextCut(reason, capacity, why);
}

// Names and checks `path` as a whole file's destination; false, with the
// reason it is refused, when it may not be written.
bool CheckWholeFileDestination(StagedFile* staged, const char* path, char* reason, std::size_t capacity) {
    CopyTextCut(reason, capacity, "");
    if (NameStagedFile(staged, path, "") && CheckStagedFile(staged)) return true;
    char why[kStatusTextCapacity] = "";
    AppendDestinationFault(why, sizeof why, *staged);
    TakeReason(reason, capacity, why);
    return false;
}

// The reason of the failed operation noted last.
void TakeFailureReason(char* reason, std::size_t capacity) {
    char why[kStatusTextCapacity] = "";
    AppendFailureReason(why, sizeof why, nullptr, 0);
    TakeReason(reason, capacity, why);
}

}  // namespace

bool WholeFileRefused(const char* path, char* reason, std::size_t capacity) {
    StagedFile staged;
    return !CheckWholeFileDestination(&staged, path, reason, capacity);
}

WholeFile WriteWholeFile(const char* path, const char* data, std::size_t size, char* reason,
                         std::size_t capacity) {
    StagedFile staged;
    if (!CheckWholeFileDestination(&staged, path, reason, capacity)) return WholeFile::kRefused;
    ClearWriteFailure();
    bool written = OpenStagedFile(&staged);
    if (written) {
        errno = 0;
        written = FileOutput.write(staged.file, data, size);
        if (!written) {
            NoteFailedOperation(errno);
            DiscardStagedFile(&staged);
        }
    }
    written = written && CloseStagedFile(&staged);
    const Commit commit = written ? CommitStagedFile(&staged) : Commit::kFailed;
    if (commit == Commit::kFailed) {
        TakeFailureReason(reason, capacity);
        return WholeFile::kFailed;
    }
    if (commit == Commit::kInPlaceNotSynced) CopyTextCut(reason, capacity, kFolderNotSynced);
    return WholeFile::kWritten;
}

WholeFile MoveWholeFile(const char* from, const char* to, char* reason, std::size_t capacity) {
    StagedFile staged;
    if (!CheckWholeFileDestination(&staged, to, reason, capacity)) return WholeFile::kRefused;
    ClearWriteFailure();
    errno = 0;
    const bool moved = (!staged.keepMode || KeepPermissionsOfPath(from, staged.mode)) &&
                       FileOutput.replace(from, staged.target);
    if (!moved) {
        NoteFailedOperation(errno);
        TakeFailureReason(reason, capacity);
        return WholeFile::kFailed;
    }
    if (!FileOutput.syncFolder(staged.target)) CopyTextCut(reason, capacity, kFolderNotSynced);
    return WholeFile::kWritten;
}

}  // namespace corvantide
