#include "win32/ControlWindows.h"

#include "core/Failure.h"
#include "ui/toolkit/Geometry.h"

#include <algorithm>
#include <array>

namespace vellicor::win32 {

namespace {

using ui::ControlDef;
using ui::ControlKind;

// Indexed by the model's check-box state.
constexpr std::array<WPARAM, 3> kCheckStates{BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle WindowKind(const ControlDef& def) {
    const DWORD base = WS_CHILD | WS_VISIBLE;
    switch (def.kind) {
    case ControlKind::Frame: return {L"BUTTON", base | BS_GROUPBOX, 0};
    case ControlKind::TextBox: {
        DWORD style = base | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        if (def.options & ui::kMultiLine) style = (style & ~ES_AUTOHSCROLL) | ES_MULTILINE;
        if (def.options & ui::kReadOnly) style |= ES_READONLY;
        if (def.options & ui::kCentered) style = (style & ~ES_LEFT) | ES_CENTER;
        if (def.options & ui::kVerticalScroll) style |= WS_VSCROLL | ES_AUTOVSCROLL;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::CheckBox: return {L"BUTTON", base | WS_TABSTOP | BS_3STATE, 0};
    case ControlKind::CommandButton: return {L"BUTTON", base | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Label:
        return {L"STATIC",
                base | SS_NOPREFIX | ((def.options & ui::kLink) ? SS_NOTIFY : 0) |
                    ((def.options & ui::kCentered) ? SS_CENTER : SS_LEFT),
                0};
    case ControlKind::PictureBox:
        return {L"STATIC", base | SS_ICON | SS_CENTERIMAGE | ((def.tabIndex >= 0) ? WS_TABSTOP : 0),
                (def.options & ui::kSunken) ? WS_EX_CLIENTEDGE : 0u};
    case ControlKind::Line: break;
    }
    return {nullptr, 0, 0};
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

} // namespace

class ControlWindows::View : public ui::ControlView {
public:
    explicit View(HWND window) : window_(window) {}
    void ShowCheck(int state) override {
        ::SendMessageW(window_, BM_SETCHECK, kCheckStates.at(static_cast<std::size_t>(state)), 0);
    }
    void ShowText(const std::wstring& text) override { ::SetWindowTextW(window_, text.c_str()); }
    void ShowEnabled(bool enabled) override { ::EnableWindow(window_, enabled ? TRUE : FALSE); }
    HWND Window() const { return window_; }

private:
    HWND window_;
};

ControlWindows::ControlWindows(ui::WindowModel& model, HWND parent, unsigned dpi) : model_(model) {
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
    std::vector<HWND> windows(controls.size());
    const ControlDef* previous = nullptr;
    for (const std::size_t i : byTab) {
        const ControlDef& def = controls[i]->Definition();
        ClassAndStyle kind = WindowKind(def);
        if (!kind.className) continue; // drawn, not a window
        if (!ContinuesArrowGroup(def, previous)) kind.style |= WS_GROUP;
        previous = &def;
        const ui::PixelRect r = ui::ControlRect(model_, def, dpi);
        const HWND child = ::CreateWindowExW(kind.exStyle, kind.className, controls[i]->Text().c_str(), kind.style,
                                             r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)),
                                             ::GetModuleHandleW(nullptr), nullptr);
        // A window without one of its controls would not be the program's window: none at
        // all. (The children made so far go with the parent.)
        if (!child) throw SystemFailure(static_cast<std::int32_t>(::GetLastError()));
        windows[i] = child;
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (!windows[i]) continue;
        views_[i] = std::make_unique<View>(windows[i]);
        controls[i]->AttachView(views_[i].get());
    }
}

ControlWindows::~ControlWindows() {
    for (const auto& control : model_.Controls()) control->AttachView(nullptr);
}

HWND ControlWindows::Window(std::size_t index) const {
    return index < views_.size() && views_[index] ? views_[index]->Window() : nullptr;
}

ui::Control* ControlWindows::ControlById(int id) const {
    const int index = id - kFirstId;
    const auto& controls = model_.Controls();
    if (index < 0 || index >= static_cast<int>(controls.size())) return nullptr;
    return controls[static_cast<std::size_t>(index)].get();
}

int ControlWindows::IdOf(std::wstring_view name) const {
    if (name.empty()) return 0;
    const auto& controls = model_.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i]->Name() == name) return kFirstId + static_cast<int>(i);
    }
    return 0;
}

void ControlWindows::Place(unsigned dpi) const {
    const auto& controls = model_.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!Window(i)) continue;
        const ui::PixelRect r = ui::ControlRect(model_, controls[i]->Definition(), dpi);
        ::SetWindowPos(Window(i), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace vellicor::win32
