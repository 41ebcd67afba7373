#include "ui/toolkit/Geometry.h"
#include "win32/EventBoundary.h"
#include "win32/NativeWindow.h"

// The user's side of the window: the message loop, where the pointer and the keyboard are
// heard of, and the commands and system commands that reach the window.
namespace vellicor::win32 {

namespace {

bool IsKey(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_SYSCHAR;
}

} // namespace

void NativeWindow::RunUntilClosed() {
    MSG message{};
    while (window_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam)); // let outer loops end too
            return;
        }
        // A press comes with the pointer over the control, which it may not have moved over
        // since the keyboard last moved the focus.
        if (message.message == WM_MOUSEMOVE || message.message == WM_LBUTTONDOWN) RouteChildMouseMove(message.hwnd);
        // The dialog manager moves the focus for Tab and the arrow keys while it handles the
        // key; the focus it puts back after an interruption comes by other messages.
        const HWND focusBefore = IsKey(message.message) ? ::GetFocus() : nullptr;
        if (window_ && ::IsDialogMessageW(window_, &message)) {
            if (IsKey(message.message)) RouteKeyboardFocus(focusBefore);
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void NativeWindow::OnCommand(int id, int code) const {
    if (!controls_) return;
    if (id == IDCANCEL || id == IDOK) {
        int target = controls_->IdOf(id == IDCANCEL ? style_.cancelButton : style_.defaultButton);
        // The dialog manager makes the button it moves the focus to the default one; one
        // that took the focus otherwise (a click) is still the one Enter presses.
        if (id == IDOK && target == 0) target = ::GetDlgCtrlID(::GetFocus());
        ui::Control* button = ControlById(target);
        if (button && button->Kind() == ui::ControlKind::CommandButton) button->UserClick();
        return;
    }
    ui::Control* control = ControlById(id);
    if (!control || code != BN_CLICKED) return; // STN_CLICKED is the same code
    switch (control->Kind()) {
    case ui::ControlKind::CheckBox:
    case ui::ControlKind::CommandButton:
    case ui::ControlKind::Label: control->UserClick(); break;
    default: break;
    }
}

void NativeWindow::OnMouseMove(POINT client) const {
    // Frames let the pointer through to the window, so the window tells them apart.
    for (const auto& control : model_.Controls()) {
        if (control->Kind() != ui::ControlKind::Frame) continue;
        const ui::PixelRect r = ui::ControlRect(model_, control->Definition(), dpi_);
        if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom) {
            control->MouseMove();
            return;
        }
    }
    if (onBackgroundMouseMove) onBackgroundMouseMove();
}

LRESULT NativeWindow::OnSystemCommand(WPARAM wParam, LPARAM lParam) {
    // Windows deactivates a window that it minimises, and the dialog manager saves its
    // focus then; Wine keeps it active, and on restore the dialog manager puts the focus
    // on the first control. So the focus is kept here too, and put back once restored.
    const HWND window = window_;
    const WPARAM command = wParam & 0xFFF0;
    if (command == SC_MINIMIZE && ::IsChild(window_, ::GetFocus())) focusWhileMinimised_ = ::GetFocus();
    const LRESULT result = ::DefDlgProcW(window, WM_SYSCOMMAND, wParam, lParam);
    if (command == SC_RESTORE && window_ && !::IsIconic(window_) && ::IsChild(window_, focusWhileMinimised_)) {
        ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusWhileMinimised_), TRUE);
    }
    if (command == SC_RESTORE) focusWhileMinimised_ = nullptr;
    return result;
}

// The pointer over one of our controls: the message is on its way to the control, and
// the model hears of it here, in our own message loop, so that no control needs
// subclassing. (The window's own background and its frames reach WindowProc.)
void NativeWindow::RouteChildMouseMove(HWND target) const noexcept {
    if (!window_ || ::GetParent(target) != window_) return;
    if (ui::Control* control = ControlById(::GetDlgCtrlID(target))) HandleEvent([control] { control->MouseMove(); });
}

void NativeWindow::RouteKeyboardFocus(HWND before) const noexcept {
    const HWND focus = ::GetFocus();
    if (!window_ || focus == before || ::GetParent(focus) != window_) return;
    if (ui::Control* control = ControlById(::GetDlgCtrlID(focus))) HandleEvent([control] { control->KeyboardFocus(); });
}

} // namespace vellicor::win32
