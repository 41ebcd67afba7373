// Every caption fits its control, on the lines the layout intends, with the font that the
// control really uses, which is the font asked for or a smaller one: the real windows,
// made by the program's own window code from the real layout tables, at 96 and 144 DPI:
// whichever is not the system's density is reached through WM_DPICHANGED, as when the
// window moves onto a monitor of that density. A font cannot be read from another
// process, so this runs in process.
#include "VellicorVersion.h"
#include "e2e/Expected.h"
#include "ui/MainLayout.h"
#include "win32/AboutWindow.h"
#include "win32/Program.h"

namespace vellicor::e2e {
namespace {

using ui::ControlKind;

// Moved to another density as Windows moves a window onto a monitor of it. Per-monitor v2
// asks the window's size there first; v1 (8.1, 10 before 1703) suggests the old frame
// scaled, caption bar included, although the caption bar does not scale. Either way the
// window stands at the suggested place with the frame it answers (only the frame is exact:
// under Wine the caption bar keeps its height at a simulated density). An owned window is
// centred over its owner again, but not while the user drags it.
void ExpectMovedToDensity(HWND window, UINT dpi, HWND owner) {
    SIZE exact{};
    RECT old{}, now{}, middle{};
    ::SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, LPARAM(&exact));
    ::GetWindowRect(window, &old);
    const int from = int(::GetDpiForWindow(window));
    RECT scaled{40, 30, 40 + ::MulDiv(old.right - old.left, int(dpi), from),
                30 + ::MulDiv(old.bottom - old.top, int(dpi), from)};
    ASSERT_NE(exact.cy, scaled.bottom - scaled.top) << "a scaled frame that happens to be exact";
    ::SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&scaled));
    ::SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    RECT expected{40, 30, 40 + exact.cx, 30 + exact.cy};
    ::GetWindowRect(window, &now);
    EXPECT_TRUE(::EqualRect(&now, &expected))
        << "dragged: " << now.left << "," << now.top << "-" << now.right << "," << now.bottom;
    if (!owner) return;
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&scaled));
    ::GetWindowRect(window, &now);
    ::GetWindowRect(owner, &middle);
    ::OffsetRect(&expected, (middle.left + middle.right - expected.left - expected.right) / 2,
                 (middle.top + middle.bottom - expected.top - expected.bottom) / 2);
    EXPECT_TRUE(::EqualRect(&now, &expected)) << "placed: " << now.left << "," << now.top;
}

void ExpectCaptionsFit(ui::WindowModel& model, const win32::FrameStyle& style, UINT dpi, HWND owner = nullptr) {
    win32::NativeWindow form(model, style);
    ASSERT_TRUE(form.Create(owner));
    if (dpi != ::GetDpiForWindow(form.Hwnd())) ExpectMovedToDensity(form.Hwnd(), dpi, owner);
    ASSERT_EQ(Pixels(style.clientWidth, int(dpi)), ClientSize(form.Hwnd()).cx) << "not laid out at " << dpi << " DPI";
    for (std::size_t i = 0; i < model.Controls().size(); ++i) {
        const std::wstring &text = model.Controls()[i]->Text(), &name = model.Controls()[i]->Name();
        const ControlKind kind = model.Controls()[i]->Kind();
        SCOPED_TRACE(name);
        const HWND control = ::GetDlgItem(form.Hwnd(), 100 + int(i));
        ASSERT_EQ(kind == ControlKind::Line, control == nullptr); // lines are drawn, not windows
        if (!control || kind == ControlKind::PictureBox) continue;
        // MS Sans Serif 8.25 points, the About title 13.5 and bold, the links underlined;
        // smaller only to fit.
        const auto font = HFONT(::SendMessageW(control, WM_GETFONT, 0, 0));
        LOGFONTW asked{};
        ::GetObjectW(font, sizeof asked, &asked);
        EXPECT_TRUE(asked.lfWeight == (name == L"lblTitle" ? FW_BOLD : FW_NORMAL) &&
                    (asked.lfUnderline != 0) == name.starts_with(L"lblLink") &&
                    std::abs(asked.lfHeight) <= ::MulDiv(name == L"lblTitle" ? 1350 : 825, int(dpi), 7200))
            << "height " << asked.lfHeight << ", weight " << asked.lfWeight;
        if (kind == ControlKind::TextBox) { // its own line breaking: a line per CR LF, no more
            EXPECT_EQ(1 + std::count(text.begin(), text.end(), L'\n'), ::SendMessageW(control, EM_GETLINECOUNT, 0, 0));
            continue;
        }
        // What the system's controls draw beside their text, from the system's own measures.
        const win32::ScopedDC dc(control);
        const win32::ScopedSelection selected(dc.Get(), font);
        int zero = 0;
        SIZE extent{};
        RECT client{};
        wchar_t face[LF_FACESIZE]{};
        ::GetCharWidth32W(dc.Get(), L'0', L'0', &zero);
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &extent);
        ::GetTextFaceW(dc.Get(), LF_FACESIZE, face);
        ::GetClientRect(control, &client);
        const int beside =
            kind == ControlKind::CheckBox ? ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + zero / 2
            : kind == ControlKind::CommandButton
                ? 2 * (::GetSystemMetricsForDpi(SM_CXEDGE, dpi) + ::GetSystemMetricsForDpi(SM_CXFOCUSBORDER, dpi))
            : kind == ControlKind::Frame ? 2 * zero
                                         : 0;
        EXPECT_LE(extent.cx + beside, client.right) << std::wstring(text) << " in " << std::wstring(face);
    }
}

TEST(CaptionsFit, InBothWindowsAtBothDensities) {
    ui::WindowModel main(ui::MainLayout()), about(ui::AboutLayout());
    about.Get(L"lblTitle")
        .SetText(ui::ComposeTitle(about.Get(L"lblTitle").Text(),
                                  {VELLICOR_VERSION_MAJOR, VELLICOR_VERSION_MINOR, VELLICOR_VERSION_REVISION}));
    const HWND owner =
        ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 200, 150, 800, 600, nullptr, nullptr, nullptr, nullptr);
    for (const UINT dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        ExpectCaptionsFit(main, win32::MainWindowStyle(), dpi);
        ExpectCaptionsFit(about, win32::AboutWindowStyle(), dpi, owner);
    }
    ::DestroyWindow(owner);
}

} // namespace
} // namespace vellicor::e2e
