#include "platform/win32/Program.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto commonControls = vellicor::platform::win32::PrepareProcess();
    return vellicor::platform::win32::RunProgram();
}
