#pragma once

#include "platform/Shell.h"

namespace vellicor::win32 {

// Hands an address to explorer.exe from the Windows folder, which opens it in the
// user's browser or e-mail program.
class Win32Shell : public platform::Shell {
public:
    void Open(const std::wstring& address) override;
};

} // namespace vellicor::win32
