#pragma once

#include "ui/toolkit/ControlDef.h"

namespace vellicor::ui {

class WindowModel;

// 15 twips to a pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at the density, to the nearest pixel (half away from zero, as the
// system's MulDiv rounds).
int TwipsToPixels(int twips, unsigned dpi);

struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Where a control stands in its window's client area at the density: one inside a frame
// from the frame's outer corner. The corner and the size are rounded each on their own,
// so that controls of one size keep it wherever they stand.
PixelRect ControlRect(const WindowModel& window, const ControlDef& def, unsigned dpi);

} // namespace vellicor::ui
