#pragma once

#include "ui/toolkit/WindowModel.h"

#include <windows.h>

namespace vellicor::win32 {

// A high-contrast theme asks for the system's colours instead of the fixed ones.
bool HighContrast();

// The window's drawn lines (the About window's separator) at the density.
void PaintLines(HDC dc, const ui::WindowModel& model, unsigned dpi);

// A label's colours, for WM_CTLCOLORSTATIC: a link in blue, other text in black, on the
// dialog's own face; the theme's colours in high contrast. Returns the background brush.
HBRUSH ColourLabel(HDC dc, const ui::ControlDef& def);

} // namespace vellicor::win32
