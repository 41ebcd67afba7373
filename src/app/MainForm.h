#pragma once

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"
#include "ui/toolkit/ReentryGuard.h"
#include "ui/toolkit/WindowModel.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vellicor::app {

inline constexpr const wchar_t* kSettingsKeyPath = L"\\HKEY_CURRENT_USER\\Software\\Un4seen Developments\\XMPlay2";

// What the main window's logic asks of the window that shows it.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Closes the main window, which ends the program.
    virtual void Close() = 0;
    // Shows the About window modally and returns when it has closed.
    virtual void ShowAbout() = 0;
};

struct Environment {
    // The program's one RegistryRoot, made on first use; throws when no registry is
    // to be had.
    std::function<const registry::RegistryRoot&()> registryRoot;
    platform::Dialogs& dialogs;
    platform::FileSystem& files;
};

// The main window's logic: start-up, the refresh sweep, the check boxes' handlers, the
// buttons and the hover tips. It drives the window's controls through the toolkit model
// and never touches a real window itself.
class MainForm {
public:
    MainForm(ui::WindowModel& window, Environment environment, WindowHost& host);

    // Opens the settings key. False after the start-up failure has been shown: the
    // window must then close without being shown.
    bool Form_Initialize();
    // Before the window is first shown.
    void Form_Load();
    void Form_Terminate();
    // The pointer over the window's client area, outside every control.
    void Form_MouseMove();

    void cmdRefresh_Click();
    void cmdExit_Click();

    const std::optional<registry::RegistryKey>& SettingsKey() const { return settingsKey_; }

private:
    void WireCheckBoxes();
    void WireButtons();
    void WireTips();
    void ShowTip(const ui::Control* control);
    // Grays the check box without loading it: what it showed is gone.
    void ShowUnknown(const std::wstring& name);
    const registry::RegistryKey* Key() const { return settingsKey_ ? &*settingsKey_ : nullptr; }

    ui::WindowModel& window_;
    Environment env_;
    WindowHost& host_;
    std::optional<registry::RegistryKey> settingsKey_;
    std::map<std::wstring, ui::ReentryGuard> guards_; // one per check box, by its name
};

} // namespace vellicor::app
