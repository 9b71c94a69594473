// The one place that decides every file the project writes: the name (one
// Windows can hold), whether the destination may be replaced (a folder, a
// device or pipe, a read-only file, a link), the staging, the move and the
// reason told when any of it fails.
//
// Everything is written to a temporary file of a short unique name in the
// folder the file lands in, created exclusively (an existing file of that
// name is never opened), made durable and then moved over the destination.
// An abort or a failure leaves an earlier file untouched, and removes
// nothing but the temporary file the export itself created. A replaced file
// keeps its permission bits; a link is kept and the file it leads to is
// replaced. [interface thread]
#pragma once

#include <cstddef>

#include "export/file_claims.h"
#include "host/plugin_limits.h"

namespace corvantide {

// What a path names before it is written.
enum class Existing {
    kNothing,     // no file by that name (or none the system lets us see)
    kFile,        // a plain file
    kFolder,      // a folder
    kOther,       // a device, a pipe or a socket
    kLink,        // a link that is not followed (Windows)
    kBrokenLink,  // a link that leads to no file
    kTooDeep,     // a link whose target's path does not fit
};

struct ExistingFile {
    Existing kind;
    bool readOnly;  // a plain file nobody may write: no write bit (Linux), the attribute (Windows)
    unsigned mode;  // a plain file's permission bits (Linux); 0 elsewhere
};

// The platform's defaults of the seam below.
bool SyncFileData(void* file);
bool SyncFolderOf(const char* path);
ExistingFile InspectPath(const char* path, char* target, std::size_t capacity);
bool KeepPermissions(void* file, unsigned mode);
// The same for a closed file named by `path`.
bool KeepPermissionsOfPath(const char* path, unsigned mode);

// The operations on files. Tests replace entries to make opens, writes,
// syncs, closes or moves fail, or to count them.
struct FileOperations {
    // Creates `path` for binary writing; never opens a file that exists. Null
    // on failure, with errno set to EEXIST when the name is taken.
    void* (*open)(const char* path);
    // Writes all `size` bytes; false when fewer were written.
    bool (*write)(void* file, const char* data, std::size_t size);
    // Closes the file in any case; false when that failed.
    bool (*close)(void* file);
    // Moves `from` over `to`, replacing an existing `to`; false on failure.
    bool (*replace)(const char* from, const char* to);
    // Deletes `path`; false when it could not.
    bool (*remove)(const char* path);
    // Puts the written data on the disk (fsync, FlushFileBuffers); false on failure.
    bool (*sync)(void* file) = SyncFileData;
    // Puts a move into the folder of `path` on the disk. Linux syncs the
    // folder; on Windows the move itself writes through.
    bool (*syncFolder)(const char* path) = SyncFolderOf;
    // What `path` names now. A link is followed on Linux: `target` (capacity
    // bytes) receives the path of the file it leads to; else `path` itself.
    ExistingFile (*inspect)(const char* path, char* target, std::size_t capacity) = InspectPath;
    // Gives the open file the permission bits of the file it will replace
    // (Linux; nothing to do on Windows). False on failure.
    bool (*keepMode)(void* file, unsigned mode) = KeepPermissions;
};

// The platform's operations: exclusive creation and a move that replaces,
// through the wide functions and the long-path form on Windows.
FileOperations PlatformFileOperations();
// The operations in use; starts as PlatformFileOperations().
extern FileOperations FileOutput;

// Names tried when earlier ones are taken by files of someone else's.
inline constexpr int kTemporaryNameAttempts = 64;

// Why a destination is not written, found before any file is touched.
enum class DestinationFault {
    kNone,
    kTooLong,     // base and suffix do not fit a file name
    kNoName,      // the path names a folder only
    kForbidden,   // a character Windows refuses in a name (`character`)
    kDevice,      // a name Windows keeps for a device
    kFolder,      // a folder has the name
    kNotAFile,    // a device or a pipe has the name
    kReadOnly,    // the file is read-only
    kLink,        // a link that is not followed (Windows)
    kBrokenLink,  // a link that leads nowhere, or too deep to name
};

struct StagedFile {
    char destination[kFileNameCapacity];     // base + suffix, as the user named it
    char target[kTargetCapacity];            // where the file lands: the destination, or its link's target
    char temporary[kTemporaryNameCapacity];  // beside the target
    void* file;                              // open temporary file, or null
    bool created;                            // the temporary file is ours to remove
    bool keepMode;                           // a file is replaced: its permission bits stay
    unsigned mode;
    DestinationFault fault;
    unsigned char character;  // the refused character, with kForbidden
};

// Composes base + suffix into `name` (capacity bytes). False, with nothing
// cut, when it does not fit.
bool ComposeFileName(char* name, std::size_t capacity, const char* base, const char* suffix);

// Names the destination base + suffix. False (fault kTooLong) when the name
// does not fit; a base that names no file (empty, or ending in a separator)
// is noted (fault kNoName) for CheckStagedFile.
bool NameStagedFile(StagedFile* staged, const char* base, const char* suffix);
// Checks a named staged file's name and what its destination holds now, and
// finds where the file lands. False, with the fault set, when it may not be
// written; nothing is touched either way.
bool CheckStagedFile(StagedFile* staged);
// Creates the temporary file of a checked staged file under a name no file
// has yet. False when it cannot.
bool OpenStagedFile(StagedFile* staged);
// Gives the temporary file the replaced file's permission bits, syncs and
// closes it; false (and the temporary file removed) when any of it fails.
bool CloseStagedFile(StagedFile* staged);

enum class Commit {
    kFailed,           // nothing moved; the temporary file is removed
    kInPlace,          // the new file is in place and on the disk
    kInPlaceNotSynced  // the new file is in place; its folder could not be synced
};
// Moves the closed temporary file over its target and syncs the folder.
Commit CommitStagedFile(StagedFile* staged);
// Closes the temporary file if open and removes it; the destination is untouched.
void DiscardStagedFile(StagedFile* staged);

// The identity of the file `path` names on the disk (device and file
// number), whatever name reaches it. False when no file is there.
bool IdentifyFile(const char* path, FileKey* key);

// Appends ": <why>" for a staged file's fault to `message` (capacity bytes,
// cut at its end); nothing when it has none.
void AppendDestinationFault(char* message, std::size_t capacity, const StagedFile& staged);

// What became of a whole file written at once.
enum class WholeFile {
    kWritten,  // in place (its reason tells a folder that could not be synced)
    kRefused,  // the destination may not be written; nothing was touched
    kFailed,   // not written; an earlier file stays as it was
};

// True when `path` may not be written as a whole file now, with the reason
// in `reason` (capacity bytes, at least 1; empty when it may). Nothing is
// touched.
bool WholeFileRefused(const char* path, char* reason, std::size_t capacity);

// Writes `size` bytes of `data` as the whole file `path` through a staged
// file: named, checked, written beside where it lands, synced and moved
// into place, as every file of the plug-in is. `reason` (capacity bytes, at
// least 1) receives why it was refused or failed, or the warning of a
// written file whose folder could not be synced; it is empty otherwise.
// The file layer of the command-line tools.
WholeFile WriteWholeFile(const char* path, const char* data, std::size_t size, char* reason,
                         std::size_t capacity);

// Moves the complete file `from` (the tools': a file written under another
// name) to `to` under the same rules: `to` is checked first, a link's target
// is replaced, a replaced file's permission bits are kept, the folder is
// synced after. `from` stays where it was when the move is refused or fails.
WholeFile MoveWholeFile(const char* from, const char* to, char* reason, std::size_t capacity);

}  // namespace corvantide
