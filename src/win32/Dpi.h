#pragma once

#include <windows.h>

namespace vellicor::win32 {

inline constexpr int kHundredthsOfPointPerInch = 7200;

// The window's DPI: its own from Windows 10 1607 on; on 8.1 and 10 before 1607 the
// density of the monitor it stands on; else, and for no window, the system's.
UINT WindowDpi(HWND window);

// The monitor's effective DPI (Windows 8.1 and later); 0 where the system cannot say.
UINT MonitorDpi(HMONITOR monitor);

// Whether the system draws the window's themed parts (a check box's glyph, say) at the
// window's own density, as it does for per-monitor v2 windows (Windows 10 1703 on). Under
// v1 and where there is no per-monitor awareness they are drawn at the system's.
bool ThemedAtWindowDpi(HWND window);

// From WM_NCCREATE: the caption bar and frame follow the window's density too under
// per-monitor awareness v1 (Windows 10 1607; v2, from 1703, does so by itself).
void ScaleNonClientArea(HWND window);

// The window rectangle that gives the client size, at that DPI.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// A system metric (SM_CXEDGE, SM_CXICON, ...) at the DPI: the system's own value where it
// can give one per DPI, else its value at the system DPI scaled.
int SystemMetric(int index, UINT dpi);

// A point size at the DPI, as a LOGFONT height (negative: character height).
inline LONG FontHeight(int hundredthsOfPoint, UINT dpi) {
    return -::MulDiv(hundredthsOfPoint, static_cast<int>(dpi), kHundredthsOfPointPerInch);
}

} // namespace vellicor::win32
