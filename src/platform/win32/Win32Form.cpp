#include "platform/win32/Win32Form.h"

#include "platform/win32/DialogFont.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/ResourceIds.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace vellicor::platform::win32 {

namespace {

using ui::ControlDef;
using ui::ControlKind;

constexpr const wchar_t* kWindowClass = L"VellicorForm";
// Control ids start above IDOK/IDCANCEL and the other dialog ids.
constexpr int kFirstControlId = 100;
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kLineGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kLineWhite = RGB(0xFF, 0xFF, 0xFF);

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

// Every control uses one of these fonts: the body font, the About title's, the links', and
// the text boxes' own copy of the body font. A text box holds a document with line
// breaks of its own, so it may take a smaller size than the rest of the window.
struct FontRole {
    int hundredthsOfPoint;
    LONG weight;
    bool underline;
};
constexpr std::array<FontRole, 4> kFontRoles{
    {{825, FW_NORMAL, false}, {1350, FW_BOLD, false}, {825, FW_NORMAL, true}, {825, FW_NORMAL, false}}};

std::size_t RoleOf(const ControlDef& def) {
    if (def.options & ui::kTitleFont) return 1;
    if (def.options & ui::kLink) return 2;
    if (def.kind == ControlKind::TextBox) return 3;
    return 0;
}

// The lines a control shows its text on: a multi-line text box breaks it at CR LF, every
// other control keeps it on one line. Pictures and lines show none.
std::vector<std::wstring_view> TextLines(const ControlDef& def, std::wstring_view text) {
    if (def.kind == ControlKind::PictureBox || def.kind == ControlKind::Line || text.empty()) return {};
    if (def.kind != ControlKind::TextBox || !(def.options & ui::kMultiLine)) return {text};
    std::vector<std::wstring_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The width a control leaves for one line of its text, in a font of that average character
// width: a check box's glyph and the gap after it, a button's 3-D edge and the focus
// rectangle inside it on both sides, the corner and gaps around a frame's caption, a text
// box's formatting rectangle (which the text box works out from its font and scroll bar).
int TextRoom(HWND control, const ControlDef& def, LONG averageCharWidth, UINT dpi) {
    RECT client{};
    ::GetClientRect(control, &client);
    switch (def.kind) {
    case ControlKind::CheckBox:
        return client.right - SystemMetric(SM_CXMENUCHECK, dpi) - averageCharWidth;
    case ControlKind::CommandButton:
        return client.right - 2 * (2 * SystemMetric(SM_CXEDGE, dpi) + 1);
    case ControlKind::Frame:
        return client.right - 2 * averageCharWidth;
    case ControlKind::TextBox: {
        RECT format{};
        ::SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        return format.right - format.left;
    }
    default:
        return client.right;
    }
}

// The arrow keys move the focus within a group of controls, from a WS_GROUP control to
// the next one, in z-order, which here is the tab order. A control joins the group of the
// control before it only when both are buttons or both are check boxes, in the same
// container, and it stands below or to the right of the other: a column or a row, read
// the way the keys point. Every other control starts a group of its own, so that frames,
// labels, pictures and text boxes are never reached by an arrow, and an arrow never
// leaves a run of like controls.
bool ContinuesArrowGroup(const ControlDef& def, const ControlDef* previous) {
    if (!previous || def.kind != previous->kind || def.container != previous->container) return false;
    if (def.kind != ControlKind::CheckBox && def.kind != ControlKind::CommandButton) return false;
    return def.top > previous->top || (def.top == previous->top && def.left > previous->left);
}

// The largest image of an icon resource that fits a square of that many pixels; the
// room itself when there is none (the system then scales the nearest image).
int IconSizeWithin(int resource, int room) {
    const HRSRC found = ::FindResourceW(Instance(), MAKEINTRESOURCEW(resource), RT_GROUP_ICON);
    const HGLOBAL loaded = found ? ::LoadResource(Instance(), found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data) return room;
    const std::span<const BYTE> directory(data, ::SizeofResource(Instance(), found));
    // A group directory: three words, the image count last, then one entry per image,
    // its width first (0 for 256).
    constexpr std::size_t kCountAt = 4;
    constexpr std::size_t kHeaderSize = 6;
    constexpr std::size_t kEntrySize = 14;
    if (directory.size() < kHeaderSize) return room;
    const std::size_t count = directory[kCountAt] | directory[kCountAt + 1] << 8;
    int best = 0;
    for (std::size_t i = 0; i < count && kHeaderSize + kEntrySize * (i + 1) <= directory.size(); ++i) {
        const BYTE stored = directory[kHeaderSize + kEntrySize * i];
        const int width = stored ? stored : 256;
        if (width <= room && width > best) best = width;
    }
    return best ? best : room;
}

UniqueIcon LoadIconSized(int resource, int size) {
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, 0)));
}

