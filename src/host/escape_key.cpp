// Escape key poll through GetAsyncKeyState.
//
// On Windows it comes from USER32. Elsewhere the process that loads the
// plug-in provides it, as USER32 does on Windows: the plug-in leaves it an
// undefined symbol and never defines it.
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
extern "C" short GetAsyncKeyState(int virtualKey);
#endif

#include "host/escape_key.h"

namespace corvantide {

bool EscapePressed() { return GetAsyncKeyState(kEscapeVirtualKey) != 0; }

void ForgetEarlierEscapePress() { EscapePressed(); }

}  // namespace corvantide
