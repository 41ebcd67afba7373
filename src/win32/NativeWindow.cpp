#include "win32/NativeWindow.h"

#include "core/Failure.h"
#include "ui/toolkit/Geometry.h"
#include "win32/Dpi.h"
#include "win32/EventBoundary.h"
#include "win32/Painting.h"

#include <algorithm>

namespace vellicor::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"VellicorForm";

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

// The dialog manager's own window class behaviour: the extra bytes a dialog keeps, and
// DefDlgProcW as the default procedure (WindowProc hands it everything it does not
// handle). It remembers the focused control when the window is deactivated, minimised
// or covered by a modal box and puts the focus back there, moves the focus for
// WM_NEXTDLGCTL, keeps the default button, and moves the arrow keys within groups.
void RegisterWindowClass(WNDPROC windowProc) {
    static const bool registered = [windowProc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = Instance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// Over the middle of the owner, kept inside the work area of the owner's monitor.
void CentreOver(HWND window, HWND owner) {
    RECT ownerRect{};
    RECT rect{};
    if (!owner || !::GetWindowRect(owner, &ownerRect) || !::GetWindowRect(window, &rect)) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
    int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoW(::MonitorFromRect(&ownerRect, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        // The top left corner wins where the window is larger than the work area.
        x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
        y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
    }
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

NativeWindow::NativeWindow(ui::WindowModel& model, FrameStyle style) : model_(model), style_(std::move(style)) {}

NativeWindow::~NativeWindow() { Destroy(); }

bool NativeWindow::Create(HWND owner) {
    RegisterWindowClass(&NativeWindow::WindowProc);
    // Everything is made at its final size and place for the system DPI: start-up time
    // is spent once, not on moving things about. A monitor of another DPI re-lays it out.
    dpi_ = WindowDpi(nullptr);
    const SIZE frame = FrameSize(dpi_);
    window_ = ::CreateWindowExW(style_.exStyle, kWindowClass, style_.caption.c_str(), style_.style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.cx, frame.cy, owner, nullptr, Instance(), this);
    if (!window_) return false;
    try {
        controls_.emplace(model_, window_, dpi_);
    } catch (const Failure&) {
        Destroy(); // with the controls made so far
        return false;
    }
    if (const int id = controls_->IdOf(style_.defaultButton)) {
        ::SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
    }
    if (const unsigned dpi = WindowDpi(window_); dpi != dpi_) {
        ApplyLayout(dpi);
    } else {
        fonts_.Fit(model_, *controls_, window_, dpi_);
        icons_.Load(window_, style_.iconResource, model_, *controls_, dpi_);
    }
    if (style_.centredOverOwner) CentreOver(window_, owner);
    return true;
}

void NativeWindow::Show() {
    // The process's first ShowWindow takes the show state the launcher gave (a shortcut's
    // "Run: Maximized", say) whatever it is asked. Minimised is honoured; a window that has
    // no maximise box and no sizing border is never maximised.
    ::ShowWindow(window_, SW_SHOWNORMAL);
    if (::IsZoomed(window_) && (style_.style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0) {
        ::ShowWindow(window_, SW_RESTORE);
    }
    // The focused control shows its focus rectangle from the start, not only once the
    // keyboard has been used: the user always sees where Space and Enter go.
    ::SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (const int focus = controls_->IdOf(style_.initialFocus)) {
        ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(window_, focus)), TRUE);
    }
    ::UpdateWindow(window_);
}

void NativeWindow::Destroy() {
    if (window_) ::DestroyWindow(window_);
}

SIZE NativeWindow::FrameSize(unsigned dpi) const {
    const RECT frame =
        WindowRectForClient(ui::TwipsToPixels(style_.clientWidth, dpi), ui::TwipsToPixels(style_.clientHeight, dpi),
                            style_.style, style_.exStyle, dpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void NativeWindow::ApplyLayout(unsigned dpi, const POINT* topLeft) {
    dpi_ = dpi;
    const SIZE size = FrameSize(dpi);
    if (topLeft) {
        ::SetWindowPos(window_, nullptr, topLeft->x, topLeft->y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!controls_) return;
    controls_->Place(dpi);
    fonts_.Fit(model_, *controls_, window_, dpi);
    icons_.Load(window_, style_.iconResource, model_, *controls_, dpi);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK NativeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<NativeWindow*>(create->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ScaleNonClientArea(window);
    }
    auto* self = reinterpret_cast<NativeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && HandleEvent([&] { result = self->OnMessage(message, wParam, lParam); })) return result;
    return ::DefDlgProcW(window, message, wParam, lParam);
}

LRESULT NativeWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_; // WM_NCDESTROY forgets it before the default handling
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_CTLCOLORSTATIC:
        if (const ui::Control* control = ControlById(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            control && control->Kind() == ui::ControlKind::Label) {
            return reinterpret_cast<LRESULT>(ColourLabel(reinterpret_cast<HDC>(wParam), control->Definition()));
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: // a high-contrast theme switched on or off
        ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(window_, &ps);
        PaintLines(dc, model_, dpi_);
        ::EndPaint(window_, &ps);
        return 0;
    }
    case WM_SYSCOMMAND: return OnSystemCommand(wParam, lParam);
    case WM_CLOSE:
        // The dialog manager would turn it into Esc; the platform's close command closes.
        if (onClose) {
            onClose();
        } else {
            ::DestroyWindow(window_);
        }
        return 0;
    case WM_GETDPISCALEDSIZE:
        // The exact size at the new density, so that the rectangle Windows then suggests
        // is the one the window keeps: a guess scaled from the old size would make it
        // bounce back at the monitors' edge.
        *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<unsigned>(wParam));
        return TRUE;
    case WM_DPICHANGED: {
        // The suggested place, which keeps a dragged window under the pointer, at the exact
        // size. Only per-monitor v2 asks that size first (WM_GETDPISCALEDSIZE); under v1
        // (8.1, 10 before 1703) the suggestion is the old frame scaled, caption bar
        // included, although the caption bar does not scale, and would cut the client area
        // short going down or leave it too large going up.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        const POINT topLeft{suggested.left, suggested.top};
        ApplyLayout(HIWORD(wParam), &topLeft);
        // Placed by the program, not by the user: a window being dragged stays where the
        // user takes it, or it would jump back across the monitors' edge mid-drag.
        if (style_.centredOverOwner && !movingByUser_) CentreOver(window_, ::GetWindow(window_, GW_OWNER));
        return 0;
    }
    case WM_ENTERSIZEMOVE: movingByUser_ = true; break;
    case WM_EXITSIZEMOVE: movingByUser_ = false; break;
    case WM_DESTROY:
        if (onDestroy) onDestroy();
        controls_.reset();
        break;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    default: break;
    }
    return ::DefDlgProcW(window, message, wParam, lParam);
}

} // namespace vellicor::win32
