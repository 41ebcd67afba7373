#pragma once

#include "win32/ControlWindows.h"
#include "win32/Handles.h"

namespace vellicor::win32 {

// A window's icons: the title bar's at the sizes the system uses at the density, and
// each picture box's at the largest size of the icon file that its box holds.
class WindowIcons {
public:
    void Load(HWND window, int iconResource, const ui::WindowModel& model, const ControlWindows& windows, unsigned dpi);

private:
    UniqueIcon big_;
    UniqueIcon small_;
    UniqueIcon picture_;
};

} // namespace vellicor::win32
