// Every caption fits its control, on the lines the layout intends, with the font that the
// control really uses: the real windows, made by the program's own window code from the
// real layout tables, at two densities. Under Wine the density is the registry's
// LogPixels, read when a process starts, so each density is measured in a process of its
// own: the test starts itself again with the density set.
#include "platform/win32/AboutWindow.h"
#include "platform/win32/MainWindow.h"
#include "ui/AboutLayout.h"
#include "ui/MainLayout.h"
#include "ui/Version.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <process.h>

#include <algorithm>
#include <string>

namespace vellicor::test {
namespace {

using platform::win32::FormStyle;
using ui::ControlKind;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kMeasureHere[] = L"VELLICOR_MEASURE_CAPTIONS";
constexpr int kFirstControlId = 100;

// What the system's controls draw beside their text, from the system's own measures.
int Decoration(ControlKind kind, HDC dc, UINT dpi) {
    int zero = 0;
    ::GetCharWidth32W(dc, L'0', L'0', &zero);
    switch (kind) {
    case ControlKind::CheckBox: return ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + zero / 2;
    case ControlKind::CommandButton:
        return 2 * (::GetSystemMetricsForDpi(SM_CXEDGE, dpi) + ::GetSystemMetricsForDpi(SM_CXFOCUSBORDER, dpi));
    case ControlKind::Frame: return 2 * zero;
    default: return 0;
    }
}

void ExpectCaptionsFit(ui::Window& model, const FormStyle& style, UINT dpi) {
    platform::win32::Win32Form form(model, style);
    ASSERT_TRUE(form.Create(nullptr));
    const auto& controls = model.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const HWND control = ::GetDlgItem(form.Handle(), kFirstControlId + static_cast<int>(i));
        const std::wstring& text = controls[i]->Text();
        const ControlKind kind = controls[i]->Kind();
        if (!control || kind == ControlKind::PictureBox) continue;
        SCOPED_TRACE(testing::Message() << controls[i]->Name() << " \"" << text.substr(0, 40) << "\"");
        if (kind == ControlKind::TextBox) { // its own line breaking: a line per CR LF, no more
            const auto lines = 1 + std::count(text.begin(), text.end(), L'\n');
            EXPECT_EQ(lines, ::SendMessageW(control, EM_GETLINECOUNT, 0, 0));
            continue;
        }
        const HDC dc = ::GetDC(control);
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        wchar_t face[LF_FACESIZE]{};
        ::GetTextFaceW(dc, LF_FACESIZE, face);
        RECT client{};
        ::GetClientRect(control, &client);
        EXPECT_LE(extent.cx + Decoration(kind, dc, dpi), client.right) << "in " << face;
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
    }
}

void MeasureBothWindows(UINT dpi) {
    ASSERT_EQ(dpi, ::GetDpiForSystem()) << "the density did not take";
    ui::Window main(ui::MainLayout());
    ExpectCaptionsFit(main, platform::win32::MainWindowStyle(), dpi);
    ui::Window about(ui::AboutLayout());
    ui::Control& title = about.Get(L"lblTitle");
    title.SetText(ui::ComposeTitle(title.Text(), {VELLICOR_VERSION_MAJOR, VELLICOR_VERSION_MINOR, VELLICOR_VERSION_REVISION}));
    ExpectCaptionsFit(about, platform::win32::AboutWindowStyle(), dpi);
}

// Sets LogPixels for as long as it lives, then puts back what was there.
class Density {
public:
    explicit Density(DWORD dpi) {
        DWORD size = sizeof saved_;
        had_ = !::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &saved_, &size);
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    ~Density() {
        if (!had_) ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        else ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &saved_, sizeof saved_);
    }

private:
    DWORD saved_ = 0;
    bool had_ = false;
};

class CaptionsFit : public testing::TestWithParam<UINT> {};

TEST_P(CaptionsFit, InBothWindows) {
    if (::GetEnvironmentVariableW(kMeasureHere, nullptr, 0) > 0) return MeasureBothWindows(GetParam());

    const Density density(GetParam());
    wchar_t self[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    ::SetEnvironmentVariableW(kMeasureHere, L"1");
    const intptr_t code = _wspawnl(_P_WAIT, self, L"captions", std::wstring(name.begin(), name.end()).c_str(), nullptr);
    ::SetEnvironmentVariableW(kMeasureHere, nullptr);
    EXPECT_EQ(0, code) << "captions do not fit at " << GetParam() << " DPI (the output above says which)";
}

INSTANTIATE_TEST_SUITE_P(Dpi, CaptionsFit, testing::Values(96u, 144u),
                         [](const testing::TestParamInfo<UINT>& info) { return "At" + std::to_string(info.param); });

} // namespace
} // namespace vellicor::test
