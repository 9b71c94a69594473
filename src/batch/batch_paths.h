// Composition of an item's batch paths. Names and directories are data: they
// are joined, never used as formats. A path that does not fit its buffer is
// refused, never cut.
#pragma once

#include "host/plugin_limits.h"

namespace corvantide {

// Writes the item name into baseName (kPathCapacity bytes) without one ending
// ".lwo" (any letter case), as a file name Windows can hold: each refused
// character becomes "_", and a device name ("NUL", "com1.x") gets a "_".
// False, with baseName empty, when it does not fit. `baseName` is not null;
// a null `itemName` gives an empty name.
bool BatchBaseName(char* baseName, const char* itemName);

// Every text is not null and NUL-terminated.
struct BatchPathSources {
    const char* baseName;
    const char* directoryPart;     // directory of the item's source file, "" when none
    const char* contentDirectory;  // the host's content directory
    bool useBatchDirectory;
    const char* batchDirectory;
    const char* batchRequesterPath;
};

// Composes the requester path and the destination base path, each into a
// kPathCapacity buffer, with one backslash between parts:
//   batch directory on    -> requester: BatchRequesterPath\name, destination: BatchDirectory\name
//   no directory part     -> content\name
//   absolute directory    -> directory\name ("/x", "\x", "C:...")
//   relative directory    -> content\directory\name
// False, with both buffers unchanged, when either path does not fit.
bool ComposeBatchPaths(const BatchPathSources& sources, char* requesterPath, char* destinationPath);

}  // namespace corvantide
