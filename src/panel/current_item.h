// The current item and its settings record, as every panel handler sees them
// at the moment its callback runs. [interface thread]
#pragma once

#include "settings/export_settings.h"

namespace corvantide {

// The record of the host's current item; null when there is no current item
// or it has no record.
ExportSettings* CurrentSettings();

}  // namespace corvantide
