// A camera's zoom-factor envelope, "<destinationPath>_ZoomFactor.mot": one
// bare envelope from the camera's keys, slot 12. [interface thread]
#pragma once

#include "export/file_output.h"

namespace corvantide {

enum class StageResult { kWritten, kNoMemory, kWriteFailed };

// Writes the envelope into the staged file's temporary file and closes it;
// the caller commits it. On failure nothing is left behind.
StageResult StageZoomEnvelope(const void* item, double fps, StagedFile* staged);

}  // namespace corvantide
