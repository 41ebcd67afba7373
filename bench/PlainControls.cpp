// The yardstick for what the main window's controls themselves cost: the same 22
// standard controls of the same classes and styles, at the same places and with the same
// captions (read from the layout table), the same manifest, and the stock dialog font,
// made by plain CreateWindowExW calls. None of Vellicor's window code: no font fitting,
// no icons, no dialog manager, no logic.
#include "ui/MainLayout.h"

#include <windows.h>

#include <string>

namespace {

using vellicor::ui::ControlDef;
using vellicor::ui::ControlKind;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int Pixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VellicorBenchPlain";
    ::RegisterClassExW(&wc);
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Pixels(vellicor::ui::kMainClientWidth, dpi), Pixels(vellicor::ui::kMainClientHeight, dpi)};
    ::AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window =
        ::CreateWindowExW(0, wc.lpszClassName, vellicor::ui::kMainCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
    const auto layout = vellicor::ui::MainLayout();
    for (const ControlDef& def : layout) {
        const wchar_t* className = L"BUTTON";
        DWORD controlStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        DWORD exStyle = 0;
        switch (def.kind) {
        case ControlKind::Frame: controlStyle = WS_CHILD | WS_VISIBLE | BS_GROUPBOX; break;
        case ControlKind::CheckBox: controlStyle |= BS_3STATE; break;
        case ControlKind::CommandButton: controlStyle |= BS_PUSHBUTTON; break;
        case ControlKind::TextBox:
            className = L"EDIT";
            controlStyle |= ES_MULTILINE | ES_READONLY | ES_CENTER;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        default: continue; // the main window has no others
        }
        int left = def.left;
        int top = def.top;
        for (const ControlDef& frameDef : layout) {
            if (frameDef.name == def.container) {
                left += frameDef.left;
                top += frameDef.top;
            }
        }
        const std::wstring caption(def.caption);
        const HWND control =
            ::CreateWindowExW(exStyle, className, caption.c_str(), controlStyle, Pixels(left, dpi), Pixels(top, dpi),
                              Pixels(def.width, dpi), Pixels(def.height, dpi), window, nullptr, instance, nullptr);
        ::SendMessageW(control, WM_SETFONT, font, FALSE);
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
