// What the panel tells the user about refused input.
#include "panel/user_notices.h"

#include "host/interface_services.h"
#include "panel/status_area.h"

namespace corvantide {

void ReportAllocationFailure() { ConfirmMessage(kAllocationFailedText, nullptr); }

void ReportRefusedText(const char* message) { SetStatusMessage(message); }

}  // namespace corvantide
