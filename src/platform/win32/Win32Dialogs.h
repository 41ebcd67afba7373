#pragma once

#include "platform/Dialogs.h"

#include <windows.h>

namespace vellicor::platform::win32 {

// Message boxes owned by the program's current top window, titled "Vellicor".
class Win32Dialogs : public Dialogs {
public:
    int Show(const std::wstring& text, unsigned style) override {
        return ::MessageBoxW(owner, text.c_str(), L"Vellicor", style);
    }
    HWND owner = nullptr;
};

} // namespace vellicor::platform::win32
