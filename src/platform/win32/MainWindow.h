#pragma once

namespace vellicor::platform::win32 {

// Creates the main window over the real registry, files and message boxes, runs it
// until it closes, and returns the process's exit code.
int RunProgram();

} // namespace vellicor::platform::win32
