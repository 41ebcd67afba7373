#pragma once

#include "platform/Dialogs.h"

#include <windows.h>

namespace vellicor::win32 {

// Message boxes owned by the program's current top window, titled "Vellicor". Until that
// window is shown (the messages of the first load), a box has no owner: on Windows a box
// owned by a hidden window has no taskbar button, and once covered it could not be found.
// It is task-modal instead, so the hidden window takes no input, and comes up in front.
class Win32Dialogs : public platform::Dialogs {
public:
    int Show(const std::wstring& text, unsigned style) override {
        if (owner && ::IsWindowVisible(owner)) return ::MessageBoxW(owner, text.c_str(), L"Vellicor", style);
        return ::MessageBoxW(nullptr, text.c_str(), L"Vellicor", style | MB_TASKMODAL | MB_SETFOREGROUND);
    }
    HWND owner = nullptr;
};

} // namespace vellicor::win32
