#include "app/MainForm.h"

#include "core/ErrorState.h"
#include "core/Win32Values.h"
#include "tools/FileCommands.h"
#include "tools/ReadOnlyProtection.h"
#include "tools/RegistryCommands.h"
#include "tools/RegistryToggles.h"
#include "ui/Messages.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace vellicor::app {

namespace {

using namespace win32values;
using ui::Control;
using ui::ControlKind;
namespace msg = ui::messages;

// A command's failure report: what failed, a blank line, then "number: description".
std::wstring FailureReport(std::wstring_view whatFailed, const Failure& failure) {
    return std::wstring(whatFailed) + L"\r\n\r\n" + std::to_wstring(failure.Number()) + L": " + failure.Description();
}

// The new playlist could not be created: the number, the description with its full stop
// (the system's own ends with one already), a blank line and the playlist's path.
std::wstring OpeningFailureReport(const Failure& failure, const std::wstring& path) {
    std::wstring text = msg::kErrorOpeningPlaylist + std::to_wstring(failure.Number()) + L' ' + failure.Description();
    if (!text.ends_with(L'.')) text += L'.';
    return text + L"\r\n\r\n" + path;
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
    env_.dialogs.Show(msg::kCouldNotOpenSettings, kMbOk | kMbIconCritical);
    return false;
}

void MainForm::Form_Load() { cmdRefresh_Click(); }

void MainForm::Form_Terminate() { settingsKey_.reset(); }

void MainForm::Form_MouseMove() { ShowTip(nullptr); }

void MainForm::cmdRefresh_Click() {
    for (const auto& control : window_.Controls()) {
        if (control->Kind() != ControlKind::CheckBox) continue;
        // Graying a checked or unchecked box raises its Click, which loads it; only a box
        // that was grayed already needs the call by name. Calling one whose load just
        // failed would load it, and show its message, a second time.
        const bool raisesClick = control->Value() != ui::kGrayed;
        control->SetValue(ui::kGrayed);
        if (!raisesClick) window_.CallByName(control->Name() + L"_Click");
    }
}

void MainForm::cmdExit_Click() { host_.Close(); }

void MainForm::cmdAbout_Click() { host_.ShowAbout(); }

void MainForm::cmdKillLib_Click() {
    if (!Confirmed(msg::kConfirmEmptyLibrary)) return;
    const tools::Outcome outcome = tools::EmptyMediaLibrary(Key(), env_.files);
    if (!outcome.Done()) return Warn(FailureReport(msg::kErrorEmptyingLibrary, *outcome.failure));
    Inform(msg::kLibraryEmptied + outcome.path);
    ShowUnknown(L"chkLibReadOnly");
}

void MainForm::cmdEmptyPlaylist_Click() {
    if (!Confirmed(msg::kConfirmEmptyPlaylist)) return;
    const tools::Outcome outcome = tools::EmptyDefaultPlaylist(Key(), env_.files);
    if (outcome.Done()) return Inform(msg::kPlaylistEmptied + outcome.path);
    Warn(outcome.creating ? OpeningFailureReport(*outcome.failure, outcome.path)
                          : FailureReport(msg::kErrorEmptyingPlaylist, *outcome.failure));
}

void MainForm::cmdFixAssoc_Click() {
    const tools::Outcome outcome = tools::FixFileAssociations(env_.registryRoot());
    if (outcome.Done()) return Inform(msg::kAssociationsDeleted);
    Warn(FailureReport(msg::kErrorFixingAssociations, *outcome.failure));
}

void MainForm::cmdKillReg_Click() {
    if (!Confirmed(msg::kConfirmDeleteSettings)) return;
    const tools::Outcome outcome = tools::DeleteSettings(Key());
    if (!outcome.Done()) return Warn(FailureReport(msg::kErrorDeletingSettings, *outcome.failure));
    Inform(msg::kSettingsDeleted);
    host_.Close();
}

void MainForm::WireCheckBoxes() {
    const auto rows = CheckBoxes();
    guards_.resize(rows.size()); // never again: the handlers keep references into it
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CheckBoxRow& row = rows[i];
        Control* box = window_.Find(row.control);
        if (!box || box->Kind() != ControlKind::CheckBox || box->onClick) {
            throw std::logic_error("a check box row names no check box of its own");
        }
        ui::ReentryGuard& guard = guards_[i];
        box->onClick = [this, &row, box, &guard] { guard.Run(*box, [&] { RunCheckBox(row, *box); }); };
        window_.DefineOperation(box->Name() + L"_Click", box->onClick);
    }
    for (const auto& control : window_.Controls()) {
        if (control->Kind() == ControlKind::CheckBox && !control->onClick) {
            throw std::logic_error("a check box has no row");
        }
    }
}

