#pragma once

#include "app/CheckBoxes.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"
#include "ui/toolkit/ReentryGuard.h"
#include "ui/toolkit/WindowModel.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

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
// buttons and the descriptions. It drives the window's controls through their model and
// never touches a real window itself. What the tools did, it turns into check-box states
// and messages.
class MainForm {
public:
    // Wires every check box to its row of CheckBoxes(); a row without its check box, or a
    // check box without its row, is a bug that stops the program here.
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
    void cmdAbout_Click();
    void cmdKillLib_Click();
    void cmdEmptyPlaylist_Click();
    void cmdFixAssoc_Click();
    void cmdKillReg_Click();

private:
    void WireCheckBoxes();
    void WireButtons();
    void WireTips();
    // One run of the tri-state protocol for a box that has just changed (or is asked to
    // load): checked and unchecked are stored at once, grayed loads. Where nothing was
    // stored, the box loads again, silently: it shows what is, not what was asked for.
    void RunCheckBox(const CheckBoxRow& row, ui::Control& box);
    void LoadCheckBox(const CheckBoxRow& row, ui::Control& box, bool reportMissingFile);
    bool StoreCheckBox(const CheckBoxRow& row, bool checked);
    // Grays the check box without loading it: what it showed is gone.
    void ShowUnknown(std::wstring_view control);
    void ShowTip(const ui::Control* control);
    bool Confirmed(const wchar_t* question);
    void Inform(const std::wstring& text);
    void Warn(const std::wstring& text);
    const registry::RegistryKey* Key() const { return settingsKey_ ? &*settingsKey_ : nullptr; }

    ui::WindowModel& window_;
    Environment env_;
    WindowHost& host_;
    std::optional<registry::RegistryKey> settingsKey_;
    std::vector<ui::ReentryGuard> guards_; // one per row of CheckBoxes()
};

} // namespace vellicor::app
