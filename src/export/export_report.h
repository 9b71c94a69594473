// The files a run of exports meant to write and those it could not, so that
// a batch run can end on a message naming them. [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvantide {

// Starts a run: no file noted yet.
void BeginExportReport();
// Notes a file of the run: `name` + `suffix` names it for the user ("Bad" +
// ".mot"); `written` whether it was.
void NoteExportedFile(const char* name, const char* suffix, bool written);
// Files not written since BeginExportReport.
std::int32_t UnwrittenFiles();

// "Couldn't write F of N files: A.mot, B.mot" into `message` (capacity
// bytes), whole names only, ending in "..." where they do not all fit.
void ComposeUnwrittenMessage(char* message, std::size_t capacity);

}  // namespace corvantide
