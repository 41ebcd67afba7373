// The main window as a person meets it: where everything stands at two densities, where
// the keyboard goes, what the pointer shows, and the ways to close it.
#include "e2e/Driver.h"

#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace vellicor::e2e {
namespace {

using ui::ControlDef;
using ui::ControlKind;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

std::wstring Name(std::wstring_view view) { return std::wstring(view); }

const ControlDef& Def(std::wstring_view name) { return ui::MainLayout()[LayoutIndex(name)]; }

// Where the table puts a control, in the main window's client pixels at the density.
RECT ExpectedRect(const ControlDef& def, int dpi) {
    int left = def.left;
    int top = def.top;
    if (!def.container.empty()) {
        left += Def(def.container).left;
        top += Def(def.container).top;
    }
    const auto px = [dpi](int twips) { return ::MulDiv(twips, dpi, 1440); };
    return RECT{px(left), px(top), px(left) + px(def.width), px(top) + px(def.height)};
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    std::ostringstream text;
    text << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
    return text.str();
}

std::string NameOf(HWND control) {
    const int index = ::GetDlgCtrlID(control) - 100;
    const auto layout = ui::MainLayout();
    if (!control || index < 0 || index >= static_cast<int>(layout.size())) return "(not a control)";
    return Utf8(layout[static_cast<std::size_t>(index)].name);
}

// The pointer waits in the screen's far corner, away from where the window opens, so
// that no stray move reaches the program before the test makes one.
void ParkPointer() {
    MovePointer(POINT{::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1});
}

// Starts the program on an empty settings key at the density.
class MainWindow {
public:
    explicit MainWindow(int dpi = 96) : logPixels_(kDesktopKey, L"LogPixels") {
        WriteValue(kDesktopKey, L"LogPixels", DwordValue(static_cast<DWORD>(dpi)));
        ParkPointer();
        program_.emplace();
        window_ = program_->WaitForMainWindow();
    }
    VellicorProcess& Program() { return *program_; }
    HWND Window() const { return window_; }
    HWND Control(std::wstring_view name) const { return program_->Control(name); }

private:
    SavedValue logPixels_; // restored after the program has ended
    ScratchSettings settings_;
    std::optional<VellicorProcess> program_;
    HWND window_ = nullptr;
};

// ---------------------------------------------------------------------------------------

class Layout : public testing::TestWithParam<int> {};

TEST_P(Layout, WindowAndControlsStandWhereTheTableSays) {
    const int dpi = GetParam();
    MainWindow main(dpi);
    ASSERT_TRUE(main.Window()) << "no main window";

    const SIZE client = ClientSize(main.Window());
    EXPECT_EQ(::MulDiv(ui::kMainClientWidth, dpi, 1440), client.cx);
    EXPECT_EQ(::MulDiv(ui::kMainClientHeight, dpi, 1440), client.cy);

    const auto layout = ui::MainLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlDef& def = layout[i];
        SCOPED_TRACE(Utf8(def.name));
        const HWND control = main.Program().Control(i);
        ASSERT_TRUE(control);
        EXPECT_EQ(main.Window(), ::GetParent(control));
        EXPECT_TRUE(::IsWindowVisible(control));
        EXPECT_TRUE(::IsWindowEnabled(control));
        EXPECT_EQ(def.caption, TextOf(control));
        const RECT expected = ExpectedRect(def, dpi);
        const RECT actual = RectInParent(control);
        EXPECT_TRUE(expected == actual) << "expected " << Show(expected) << ", got " << Show(actual);

        const LONG_PTR style = StyleOf(control);
        switch (def.kind) {
        case ControlKind::Frame:
            EXPECT_EQ(L"Button", ClassOf(control));
            EXPECT_EQ(BS_GROUPBOX, style & BS_TYPEMASK);
            break;
        case ControlKind::CheckBox:
            EXPECT_EQ(L"Button", ClassOf(control));
            EXPECT_EQ(BS_3STATE, style & BS_TYPEMASK);
            break;
        case ControlKind::CommandButton:
            EXPECT_EQ(L"Button", ClassOf(control));
            EXPECT_EQ(BS_PUSHBUTTON, style & BS_TYPEMASK);
            break;
        case ControlKind::TextBox:
            EXPECT_EQ(L"Edit", ClassOf(control));
            EXPECT_EQ(ES_MULTILINE | ES_READONLY | ES_CENTER, style & (ES_MULTILINE | ES_READONLY | ES_CENTER));
            break;
        default:
            ADD_FAILURE() << "the main window has no such control";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Layout, testing::Values(96, 144),
                         [](const testing::TestParamInfo<int>& info) { return "At" + std::to_string(info.param); });

// ---------------------------------------------------------------------------------------

TEST(Keyboard, TabFollowsTheTabColumnSkippingFramesAndShiftTabGoesBack) {
    MainWindow main;
    ASSERT_TRUE(main.Window()) << "no main window";

    std::vector<const ControlDef*> order;
    for (const ControlDef& def : ui::MainLayout()) {
        if (def.tabIndex >= 0 && def.kind != ControlKind::Frame) order.push_back(&def);
    }
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    ASSERT_EQ(L"cmdRefresh", order.front()->name);

    BringToFront(main.Window());
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main.Window()) == main.Control(L"cmdRefresh"); }))
        << "the focus starts on " << NameOf(FocusOf(main.Window()));

    const std::size_t n = order.size();
    for (int direction : {+1, -1}) {
        const bool shift = direction < 0;
        std::size_t at = 0;
        for (std::size_t step = 0; step < n; ++step) {
            at = (at + n + static_cast<std::size_t>(direction)) % n;
            const HWND want = main.Control(order[at]->name);
            ASSERT_TRUE(PressKey(VK_TAB, shift));
            ASSERT_TRUE(WaitUntil([&] { return FocusOf(main.Window()) == want; }, 3s))
                << (shift ? "Shift+Tab" : "Tab") << " should reach " << Utf8(order[at]->name) << ", the focus is on "
                << NameOf(FocusOf(main.Window()));
        }
    }
}

