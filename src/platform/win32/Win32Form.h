#pragma once

#include "platform/win32/GdiHandles.h"
#include "ui/toolkit/Window.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vellicor::platform::win32 {

// How a top-level window is framed; its controls come from its ui::Window model.
struct FormStyle {
    std::wstring caption;
    int clientWidth = 0; // twips
    int clientHeight = 0; // twips
    DWORD style = 0;
    DWORD exStyle = 0;
    int iconResource = 0;
    std::wstring_view cancelButton; // Esc clicks it
    std::wstring_view defaultButton; // Enter clicks it
    std::wstring_view initialFocus;
};

// A real window showing a ui::Window model with standard controls. The model stays the
// source of truth: user actions go to the model, the model's changes come back through
// the controls' views. Geometry is in twips and follows the window's DPI.
class Win32Form {
public:
    Win32Form(ui::Window& model, FormStyle style);
    ~Win32Form();
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // Creates the window and its controls, hidden.
    bool Create(HWND owner);
    void Show();
    void Destroy();
    HWND Handle() const { return window_; }
    bool IsOpen() const { return window_ != nullptr; }

    // The pointer over the client area outside every control and frame.
    std::function<void()> onBackgroundMouseMove;
    // The window is being destroyed (its controls still exist).
    std::function<void()> onDestroy;
    // The platform's close command (close box, Alt+F4); closes the window when empty.
    std::function<void()> onClose;

    // Runs messages until this window is gone; keyboard navigation included.
    void RunUntilClosed();

private:
    class ChildView;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RouteChildMouseMove(HWND target);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void ApplyLayout(UINT dpi);
    void LoadIcons(UINT dpi);
    void FitFonts(UINT dpi);
    bool CaptionsFit(std::size_t role, HFONT font) const;
    void Repaint() const;
    void OnCommand(int id, int code);
    void OnMouseMove(POINT client);
    void PaintLines(HDC dc) const;
    RECT ControlRect(const ui::ControlDef& def, UINT dpi) const;
    ui::Control* ControlById(int id) const;
    int IdOf(std::wstring_view name) const;

    ui::Window& model_;
    FormStyle style_;
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND focusWhileMinimised_ = nullptr;
    std::vector<std::unique_ptr<ChildView>> views_; // parallel to the model's controls
    std::array<UniqueFont, 4> fonts_; // body, title, links, text boxes
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueIcon pictureIcon_;
};

} // namespace vellicor::platform::win32
