#include "platform/win32/Win32Form.h"

#include "platform/win32/Dpi.h"
#include "platform/win32/ResourceIds.h"


#include <algorithm>

namespace vellicor::platform::win32 {

namespace {

using ui::ControlDef;
using ui::ControlKind;

constexpr wchar_t kWindowClass[] = L"VellicorForm";
// Control ids start above IDOK/IDCANCEL and the other dialog ids.
constexpr int kFirstControlId = 100;
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kLineGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kLineWhite = RGB(0xFF, 0xFF, 0xFF);

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

void RegisterWindowClass(WNDPROC windowProc) {
    static const bool registered = [windowProc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = Instance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

UniqueFont MakeFont(UINT dpi, int hundredthsOfPoint, LONG weight, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = FontHeight(hundredthsOfPoint, dpi);
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    // Where MS Sans Serif is missing, the system's font substitution picks its stand-in.
    wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
    return UniqueFont(::CreateFontIndirectW(&lf));
}

int CheckState(int state) {
    switch (state) {
    case ui::kChecked: return BST_CHECKED;
    case ui::kGrayed: return BST_INDETERMINATE;
    default: return BST_UNCHECKED;
    }
}

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle WindowKind(const ControlDef& def, bool isDefault) {
    const DWORD base = WS_CHILD | WS_VISIBLE;
    switch (def.kind) {
    case ControlKind::Frame:
        return {L"BUTTON", base | BS_GROUPBOX, 0};
    case ControlKind::TextBox: {
        DWORD style = base | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        if (def.options & ui::kMultiLine) style = (style & ~ES_AUTOHSCROLL) | ES_MULTILINE;
        if (def.options & ui::kReadOnly) style |= ES_READONLY;
        if (def.options & ui::kCentered) style = (style & ~ES_LEFT) | ES_CENTER;
        if (def.options & ui::kVerticalScroll) style |= WS_VSCROLL | ES_AUTOVSCROLL;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::CheckBox:
        return {L"BUTTON", base | WS_TABSTOP | BS_3STATE, 0};
    case ControlKind::CommandButton:
        return {L"BUTTON", base | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case ControlKind::Label:
        return {L"STATIC",
                base | SS_NOPREFIX | ((def.options & ui::kLink) ? SS_NOTIFY : 0) |
                    ((def.options & ui::kCentered) ? SS_CENTER : SS_LEFT),
                0};
    case ControlKind::PictureBox:
        return {L"STATIC", base | SS_ICON | SS_CENTERIMAGE | ((def.tabIndex >= 0) ? WS_TABSTOP : 0),
                (def.options & ui::kSunken) ? WS_EX_CLIENTEDGE : 0u};
    case ControlKind::Line:
        break;
    }
    return {nullptr, 0, 0};
}

} // namespace

class Win32Form::ChildView : public ui::ControlView {
public:
    explicit ChildView(HWND handle) : handle_(handle) {}
    void ShowCheck(int state) override { ::SendMessageW(handle_, BM_SETCHECK, CheckState(state), 0); }
    void ShowText(const std::wstring& text) override { ::SetWindowTextW(handle_, text.c_str()); }
    void ShowEnabled(bool enabled) override { ::EnableWindow(handle_, enabled ? TRUE : FALSE); }
    HWND Handle() const { return handle_; }

private:
    HWND handle_;
};

Win32Form::Win32Form(ui::Window& model, FormStyle style) : model_(model), style_(std::move(style)) {}

Win32Form::~Win32Form() { Destroy(); }

bool Win32Form::Create(HWND owner) {
    RegisterWindowClass(&Win32Form::WindowProc);
    // Everything is made at its final size and place for the system DPI: start-up time
    // is spent once, not on moving things about. A monitor of another DPI re-lays it out.
    dpi_ = WindowDpi(nullptr);
    MakeFonts(dpi_);
    const RECT frame = WindowRectForClient(TwipsToPixels(style_.clientWidth, dpi_),
                                           TwipsToPixels(style_.clientHeight, dpi_), style_.style, style_.exStyle, dpi_);
    window_ = ::CreateWindowExW(style_.exStyle, kWindowClass, style_.caption.c_str(), style_.style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                Instance(), this);
    if (!window_) return false;
    if (style_.iconResource != 0) {
        const int big = ::GetSystemMetrics(SM_CXICON);
        const int small = ::GetSystemMetrics(SM_CXSMICON);
        bigIcon_.reset(static_cast<HICON>(
            ::LoadImageW(Instance(), MAKEINTRESOURCEW(style_.iconResource), IMAGE_ICON, big, big, 0)));
        smallIcon_.reset(static_cast<HICON>(
            ::LoadImageW(Instance(), MAKEINTRESOURCEW(style_.iconResource), IMAGE_ICON, small, small, 0)));
        ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
        ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
    CreateControls();
    if (const UINT dpi = WindowDpi(window_); dpi != dpi_) ApplyLayout(dpi);
    return true;
}

void Win32Form::Show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    const int focus = IdOf(style_.initialFocus);
    if (focus != 0) ::SetFocus(::GetDlgItem(window_, focus));
}

void Win32Form::Destroy() {
    if (window_) ::DestroyWindow(window_);
}

void Win32Form::RunUntilClosed() {
    MSG message{};
    while (window_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam)); // let outer loops end too
            return;
        }
        if (message.message == WM_MOUSEMOVE) RouteChildMouseMove(message.hwnd);
        if (window_ && ::IsDialogMessageW(window_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void Win32Form::CreateControls() {
    const auto& controls = model_.Controls();
    views_.resize(controls.size());
    // The dialog manager moves the focus in z-order, and each new child goes below the
    // ones before it: creating the windows in tab order gives the tab order. Their ids
    // follow the model's creation order all the same.
    std::vector<std::size_t> byTab(controls.size());
    for (std::size_t i = 0; i < byTab.size(); ++i) byTab[i] = i;
    std::stable_sort(byTab.begin(), byTab.end(), [&](std::size_t a, std::size_t b) {
        return controls[a]->Definition().tabIndex < controls[b]->Definition().tabIndex;
    });
    for (std::size_t i : byTab) {
        const ControlDef& def = controls[i]->Definition();
        const bool isDefault = !style_.defaultButton.empty() && def.name == style_.defaultButton;
        const ClassAndStyle kind = WindowKind(def, isDefault);
        if (!kind.className) continue; // drawn, not a window
        const RECT r = ControlRect(def, dpi_);
        const HWND child = ::CreateWindowExW(kind.exStyle, kind.className, controls[i]->Text().c_str(), kind.style,
                                             r.left, r.top, r.right - r.left, r.bottom - r.top, window_,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                             Instance(), nullptr);
        if (!child) continue;
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(def)), FALSE);
        if (def.kind == ControlKind::PictureBox) {
            const HICON icon = static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(VELLICOR_ICON_PROGRAM),
                                                               IMAGE_ICON, 32, 32, LR_SHARED));
            ::SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        views_[i] = std::make_unique<ChildView>(child);
        controls[i]->AttachView(views_[i].get());
    }
}

void Win32Form::MakeFonts(UINT dpi) {
    unsigned used = 0;
    for (const auto& control : model_.Controls()) used |= control->Definition().options;
    font_ = MakeFont(dpi, 825, FW_NORMAL, false);
    titleFont_ = (used & ui::kTitleFont) ? MakeFont(dpi, 1350, FW_BOLD, false) : nullptr;
    linkFont_ = (used & ui::kLink) ? MakeFont(dpi, 825, FW_NORMAL, true) : nullptr;
}

HFONT Win32Form::FontFor(const ControlDef& def) const {
    if (def.options & ui::kTitleFont) return titleFont_.get();
    if (def.options & ui::kLink) return linkFont_.get();
    return font_.get();
}

RECT Win32Form::ControlRect(const ControlDef& def, UINT dpi) const {
    int left = def.left;
    int top = def.top;
    if (!def.container.empty()) {
        const ControlDef& frame = model_.Get(def.container).Definition();
        left += frame.left;
        top += frame.top;
    }
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return RECT{x, y, x + TwipsToPixels(def.width, dpi), y + TwipsToPixels(def.height, dpi)};
}

void Win32Form::ApplyLayout(UINT dpi) {
    dpi_ = dpi;
    MakeFonts(dpi);
    const RECT frame = WindowRectForClient(TwipsToPixels(style_.clientWidth, dpi), TwipsToPixels(style_.clientHeight, dpi),
                                           style_.style, style_.exStyle, dpi);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const auto& controls = model_.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!views_[i]) continue;
        const ControlDef& def = controls[i]->Definition();
        const RECT r = ControlRect(def, dpi);
        ::SetWindowPos(views_[i]->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(views_[i]->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(def)), TRUE);
    }
    ::InvalidateRect(window_, nullptr, TRUE);
}

ui::Control* Win32Form::ControlById(int id) const {
    const int index = id - kFirstControlId;
    const auto& controls = model_.Controls();
    if (index < 0 || index >= static_cast<int>(controls.size())) return nullptr;
    return controls[static_cast<std::size_t>(index)].get();
}

int Win32Form::IdOf(std::wstring_view name) const {
    if (name.empty()) return 0;
    const auto& controls = model_.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i]->Name() == name) return kFirstControlId + static_cast<int>(i);
    }
    return 0;
}