// ---------------------------------------------------------------------------------------

enum class CloseBy { ExitButton, EscKey, CloseMessage, CloseCommand };

class Closing : public testing::TestWithParam<CloseBy> {};

TEST_P(Closing, EndsTheProgramWithoutAQuestion) {
    MainWindow main;
    ASSERT_TRUE(main.Window()) << "no main window";
    switch (GetParam()) {
    case CloseBy::ExitButton:
        ASSERT_TRUE(main.Program().PostClick(main.Control(L"cmdExit")));
        break;
    case CloseBy::EscKey:
        BringToFront(main.Window());
        ASSERT_TRUE(PressKey(VK_ESCAPE));
        break;
    case CloseBy::CloseMessage:
        ASSERT_TRUE(::PostMessageW(main.Window(), WM_CLOSE, 0, 0));
        break;
    case CloseBy::CloseCommand:
        ASSERT_TRUE(::PostMessageW(main.Window(), WM_SYSCOMMAND, SC_CLOSE, 0));
        break;
    }
    // A question would be a modal box nobody answers: the program could not end.
    EXPECT_TRUE(main.Program().WaitForExit()) << "still running; windows open: "
                                              << main.Program().TopLevelWindows().size();
    EXPECT_EQ(0u, main.Program().ExitCode().value_or(~0u));
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing,
                         testing::Values(CloseBy::ExitButton, CloseBy::EscKey, CloseBy::CloseMessage,
                                         CloseBy::CloseCommand),
                         [](const testing::TestParamInfo<CloseBy>& info) {
                             switch (info.param) {
                             case CloseBy::ExitButton: return "ExitButton";
                             case CloseBy::EscKey: return "EscKey";
                             case CloseBy::CloseMessage: return "CloseMessage";
                             case CloseBy::CloseCommand: return "CloseCommand";
                             }
                             return "Other";
                         });

// ---------------------------------------------------------------------------------------

