#pragma once

#include "platform/Shell.h"
#include "ui/AboutLayout.h"
#include "win32/NativeWindow.h"

#include <windows.h>

#include <optional>
#include <string>

namespace vellicor::win32 {

// The numeric file version of a program file's version block: major and minor from
// its high word pair, the revision from the lowest word. Empty when the file has no
// readable block.
std::optional<ui::ProgramVersion> ReadFileVersion(const std::wstring& path);

// The About window's frame: caption, size, icon, its one button for Enter and Esc.
FrameStyle AboutWindowStyle();

// Creates the About window over the owner, shows it modally (the owner takes no input
// meanwhile), and returns once it has closed and is gone.
void ShowAboutWindow(HWND owner, platform::Shell& shell);

} // namespace vellicor::win32
