// The second yardstick for start-up time: Vellicor's main window with its 22 standard
// controls, built by the program's own window code from the same layout table, with the
// same start, icon and manifest, but none of its logic (no registry, no files). Set
// beside the empty window it shows what the controls cost; set beside Vellicor.exe, what
// loading the settings adds.
#include "platform/win32/Program.h"
#include "ui/MainLayout.h"
#include "ui/toolkit/WindowModel.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace vellicor;
    const auto commonControls = platform::win32::PrepareProcess();
    ui::WindowModel model(ui::MainLayout());
    platform::win32::NativeWindow window(model, platform::win32::MainWindowStyle());
    if (!window.Create(nullptr)) return 1;
    window.Show();
    window.RunUntilClosed();
    return 0;
}
