// File output of the exporter: a seam of replaceable file operations, and
// staged files that replace their destination only once complete.
//
// Everything is written to a temporary file of a short unique name in the
// destination's folder, created exclusively (an existing file of that name
// is never opened), made durable and then moved over the destination. An
// abort or a failure leaves an earlier file untouched, and removes nothing
// but the temporary file the export itself created. [interface thread]
#pragma once

#include <cstddef>

#include "host/plugin_limits.h"

namespace corvantide {

// The platform's syncs, the defaults of the seam below.
bool SyncFileData(void* file);
bool SyncFolderOf(const char* path);

// The operations the exporter performs on files. Tests replace entries to
// make opens, writes, syncs, closes or moves fail, or to count them.
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
};

// The platform's operations: exclusive creation and a move that replaces,
// through the wide functions and the long-path form on Windows.
FileOperations PlatformFileOperations();
// The operations in use; starts as PlatformFileOperations().
extern FileOperations FileOutput;

// Names tried when earlier ones are taken by files of someone else's.
inline constexpr int kTemporaryNameAttempts = 64;

struct StagedFile {
    char destination[kFileNameCapacity];
    char temporary[kTemporaryNameCapacity];
    void* file;    // open temporary file, or null
    bool created;  // the temporary file is ours to remove
};

// Composes base + suffix into `name` (capacity bytes). False, with nothing
// cut, when it does not fit.
bool ComposeFileName(char* name, std::size_t capacity, const char* base, const char* suffix);

// Names the destination base + suffix. False when the name does not fit.
bool NameStagedFile(StagedFile* staged, const char* base, const char* suffix);
// Creates the temporary file of a named staged file under a name no file
// has yet. False when it cannot.
bool OpenStagedFile(StagedFile* staged);
// Syncs and closes the temporary file; false (and the temporary file
// removed) when either fails.
bool CloseStagedFile(StagedFile* staged);
// Moves the closed temporary file over the destination and syncs the
// folder; false when that fails (the temporary file is removed when the move
// failed; after a failed folder sync the destination holds the new file).
bool CommitStagedFile(StagedFile* staged);
// Closes the temporary file if open and removes it; the destination is untouched.
void DiscardStagedFile(StagedFile* staged);

}  // namespace corvantide
