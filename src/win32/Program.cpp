#include "win32/Program.h"

#include "app/MainForm.h"
#include "ui/MainLayout.h"
#include "win32/AboutWindow.h"
#include "win32/NativeWindow.h"
#include "win32/ResourceIds.h"
#include "win32/Win32Dialogs.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Shell.h"

#include <commctrl.h>

#include <memory>
#include <optional>

namespace vellicor::win32 {

UniqueLibrary PrepareProcess() {
    RestrictDllSearch();
    // Not imported: comctl32.dll is no known DLL, so the loader would look for it, and
    // for the DLLs it imports, beside the program first.
    UniqueLibrary commonControls = LoadSystemLibrary(L"comctl32.dll");
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (const auto initCommonControlsEx =
            LibraryFunction<InitCommonControlsExFn>(commonControls.Get(), "InitCommonControlsEx")) {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
        initCommonControlsEx(&classes);
    }
    return commonControls;
}

FrameStyle MainWindowStyle() {
    FrameStyle style;
    style.caption = ui::kMainCaption;
    style.clientWidth = ui::kMainClientWidth;
    style.clientHeight = ui::kMainClientHeight;
    style.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    style.iconResource = VELLICOR_ICON_PROGRAM;
    style.cancelButton = L"cmdExit";
    style.initialFocus = L"cmdRefresh";
    return style;
}

namespace {

class MainWindowHost : public app::WindowHost {
public:
    explicit MainWindowHost(NativeWindow& window) : window_(window) {}
    void Close() override { window_.Destroy(); }
    void ShowAbout() override { ShowAboutWindow(window_.Hwnd(), shell_); }

private:
    NativeWindow& window_;
    Win32Shell shell_;
};

} // namespace

int RunProgram() {
    // The program's one registry root: made on first use, kept until the program ends.
    std::optional<registry::RegistryRoot> root;
    Win32Dialogs dialogs;
    Win32FileSystem files;
    ui::WindowModel model(ui::MainLayout());
    NativeWindow window(model, MainWindowStyle());
    MainWindowHost host(window);
    app::MainForm form(model,
                       app::Environment{
                           [&root]() -> const registry::RegistryRoot& {
                               if (!root) root.emplace(std::make_shared<Win32Registry>());
                               return *root;
                           },
                           dialogs,
                           files,
                       },
                       host);

    if (!form.Form_Initialize()) return 0;
    if (!window.Create(nullptr)) return 1;
    dialogs.owner = window.Hwnd();
    window.onBackgroundMouseMove = [&form] { form.Form_MouseMove(); };
    window.onDestroy = [&form, &dialogs] {
        dialogs.owner = nullptr;
        form.Form_Terminate();
    };
    form.Form_Load();
    window.Show();
    window.RunUntilClosed();
    // A quit message from elsewhere ends the loop with the window still open: it goes now,
    // while the form that its destruction reports to still exists.
    window.Destroy();
    return 0;
}

} // namespace vellicor::win32
