#pragma once

#include "ui/toolkit/WindowModel.h"
#include "win32/ControlWindows.h"
#include "win32/Fonts.h"
#include "win32/Icons.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vellicor::win32 {

// How a top-level window is framed; its controls come from its window model.
struct FrameStyle {
    std::wstring caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0; // twips
    DWORD style = 0;
    DWORD exStyle = 0;
    int iconResource = 0;
    std::wstring_view cancelButton;  // Esc clicks it
    std::wstring_view defaultButton; // Enter clicks it
    std::wstring_view initialFocus;
    // Also after a move to a monitor of another density, unless the user is dragging it.
    bool centredOverOwner = false;
};

// The real window that shows a window model with standard controls. The model stays the
// source of truth: user actions go to the model, the model's changes come back through
// the controls' views. Geometry is in twips and follows the window's DPI. The dialog
// manager does the keyboard.
class NativeWindow {
public:
    NativeWindow(ui::WindowModel& model, FrameStyle style);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    // Creates the window and its controls, hidden; false when it or one of its controls
    // cannot be made.
    bool Create(HWND owner);
    void Show();
    void Destroy();
    HWND Hwnd() const { return window_; }

    // The pointer over the client area outside every control and frame.
    std::function<void()> onBackgroundMouseMove;
    // The window is being destroyed (its controls still exist).
    std::function<void()> onDestroy;
    // The platform's close command (close box, Alt+F4); closes the window when empty.
    std::function<void()> onClose;

    // Runs messages until this window is gone; keyboard navigation included.
    void RunUntilClosed();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RouteChildMouseMove(HWND target) const noexcept;
    void RouteKeyboardFocus(HWND before) const noexcept;
    // Lays the window out at the DPI, its frame at its exact size there, with its top left
    // corner where given or else where it stands.
    void ApplyLayout(unsigned dpi, const POINT* topLeft = nullptr);
    SIZE FrameSize(unsigned dpi) const;
    void OnCommand(int id, int code) const;
    void OnMouseMove(POINT client) const;
    LRESULT OnSystemCommand(WPARAM wParam, LPARAM lParam);
    // Null for any id but a control's, and while the controls are being made or are gone.
    ui::Control* ControlById(int id) const { return controls_ ? controls_->ControlById(id) : nullptr; }

    ui::WindowModel& model_;
    FrameStyle style_;
    HWND window_ = nullptr;
    unsigned dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND focusWhileMinimised_ = nullptr;
    bool movingByUser_ = false; // inside the system's move or size loop
    std::optional<ControlWindows> controls_;
    ControlFonts fonts_;
    WindowIcons icons_;
};

} // namespace vellicor::win32
