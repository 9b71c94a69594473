// The files a run of exports meant to write, those it could not and why, and
// which item wrote each file, so that a batch run writes no file twice and
// ends on a message naming what failed. [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvantide {

// Starts a run of at most `items` items: no file noted yet. False when the
// host's allocator has no room for the record of written files; the run
// must not start then.
bool BeginExportReport(std::int32_t items);
// Ends the run and releases the record of written files.
void EndExportReport();

// Notes a file of the run: `name` + `suffix` names it for the user ("Bad" +
// ".mot"); `written` whether it was; `reason` (": <why>", or "") why not.
void NoteExportedFile(const char* name, const char* suffix, bool written, const char* reason);
// Files not written since BeginExportReport.
std::int32_t UnwrittenFiles();
// Files written whose folder could not be synced since BeginExportReport.
std::int32_t UnsyncedFiles();

// The item of the run that wrote the file `target` names (the same file on
// the disk, by whatever name), or null; always null outside a run.
const void* EarlierWriterOf(const char* target);
// `item` (not null) wrote `target` in this run; `unsynced` when its folder
// could not be synced.
void NoteWrittenFile(const char* target, const void* item, bool unsynced);

// "Couldn't write F of N files: A.mot: <why>; B.mot: <why>" into `message`
// (capacity bytes): whole entries only, then "; and N more" for those that
// do not fit.
void ComposeUnwrittenMessage(char* message, std::size_t capacity);
// "Wrote N files; the folder of M could not be synced to the disk".
void ComposeUnsyncedMessage(char* message, std::size_t capacity);

}  // namespace corvantide
