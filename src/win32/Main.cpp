#include "win32/Program.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto commonControls = vellicor::win32::PrepareProcess();
    return vellicor::win32::RunProgram();
}
