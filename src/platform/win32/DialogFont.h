#pragma once

#include "platform/win32/GdiHandles.h"

#include <windows.h>

namespace vellicor::platform::win32 {

// The classic dialog face at a character height in pixels (a negative LOGFONT height).
// MS Sans Serif is taken only where the system has it at exactly that height: it is a
// bitmap face made for 96 DPI, and at other heights the system swaps in whatever it
// likes. Otherwise its outline twin Microsoft Sans Serif, asked for as a Swiss
// variable-pitch face so that a system without it picks a sans-serif stand-in.
UniqueFont CreateDialogFont(LONG height, LONG weight, bool underline);

} // namespace vellicor::platform::win32
