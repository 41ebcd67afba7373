#pragma once

#include <windows.h>

namespace vellicor::platform::win32 {

// 15 twips to a pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kHundredthsOfPointPerInch = 7200;

inline int TwipsToPixels(int twips, UINT dpi) { return ::MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

// The window's DPI (per monitor where the system knows it, else the system's).
UINT WindowDpi(HWND window);

// The window rectangle that gives the client size, at that DPI.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// A system metric (SM_CXEDGE, SM_CXICON, ...) at the DPI: the system's own value where it
// can give one per DPI, else its value at the system DPI scaled.
int SystemMetric(int index, UINT dpi);

// A point size at the DPI, as a LOGFONT height (negative: character height).
inline LONG FontHeight(int hundredthsOfPoint, UINT dpi) {
    return -::MulDiv(hundredthsOfPoint, static_cast<int>(dpi), kHundredthsOfPointPerInch);
}

} // namespace vellicor::platform::win32