class HoverTips : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(main_.Window()) << "no main window"; }

    std::wstring Tip() const { return TextOf(main_.Control(L"txtTip")); }

    // A point in the main window's client area, as a screen point.
    POINT At(POINT client) const { return ToScreen(main_.Window(), client); }

    // Moves the pointer and waits for the tip to read `expected`.
    ::testing::AssertionResult HoverShows(POINT screen, const std::wstring& expected) const {
        if (MovePointerUntil(screen, [&] { return Tip() == expected; })) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the tip reads \"" << Utf8(Tip()) << "\", expected \"" << Utf8(expected)
                                             << "\"";
    }

    // Client points inside `area` that lie on no control except those in `allowed`.
    std::vector<POINT> BarePoints(const RECT& area, const std::set<std::wstring_view>& allowed) const {
        std::vector<POINT> points;
        for (LONG y = area.top + 1; y < area.bottom - 1; y += 3) {
            for (LONG x = area.left + 1; x < area.right - 1; x += 3) {
                bool bare = true;
                for (const ControlDef& def : ui::MainLayout()) {
                    const RECT r = ExpectedRect(def, 96);
                    if (!allowed.contains(def.name) && ::PtInRect(&r, POINT{x, y})) bare = false;
                }
                if (bare) points.push_back(POINT{x, y});
            }
        }
        return points;
    }

    MainWindow main_;
};

TEST_F(HoverTips, EachCheckBoxAndButtonShowsItsTagWordForWord) {
    const POINT background = BarePoints(RECT{0, 0, 393, 297}, {}).front();
    for (const ControlDef& def : ui::MainLayout()) {
        if (def.kind != ControlKind::CheckBox && def.kind != ControlKind::CommandButton) continue;
        ASSERT_FALSE(def.tag.empty()) << Utf8(def.name);
        EXPECT_TRUE(HoverShows(ScreenCentre(main_.Control(def.name)), Name(def.tag))) << Utf8(def.name);
        EXPECT_TRUE(HoverShows(At(background), L"")) << "back from " << Utf8(def.name);
    }
}

TEST_F(HoverTips, FramesAndTheBackgroundClearTheTip) {
    const ControlDef& someButton = Def(L"cmdRefresh");
    const std::wstring someTip = Name(someButton.tag);
    for (const ControlDef& frame : ui::MainLayout()) {
        if (frame.kind != ControlKind::Frame) continue;
        const RECT r = ExpectedRect(frame, 96);
        const POINT caption{r.left + 12, r.top + 3};
        const auto bare = BarePoints(r, {frame.name});
        ASSERT_FALSE(bare.empty()) << Utf8(frame.name);
        for (POINT spot : {caption, bare.front(), bare.back()}) {
            ASSERT_TRUE(HoverShows(ScreenCentre(main_.Control(someButton.name)), someTip));
            EXPECT_TRUE(HoverShows(At(spot), L""))
                << Utf8(frame.name) << " at (" << spot.x << "," << spot.y << ")";
        }
    }
    for (POINT spot : BarePoints(RECT{0, 0, 393, 297}, {})) {
        ASSERT_TRUE(HoverShows(ScreenCentre(main_.Control(someButton.name)), someTip));
        EXPECT_TRUE(HoverShows(At(spot), L"")) << "background at (" << spot.x << "," << spot.y << ")";
        break;
    }
}

TEST_F(HoverTips, TheTipBoxKeepsTheLastTip) {
    const ControlDef& box = Def(L"chkTenths");
    BringToFront(main_.Window());
    ASSERT_TRUE(HoverShows(ScreenCentre(main_.Control(box.name)), Name(box.tag)));

    // The edit box shows its text cursor while handling the move; once the cursor has
    // changed and the program has answered a message, the move has been handled.
    const HCURSOR overBox = PointerShape();
    ASSERT_TRUE(MovePointerUntil(ScreenCentre(main_.Control(L"txtTip")), [&] { return PointerShape() != overBox; }))
        << "the pointer never took the text shape over the tip box";
    ASSERT_TRUE(main_.Program().Sync());
    EXPECT_EQ(Name(box.tag), Tip());
}

} // namespace
} // namespace vellicor::e2e
