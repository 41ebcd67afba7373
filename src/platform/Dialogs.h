#pragma once

#include <string>

namespace vellicor::platform {

// Modal message boxes, always titled with the application title "Vellicor".
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style: the Win32 MB_* flags (core/Win32Values.h); returns the Win32 IDOK/IDCANCEL.
    virtual int Show(const std::wstring& text, unsigned style) = 0;
};

} // namespace vellicor::platform