void Win32Form::OnCommand(int id, int code) {
    if (id == IDCANCEL || id == IDOK) {
        int target = IdOf(id == IDCANCEL ? style_.cancelButton : style_.defaultButton);
        // Without a default button, Enter presses the button that has the focus, as it
        // does in a dialog (the dialog manager only does that for dialog windows).
        if (id == IDOK && target == 0) target = ::GetDlgCtrlID(::GetFocus());
        ui::Control* button = ControlById(target);
        if (button && button->Kind() == ControlKind::CommandButton) button->UserClick();
        return;
    }
    ui::Control* control = ControlById(id);
    if (!control || code != BN_CLICKED) return; // STN_CLICKED is the same code
    switch (control->Kind()) {
    case ControlKind::CheckBox:
    case ControlKind::CommandButton:
    case ControlKind::Label:
        control->UserClick();
        break;
    default:
        break;
    }
}

void Win32Form::OnMouseMove(POINT client) {
    // Frames let the pointer through to the window, so the window tells them apart.
    for (const auto& control : model_.Controls()) {
        if (control->Kind() != ControlKind::Frame) continue;
        const RECT r = ControlRect(control->Definition(), dpi_);
        if (::PtInRect(&r, client)) {
            control->MouseMove();
            return;
        }
    }
    if (onBackgroundMouseMove) onBackgroundMouseMove();
}

