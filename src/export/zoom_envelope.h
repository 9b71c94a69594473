// A camera's zoom-factor envelope, "<destinationPath>_ZoomFactor.mot": one
// bare envelope from the camera's keys, slot 12. [interface thread]
#pragma once

#include <cstdint>

#include "export/file_output.h"
#include "host/plugin_limits.h"
#include "settings/export_settings.h"

namespace corvantide {

enum class StageResult { kWritten, kNoMemory, kWriteFailed };

// Writes the envelope into the staged file's temporary file and closes it;
// the caller commits it. On failure nothing is left behind.
StageResult StageZoomEnvelope(const void* item, double fps, StagedFile* staged);

// Stages and commits the zoom file on its own; 1 written or not a camera, 0 failed.
std::int32_t WriteZoomEnvelope(void* item, const ExportSettings* settings);

}  // namespace corvantide