// A high-contrast theme asks for the system's colours instead of the fixed ones.
bool HighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
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

ClassAndStyle WindowKind(const ControlDef& def) {
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
        return {L"BUTTON", base | WS_TABSTOP | BS_PUSHBUTTON, 0};
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
    const RECT frame = WindowRectForClient(TwipsToPixels(style_.clientWidth, dpi_),
                                           TwipsToPixels(style_.clientHeight, dpi_), style_.style, style_.exStyle, dpi_);
    window_ = ::CreateWindowExW(style_.exStyle, kWindowClass, style_.caption.c_str(), style_.style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                Instance(), this);
    if (!window_) return false;
    CreateControls();
    if (const int id = IdOf(style_.defaultButton)) ::SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
    if (const UINT dpi = WindowDpi(window_); dpi != dpi_) {
        ApplyLayout(dpi);
    } else {
        FitFonts(dpi_);
        LoadIcons(dpi_);
    }
    return true;
}

void Win32Form::Show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    // The focused control shows its focus rectangle from the start, not only once the
    // keyboard has been used: the user always sees where Space and Enter go.
    ::SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (const int focus = IdOf(style_.initialFocus)) {
        ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(window_, focus)), TRUE);
    }
    ::UpdateWindow(window_);
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
    const ControlDef* previous = nullptr;
    for (std::size_t i : byTab) {
        const ControlDef& def = controls[i]->Definition();
        ClassAndStyle kind = WindowKind(def);
        if (!kind.className) continue; // drawn, not a window
        if (!ContinuesArrowGroup(def, previous)) kind.style |= WS_GROUP;
        previous = &def;
        const RECT r = ControlRect(def, dpi_);
        const HWND child = ::CreateWindowExW(kind.exStyle, kind.className, controls[i]->Text().c_str(), kind.style,
                                             r.left, r.top, r.right - r.left, r.bottom - r.top, window_,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                             Instance(), nullptr);
        if (!child) continue;
        views_[i] = std::make_unique<ChildView>(child);
        controls[i]->AttachView(views_[i].get());
    }
}

// Each font is asked for at its size; where a caption of a control that uses it would not
// fit (a face wider than MS Sans Serif, as the system may give at other densities or
// where that face is missing), it steps down a pixel at a time until all of them do. A
// size is measured in a device context: only a text box, whose room depends on the font
// it lays its text out in, is given each size tried; the other controls get the one chosen.
void Win32Form::FitFonts(UINT dpi) {
    const auto& controls = model_.Controls();
    DialogFontMaker maker;
    for (std::size_t role = 0; role < fonts_.size(); ++role) {
        const auto uses = [&](std::size_t i) { return views_[i] && RoleOf(controls[i]->Definition()) == role; };
        const auto give = [&](HFONT font, bool textBoxes) {
            for (std::size_t i = 0; i < controls.size(); ++i) {
                if (uses(i) && (controls[i]->Kind() == ControlKind::TextBox) == textBoxes) {
                    ::SendMessageW(views_[i]->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
                }
            }
        };
        bool used = false;
        for (std::size_t i = 0; i < controls.size(); ++i) used = used || uses(i);
        if (!used) {
            fonts_[role].reset();
            continue;
        }
        const FontRole& wanted = kFontRoles[role];
        const LONG asked = FontHeight(wanted.hundredthsOfPoint, dpi);
        UniqueFont chosen;
        // Not below half the size: by then the layout, not the font, is at fault.
        for (LONG height = asked; height * 2 <= asked; ++height) {
            UniqueFont font = maker.Create(height, wanted.weight, wanted.underline);
            if (!font) break;
            give(font.get(), true);
            chosen = std::move(font); // the size tried before is no longer in use
            if (CaptionsFit(role, chosen.get())) break;
        }
        if (!chosen) continue;
        give(chosen.get(), false);
        fonts_[role] = std::move(chosen); // the one it replaces is no longer in use
    }
}

bool Win32Form::CaptionsFit(std::size_t role, HFONT font) const {
    const HDC dc = ::GetDC(window_);
    if (!dc) return true;
    const HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    bool fit = true;
    const auto& controls = model_.Controls();
    for (std::size_t i = 0; fit && i < controls.size(); ++i) {
        const ControlDef& def = controls[i]->Definition();
        if (!views_[i] || RoleOf(def) != role) continue;
        const int room = TextRoom(views_[i]->Handle(), def, metrics.tmAveCharWidth, dpi_);
        for (const std::wstring_view line : TextLines(def, controls[i]->Text())) {
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, line.data(), static_cast<int>(line.size()), &extent);
            fit = fit && extent.cx <= room;
        }
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(window_, dc);
    return fit;
}

// The title-bar icons at the sizes the system uses at the DPI, and the picture boxes'
// icon at the largest size of the icon file that its box holds.
void Win32Form::LoadIcons(UINT dpi) {
    if (style_.iconResource != 0) {
        UniqueIcon big = LoadIconSized(style_.iconResource, SystemMetric(SM_CXICON, dpi));
        UniqueIcon small = LoadIconSized(style_.iconResource, SystemMetric(SM_CXSMICON, dpi));
        ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
        ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
        bigIcon_ = std::move(big);
        smallIcon_ = std::move(small);
    }
    const auto& controls = model_.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!views_[i] || controls[i]->Kind() != ControlKind::PictureBox) continue;
        RECT room{};
        ::GetClientRect(views_[i]->Handle(), &room);
        UniqueIcon icon = LoadIconSized(
            VELLICOR_ICON_PROGRAM, IconSizeWithin(VELLICOR_ICON_PROGRAM, std::min(room.right, room.bottom)));
        ::SendMessageW(views_[i]->Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        pictureIcon_ = std::move(icon);
    }
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
    const RECT frame = WindowRectForClient(TwipsToPixels(style_.clientWidth, dpi), TwipsToPixels(style_.clientHeight, dpi),
                                           style_.style, style_.exStyle, dpi);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const auto& controls = model_.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!views_[i]) continue;
        const RECT r = ControlRect(controls[i]->Definition(), dpi);
        ::SetWindowPos(views_[i]->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitFonts(dpi);
    LoadIcons(dpi);
    Repaint();
}