void Win32Form::PaintLines(HDC dc) const {
    // The separator is a grey line with a white one under it: drawn at the same place,
    // the white would hide the grey, so the white starts one device line lower, which
    // gives the etched look of a standard separator. Lines here are horizontal.
    const int unit = std::max(1, static_cast<int>(dpi_) / 96);
    for (const auto& control : model_.Controls()) {
        if (control->Kind() != ControlKind::Line) continue;
        const ControlDef& def = control->Definition();
        const bool white = def.index == 0;
        const int top = TwipsToPixels(def.top, dpi_) + (white ? unit : 0);
        const RECT band{TwipsToPixels(def.left, dpi_), top, TwipsToPixels(def.left + def.width, dpi_),
                        top + (white ? 2 : 1) * unit};
        const UniqueBrush brush(::CreateSolidBrush(white ? kLineWhite : kLineGrey));
        ::FillRect(dc, &band, brush.get());
    }
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Form*>(create->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    // Handlers contain their own failures; anything else (out of memory) abandons this
    // one event rather than unwinding through the system's code.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// The pointer over one of our controls: the message is on its way to the control, and
// the model hears of it here, in our own message loop, so that no control needs
// subclassing. (The window's own background and its frames reach WindowProc.)
void Win32Form::RouteChildMouseMove(HWND target) {
    if (!window_ || ::GetParent(target) != window_) return;
    try {
        if (ui::Control* control = ControlById(::GetDlgCtrlID(target))) control->MouseMove();
    } catch (...) {
    }
}

LRESULT Win32Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_; // WM_NCDESTROY forgets it before the default handling
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID: {
        const int id = IdOf(style_.defaultButton);
        return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_CTLCOLORSTATIC: {
        const ui::Control* control = ControlById(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        if (!control || control->Kind() != ControlKind::Label) break;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, (control->Definition().options & ui::kLink) ? kLinkColour : RGB(0, 0, 0));
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(window_, &ps);
        PaintLines(dc);
        ::EndPaint(window_, &ps);
        return 0;
    }
    case WM_NEXTDLGCTL: {
        // Multi-line text boxes ask for Tab and Enter through this dialog message, which
        // the default handling of an ordinary window ignores.
        const HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                         : ::GetNextDlgTabItem(window_, ::GetFocus(), wParam != 0);
        if (!next) return 0;
        if (::SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageW(next, EM_SETSEL, 0, -1);
        ::SetFocus(next);
        return 0;
    }
    case WM_CLOSE:
        if (!onClose) break;
        onClose();
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyLayout(HIWORD(wParam));
        return 0;
    }
    case WM_DESTROY:
        if (onDestroy) onDestroy();
        for (const auto& control : model_.Controls()) control->AttachView(nullptr);
        views_.clear();
        break;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace vellicor::platform::win32
