// Every buffer capacity and length limit of the plug-in, each with its
// reason, and checks of how they relate.
//
// A capacity counts bytes including the terminating NUL; a length counts
// characters without it. A text that names a file or directory and does not
// fit is refused, never cut; only texts shown to the user are cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace corvantide {

// The host hands paths and names back and forth in 1024-byte buffers.
inline constexpr std::size_t kHostTextCapacity = 1024;

// Per-item settings.
// The block CreateInstanceData allocates per item: ExportSettings fills it exactly.
inline constexpr std::int32_t kSettingsRecordSize = 64;
// requesterPath and destinationPath, each allocate(1024, 1): host paths.
inline constexpr std::size_t kPathCapacity = kHostTextCapacity;
// A typed path is read into one byte more, so a text too long to store shows as such.
inline constexpr std::size_t kTypedPathProbe = kPathCapacity + 1;
// The byte count the path field is set with when it shows a record: the buffer's size.
inline constexpr std::int32_t kPathFieldByteCount = static_cast<std::int32_t>(kPathCapacity);

// Host services and records.
// FindFileName writes the name and the directory part into a buffer of this size each.
inline constexpr int kFileNamePartCapacity = static_cast<int>(kHostTextCapacity);
// The content directory's storage in the host's record; nothing past it is read.
inline constexpr std::size_t kContentDirectoryCapacity = kHostTextCapacity;
// The module record's name field: "Corvantide" and its NUL.
inline constexpr std::size_t kModuleNameCapacity = 11;

// File requester (FX_FileRequest); each size is also what the host is told.
// The result: the requester may return a path far longer than any path buffer.
inline constexpr std::int32_t kRequesterResultCapacity = 100000;
// The file-name buffer: the suggested name on entry, a host path.
inline constexpr std::int32_t kRequesterNameCapacity = static_cast<std::int32_t>(kHostTextCapacity);
// What the requester is told of the file-name buffer: the host's convention, within it.
inline constexpr std::int32_t kRequesterNameArgument = 512;
// The directory buffer: the chosen directory, a host path.
inline constexpr std::int32_t kRequesterDirectoryCapacity = static_cast<std::int32_t>(kHostTextCapacity);

// Batch texts: BatchDirectory and BatchRequesterPath are fixed process-wide
// arrays; a directory longer than 255 characters is refused.
inline constexpr std::size_t kBatchTextCapacity = 256;
// A typed batch directory is read into one byte more, so a text too long shows as such.
inline constexpr std::size_t kTypedDirectoryProbe = kBatchTextCapacity + 1;

// The status area's text, composed whole and set with this byte count; a
// longer message is cut.
inline constexpr std::size_t kStatusTextCapacity = kHostTextCapacity;
// A message that fits the status text's message line whole: "Info  ", the
// message and the line break in 1023 characters, and the message's NUL.
inline constexpr std::size_t kStatusMessageCapacity = kStatusTextCapacity - (sizeof "Info  \n" - 1);
// A 64-bit number as text: "-9223372036854775808" and the NUL.
inline constexpr std::size_t kNumberTextCapacity = 21;

// Written files.
inline constexpr char kMotionFileSuffix[] = ".mot";
inline constexpr char kZoomFileSuffix[] = "_ZoomFactor.mot";
// A file name, base path and suffix: the host's paths are no longer.
inline constexpr std::size_t kFileNameCapacity = kHostTextCapacity;
// Where a file lands: its name, or the path a link by that name leads to,
// as long as the system resolves it (PATH_MAX on Linux).
inline constexpr std::size_t kTargetCapacity = 4096;
// A temporary file's own name, "~cv" + 8 hex digits + ".tmp", made in the
// folder the file lands in, written first and moved over the destination.
inline constexpr std::size_t kTemporaryNameLength = 15;
inline constexpr std::size_t kTemporaryNameCapacity = kTargetCapacity + kTemporaryNameLength;
// The longest destinationPath whose ".mot" file name fits, and whose zoom file name fits.
inline constexpr std::size_t kMaxMotionBaseLength = kFileNameCapacity - sizeof kMotionFileSuffix;
inline constexpr std::size_t kMaxZoomBaseLength = kFileNameCapacity - sizeof kZoomFileSuffix;
// Text formatted before each write to a file: few, large writes. The chunk
// is the writer's process-wide buffer, not on the host's stack; a megabyte
// keeps the writes' own cost below a tenth of the file's.
inline constexpr std::size_t kWriteChunk = std::size_t{1} << 20;
// Times formatted once per file and copied into every channel; a longer file
// formats the rest on each line. 2 MB of text in the plug-in's own memory.
inline constexpr std::int64_t kTimeColumnCapacity = std::int64_t{1} << 17;
// The full wide form of a host path (Windows): a 1023-character path below a
// long current folder fits; the wide functions take up to 32767 characters.
inline constexpr std::size_t kWidePathCapacity = 4096;
// The names of a run's unwritten files, kept to be listed when it ends: as
// long as the status area's text, more could never be shown.
inline constexpr std::size_t kUnwrittenNamesCapacity = kStatusTextCapacity;

// Channel buffers and frames.
// Entries beyond the collected count in every channel buffer. Nothing reads
// or writes them; they make an empty collection's buffer a real block.
inline constexpr std::int64_t kSpareEntries = 3;
// The most frames one sampled export collects: progress shows frame numbers in 32 bits.
inline constexpr std::int64_t kMaxFrames = std::numeric_limits<std::int32_t>::max();

static_assert(kMaxMotionBaseLength == 1019, "1024 - \".mot\" - NUL");
static_assert(kMaxZoomBaseLength == 1008, "1024 - \"_ZoomFactor.mot\" - NUL");
static_assert(kMaxZoomBaseLength < kMaxMotionBaseLength && kMaxMotionBaseLength < kPathCapacity - 1,
              "a stored path can be too long for its file names: the exporter refuses it");
static_assert(static_cast<std::size_t>(kFileNamePartCapacity) >= kPathCapacity,
              "both parts of a stored path fit FindFileName's buffers");
static_assert(static_cast<std::size_t>(kRequesterResultCapacity) > kPathCapacity,
              "a chosen path short enough for a record comes back whole");
static_assert(static_cast<std::size_t>(kRequesterDirectoryCapacity) > kBatchTextCapacity,
              "a chosen directory short enough for the batch texts comes back whole");
static_assert(kRequesterNameArgument <= kRequesterNameCapacity,
              "the host writes no more name than the buffer holds");
static_assert(kBatchTextCapacity < kPathCapacity,
              "a batch directory, a backslash and a name can share a path buffer");
static_assert(kPathCapacity - 1 == 1023 && kBatchTextCapacity - 1 == 255,
              "the refusal messages name these lengths");
static_assert(kStatusTextCapacity <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()),
              "the status text's byte count is a 32-bit argument");
static_assert(kNumberTextCapacity == std::numeric_limits<std::int64_t>::digits10 + 3,
              "sign, digits10 + 1 digits and the NUL");
static_assert(kWidePathCapacity > kFileNameCapacity + kTemporaryNameLength,
              "a temporary file's full path fits beside a destination of any stored length");
static_assert(kTargetCapacity >= kFileNameCapacity, "a file's own name is always a target that fits");
static_assert(kSpareEntries > 0, "an empty collection never asks the host for zero entries");

}  // namespace corvantide
