// Why the file an export was writing could not be written: the system's
// error of the first file operation that failed, the first number that is
// not finite, or Escape while it was printed. One file is written at a time,
// on the interface thread; the record belongs to the file last begun.
// [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvantide {

inline constexpr int kNoChannel = -2;    // no number that is not finite
inline constexpr int kZoomChannel = -1;  // the zoom file's one envelope

struct WriteFailure {
    int error;           // errno of the first failed operation; 0 when none is known
    int channel;         // channel of the first number not finite, or kNoChannel
    std::int64_t entry;  // its entry: the host key or the frame counted from the first
    bool isTime;         // the number was the entry's time, not a value
    bool wasStopped;     // Escape was pressed while the file was printed
};

extern WriteFailure LastWriteFailure;

// A new file: nothing failed yet.
void ClearWriteFailure();
// The first failed operation's errno counts; later ones follow from it.
void NoteFailedOperation(int error);
void NoteNotANumber(int channel, std::int64_t entry, bool isTime);
void NoteStopped();

// Appends ": <why>" to `message` (capacity bytes, cut at its end) for a
// reason the user can act on; appends nothing for any other. Keyed files
// name the host key's frame (`hostKeys` holds their key records), sampled
// files `firstFrame` + the entry.
void AppendFailureReason(char* message, std::size_t capacity, const void* hostKeys, std::int64_t firstFrame);

}  // namespace corvantide