void MainForm::RunCheckBox(const CheckBoxRow& row, Control& box) {
    const int state = box.Value();
    if (state == ui::kGrayed) return LoadCheckBox(row, box, true);
    if (state != ui::kChecked && state != ui::kUnchecked) return;
    if (StoreCheckBox(row, state == ui::kChecked)) return;
    box.SetValue(ui::kGrayed);
    LoadCheckBox(row, box, false);
}

void MainForm::LoadCheckBox(const CheckBoxRow& row, Control& box, bool reportMissingFile) {
    std::optional<bool> checked;
    if (row.kind == CheckBoxKind::ProtectedFile) {
        // An unreadable folder leaves the box grayed without a word.
        const tools::Protection protection = tools::ReadProtection(Key(), env_.files, row.target);
        using State = tools::Protection::State;
        if (protection.state == State::FileMissing && reportMissingFile) {
            Warn(msg::kCouldNotFind + protection.path + (row.globalPlaylistNote ? msg::kGlobalPlaylistNote : L""));
        }
        if (protection.state == State::ReadOnly || protection.state == State::Writable) {
            checked = protection.state == State::ReadOnly;
        }
    } else {
        checked = tools::ReadToggle(Key(), row.target, row.kind == CheckBoxKind::PresenceToggle);
    }
    if (checked) box.SetValue(*checked ? ui::kChecked : ui::kUnchecked);
}

bool MainForm::StoreCheckBox(const CheckBoxRow& row, bool checked) {
    if (row.kind == CheckBoxKind::ProtectedFile) return tools::WriteProtection(Key(), env_.files, row.target, checked);
    return tools::WriteToggle(Key(), row.target, row.kind == CheckBoxKind::PresenceToggle, checked);
}

void MainForm::WireButtons() {
    const auto commands = std::to_array<std::pair<const wchar_t*, void (MainForm::*)()>>({
        {L"cmdRefresh", &MainForm::cmdRefresh_Click},
        {L"cmdExit", &MainForm::cmdExit_Click},
        {L"cmdKillLib", &MainForm::cmdKillLib_Click},
        {L"cmdEmptyPlaylist", &MainForm::cmdEmptyPlaylist_Click},
        {L"cmdFixAssoc", &MainForm::cmdFixAssoc_Click},
        {L"cmdKillReg", &MainForm::cmdKillReg_Click},
        {L"cmdAbout", &MainForm::cmdAbout_Click},
    });
    for (const auto& entry : commands) {
        const auto command = entry.second;
        window_.Get(entry.first).onClick = [this, command] { (this->*command)(); };
    }
}

void MainForm::ShowUnknown(std::wstring_view control) {
    // Under the box's own guard, so that its handler does not load it and report the
    // file just deleted as missing.
    const auto rows = CheckBoxes();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const CheckBoxRow& r) { return r.control == control; });
    Control& box = window_.Get(control);
    guards_.at(static_cast<std::size_t>(row - rows.begin())).Run(box, [&box] { box.SetValue(ui::kGrayed); });
}

void MainForm::WireTips() {
    for (const auto& owned : window_.Controls()) {
        Control& control = *owned;
        switch (control.Kind()) {
        case ControlKind::CheckBox:
        case ControlKind::CommandButton:
            control.onMouseMove = [this, &control] { ShowTip(&control); };
            control.onKeyboardFocus = control.onMouseMove;
            if (control.Kind() == ControlKind::CheckBox) {
                window_.DefineOperation(control.Name() + L"_MouseMove", control.onMouseMove);
            }
            break;
        case ControlKind::Frame: control.onMouseMove = [this] { ShowTip(nullptr); }; break;
        default: break;
        }
    }
}

void MainForm::ShowTip(const ui::Control* control) {
    ui::Control& tip = window_.Get(L"txtTip");
    tip.SetText(control ? control->Property(L"Tag") : std::wstring());
}

bool MainForm::Confirmed(const wchar_t* question) {
    return env_.dialogs.Show(question, kMbOkCancel | kMbIconQuestion) == kIdOk;
}

void MainForm::Inform(const std::wstring& text) { env_.dialogs.Show(text, kMbOk | kMbIconInformation); }

void MainForm::Warn(const std::wstring& text) { env_.dialogs.Show(text, kMbOk | kMbIconExclamation); }

} // namespace vellicor::app
