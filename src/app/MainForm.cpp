#include "app/MainForm.h"

#include "app/RegistryToggles.h"
#include "core/ErrorState.h"
#include "core/Win32Values.h"
#include "tools/FileCommands.h"
#include "tools/ReadOnlyProtection.h"
#include "tools/RegistryCommands.h"
#include "ui/Messages.h"

#include <array>
#include <string>

namespace vellicor::app {

namespace {

using ui::Control;
using ui::ControlKind;

template <class Def, class Table>
const Def* FindByControl(const Table& table, const std::wstring& name) {
    for (const Def& def : table) {
        if (def.control == name) return &def;
    }
    return nullptr;
}

} // namespace

MainForm::MainForm(ui::WindowModel& window, Environment environment, WindowHost& host)
    : window_(window), env_(std::move(environment)), host_(host) {
    WireCheckBoxes();
    WireButtons();
    WireTips();
}

bool MainForm::Form_Initialize() {
    ErrorState error;
    error.Try([&] { settingsKey_ = env_.registryRoot().KeyFromPath(kSettingsKeyPath); });
    if (!error.Failed()) return true;
    env_.dialogs.Show(ui::messages::kCouldNotOpenSettings, win32values::kMbOk | win32values::kMbIconCritical);
    return false;
}

void MainForm::Form_Load() { cmdRefresh_Click(); }

void MainForm::Form_Terminate() { settingsKey_.reset(); }

void MainForm::Form_MouseMove() { ShowTip(nullptr); }

void MainForm::cmdRefresh_Click() {
    for (const auto& control : window_.Controls()) {
        if (control->TypeName() != L"CheckBox") continue;
        // Graying a checked or unchecked box raises its Click, which loads it; only a box
        // that was grayed already needs the call by name. Calling one whose load just
        // failed would load it, and show its message, a second time.
        const bool raisesClick = control->Value() != ui::kGrayed;
        control->SetValue(ui::kGrayed);
        if (!raisesClick) window_.CallByName(control->Name() + L"_Click");
    }
}

void MainForm::cmdExit_Click() { host_.Close(); }

void MainForm::WireCheckBoxes() {
    for (const auto& owned : window_.Controls()) {
        Control& box = *owned;
        if (box.Kind() != ControlKind::CheckBox) continue;
        ui::ReentryGuard& guard = guards_[box.Name()];

        std::function<void()> handler;
        if (const auto* toggle = FindByControl<ToggleDef>(RegistryToggles(), box.Name())) {
            handler = [this, toggle, &box, &guard] {
                guard.Run(box, [&] { RunToggle(*toggle, box, Key()); });
            };
        } else if (const auto* protection = FindByControl<tools::ReadOnlyBoxDef>(tools::ReadOnlyBoxes(), box.Name())) {
            handler = [this, protection, &box, &guard] {
                guard.Run(box, [&] { tools::RunReadOnlyBox(*protection, box, Key(), env_.files, env_.dialogs); });
            };
        } else {
            continue;
        }
        box.onClick = handler;
        window_.DefineOperation(box.Name() + L"_Click", handler);
    }
}

void MainForm::WireButtons() {
    const auto commands = std::to_array<std::pair<const wchar_t*, std::function<void()>>>({
        {L"cmdRefresh", [this] { cmdRefresh_Click(); }},
        {L"cmdExit", [this] { cmdExit_Click(); }},
        {L"cmdAbout", [this] { host_.ShowAbout(); }},
        {L"cmdKillLib",
         [this] {
             if (tools::EmptyMediaLibrary(Key(), env_.files, env_.dialogs)) ShowUnknown(L"chkLibReadOnly");
         }},
        {L"cmdEmptyPlaylist", [this] { tools::EmptyDefaultPlaylist(Key(), env_.files, env_.dialogs); }},
        {L"cmdFixAssoc", [this] { tools::FixFileAssociations(env_.registryRoot(), env_.dialogs); }},
        {L"cmdKillReg",
         [this] {
             if (tools::DeleteSettings(Key(), env_.dialogs)) host_.Close();
         }},
    });
    for (const auto& [name, command] : commands) {
        for (const auto& control : window_.Controls()) {
            if (control->Name() == name) control->onClick = command;
        }
    }
}

void MainForm::ShowUnknown(const std::wstring& name) {
    // Under the box's own guard, so that its handler does not load it and report the
    // file just deleted as missing.
    Control& box = window_.Get(name);
    guards_[name].Run(box, [&box] { box.SetValue(ui::kGrayed); });
}

void MainForm::WireTips() {
    for (const auto& owned : window_.Controls()) {
        Control& control = *owned;
        switch (control.Kind()) {
        case ControlKind::CheckBox:
        case ControlKind::CommandButton:
            control.onMouseMove = [this, &control] { ShowTip(&control); };
            control.onKeyboardFocus = control.onMouseMove;
            break;
        case ControlKind::Frame:
            control.onMouseMove = [this] { ShowTip(nullptr); };
            break;
        default:
            break;
        }
        if (control.Kind() == ControlKind::CheckBox) {
            window_.DefineOperation(control.Name() + L"_MouseMove", control.onMouseMove);
        }
    }
}

void MainForm::ShowTip(const ui::Control* control) {
    ui::Control& tip = window_.Get(L"txtTip");
    tip.SetText(control ? control->Property(L"Tag") : std::wstring());
}

} // namespace vellicor::app
