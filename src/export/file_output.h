// File output of the exporter: a seam of replaceable file operations, and
// staged files that replace their destination only once complete.
//
// Everything is written to "<destination>.tmp" beside the destination and
// moved over it after a successful close, so an abort or a failure leaves an
// earlier file untouched and no temporary file behind. [interface thread]
#pragma once

#include <cstddef>

#include "host/plugin_limits.h"

namespace corvantide {

// The operations the exporter performs on files. Tests replace entries to
// make opens, writes, closes or moves fail.
struct FileOperations {
    // Opens `path` for binary writing, created or truncated; null on failure.
    void* (*open)(const char* path);
    // Writes all `size` bytes; false when fewer were written.
    bool (*write)(void* file, const char* data, std::size_t size);
    // Closes the file in any case; false when its data could not be flushed.
    bool (*close)(void* file);
    // Moves `from` over `to`, replacing an existing `to`; false on failure.
    bool (*replace)(const char* from, const char* to);
    // Deletes `path`; false when it could not.
    bool (*remove)(const char* path);
};

// The platform's operations: stdio in binary mode, and a move that replaces.
FileOperations PlatformFileOperations();
// The operations in use; starts as PlatformFileOperations().
extern FileOperations FileOutput;

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
// Opens the temporary file of a named staged file. False when it cannot.
bool OpenStagedFile(StagedFile* staged);
// Closes the temporary file; false (and the temporary file removed) when the
// close fails.
bool CloseStagedFile(StagedFile* staged);
// Moves the closed temporary file over the destination; false (and the
// temporary file removed) when the move fails.
bool CommitStagedFile(StagedFile* staged);
// Closes the temporary file if open and removes it; the destination is untouched.
void DiscardStagedFile(StagedFile* staged);

}  // namespace corvantide
