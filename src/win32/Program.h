#pragma once

#include "win32/NativeWindow.h"
#include "win32/SystemLibrary.h"

namespace vellicor::win32 {

// What the process does before any window: DLLs only from the system folder, and the
// standard controls registered. The controls' library must stay loaded while windows
// use them: keep what this returns until the last window is gone.
[[nodiscard]] UniqueLibrary PrepareProcess();

// The main window's frame: caption, size, icon, Esc and first focus.
FrameStyle MainWindowStyle();

// Creates the main window over the real registry, files and message boxes, runs it
// until it closes, and returns the process's exit code.
int RunProgram();

} // namespace vellicor::win32