void Win32Form::Repaint() const {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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
        // The dialog manager makes the button it moves the focus to the default one; one
        // that took the focus otherwise (a click) is still the one Enter presses.
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
    const int unit = std::max(1, static_cast<int>(dpi_) / USER_DEFAULT_SCREEN_DPI);
    const bool contrast = HighContrast();
    for (const auto& control : model_.Controls()) {
        if (control->Kind() != ControlKind::Line) continue;
        const ControlDef& def = control->Definition();
        const bool white = def.index == 0;
        const int top = TwipsToPixels(def.top, dpi_) + (white ? unit : 0);
        const RECT band{TwipsToPixels(def.left, dpi_), top, TwipsToPixels(def.left + def.width, dpi_),
                        top + (white ? 2 : 1) * unit};
        const COLORREF colour = contrast ? ::GetSysColor(white ? COLOR_3DHILIGHT : COLOR_3DSHADOW)
                                         : (white ? kLineWhite : kLineGrey);
        const UniqueBrush brush(::CreateSolidBrush(colour));
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
    if (!self) return ::DefDlgProcW(window, message, wParam, lParam);
    // Handlers contain their own failures; anything else (out of memory) abandons this
    // one event rather than unwinding through the system's code.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        return ::DefDlgProcW(window, message, wParam, lParam);
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
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_CTLCOLORSTATIC: {
        const ui::Control* control = ControlById(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        if (!control || control->Kind() != ControlKind::Label) break;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const bool link = control->Definition().options & ui::kLink;
        if (HighContrast()) {
            ::SetTextColor(dc, ::GetSysColor(link ? COLOR_HOTLIGHT : COLOR_BTNTEXT));
        } else {
            ::SetTextColor(dc, link ? kLinkColour : RGB(0, 0, 0));
        }
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: // a high-contrast theme switched on or off
        Repaint();
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(window_, &ps);
        PaintLines(dc);
        ::EndPaint(window_, &ps);
        return 0;
    }
    case WM_SYSCOMMAND: {
        // Windows deactivates a window that it minimises, and the dialog manager saves its
        // focus then; Wine keeps it active, and on restore the dialog manager puts the focus
        // on the first control. So the focus is kept here too, and put back once restored.
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_MINIMIZE && ::IsChild(window_, ::GetFocus())) focusWhileMinimised_ = ::GetFocus();
        const LRESULT result = ::DefDlgProcW(window, message, wParam, lParam);
        if (command == SC_RESTORE && window_ && !::IsIconic(window_) && ::IsChild(window_, focusWhileMinimised_)) {
            ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusWhileMinimised_), TRUE);
        }
        if (command == SC_RESTORE) focusWhileMinimised_ = nullptr;
        return result;
    }
    case WM_CLOSE:
        // The dialog manager would turn it into Esc; the platform's close command closes.
        if (onClose) {
            onClose();
        } else {
            ::DestroyWindow(window_);
        }
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
    return ::DefDlgProcW(window, message, wParam, lParam);
}

} // namespace vellicor::platform::win32
