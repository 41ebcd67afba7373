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

// The window class and the style bits that make each kind of control what it is.
struct KindLook {
    ControlKind kind;
    const wchar_t* className;
    LONG_PTR styleMask;
    LONG_PTR styleBits;
};
constexpr LONG_PTR kTipBoxStyle = ES_MULTILINE | ES_READONLY | ES_CENTER;
constexpr KindLook kKinds[] = {
    {ControlKind::Frame, L"Button", BS_TYPEMASK, BS_GROUPBOX},
    {ControlKind::CheckBox, L"Button", BS_TYPEMASK, BS_3STATE},
    // The focused button is the default one, as in any dialog.
    {ControlKind::CommandButton, L"Button", BS_TYPEMASK & ~BS_DEFPUSHBUTTON, BS_PUSHBUTTON},
    {ControlKind::TextBox, L"Edit", kTipBoxStyle, kTipBoxStyle},
};

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
    std::string NameOf(HWND control) const {
        for (std::size_t i = 0; control && i < ui::MainLayout().size(); ++i) {
            if (program_->Control(i) == control) return Utf8(ui::MainLayout()[i].name);
        }
        return "(no control)";
    }

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

        const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                       [&](const KindLook& look) { return look.kind == def.kind; });
        if (kind == std::end(kKinds)) {
            ADD_FAILURE() << "the main window has no such control";
            continue;
        }
        EXPECT_EQ(kind->className, ClassOf(control));
        EXPECT_EQ(kind->styleBits, StyleOf(control) & kind->styleMask);
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

    ASSERT_TRUE(BringToFront(main.Window()));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main.Window()) == main.Control(L"cmdRefresh"); }))
        << "the focus starts on " << main.NameOf(FocusOf(main.Window()));

    const std::size_t n = order.size();
    for (const bool shift : {false, true}) {
        std::size_t at = 0;
        for (std::size_t step = 0; step < n; ++step) {
            at = shift ? (at + n - 1) % n : (at + 1) % n;
            const HWND want = main.Control(order[at]->name);
            ASSERT_TRUE(PressKey(VK_TAB, shift));
            ASSERT_TRUE(WaitUntil([&] { return FocusOf(main.Window()) == want; }, 3s))
                << (shift ? "Shift+Tab" : "Tab") << " should reach " << Utf8(order[at]->name) << ", the focus is on "
                << main.NameOf(FocusOf(main.Window()));
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
        ASSERT_TRUE(BringToFront(main.Window()));
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

// At a second density too: the window tells frames from the background by their scaled
// rectangles.
class HoverTips : public testing::TestWithParam<int> {
protected:
    HoverTips() : dpi_(GetParam()), main_(dpi_) {}
    void SetUp() override {
        ASSERT_TRUE(main_.Window()) << "no main window";
        ASSERT_TRUE(BringToFront(main_.Window()));
    }

    std::wstring Tip() const { return TextOf(main_.Control(L"txtTip")); }
    POINT Centre(std::wstring_view name) const { return ScreenCentre(main_.Control(name)); }
    POINT At(POINT client) const { return ToScreen(main_.Window(), client); }

    // Moves the pointer and waits for the tip to read `expected`.
    testing::AssertionResult HoverShows(POINT screen, const std::wstring& expected) const {
        if (MovePointerUntil(screen, [&] { return Tip() == expected; })) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the tip reads \"" << Utf8(Tip()) << "\", expected \"" << Utf8(expected)
                                           << "\"";
    }

    RECT Client() const {
        return RECT{0, 0, ::MulDiv(ui::kMainClientWidth, dpi_, 1440), ::MulDiv(ui::kMainClientHeight, dpi_, 1440)};
    }

    // Client points in `area`, a few pixels apart, on no control but those `allowed`.
    std::vector<POINT> BarePoints(const RECT& area, const std::set<std::wstring_view>& allowed = {}) const {
        std::vector<POINT> points;
        for (LONG y = area.top + 1; y < area.bottom - 1; y += 3) {
            for (LONG x = area.left + 1; x < area.right - 1; x += 3) {
                const bool bare = std::none_of(ui::MainLayout().begin(), ui::MainLayout().end(), [&](const ControlDef& def) {
                    const RECT r = ExpectedRect(def, dpi_);
                    return !allowed.contains(def.name) && ::PtInRect(&r, POINT{x, y});
                });
                if (bare) points.push_back(POINT{x, y});
            }
        }
        return points;
    }

    // The first, the middle and the last of them.
    static std::vector<POINT> Sample(const std::vector<POINT>& points) {
        if (points.empty()) return {};
        return {points.front(), points[points.size() / 2], points.back()};
    }

    const int dpi_;
    MainWindow main_;
};

TEST_P(HoverTips, EachCheckBoxAndButtonShowsItsTagWordForWord) {
    const auto background = BarePoints(Client());
    ASSERT_FALSE(background.empty());
    for (const ControlDef& def : ui::MainLayout()) {
        if (def.kind != ControlKind::CheckBox && def.kind != ControlKind::CommandButton) continue;
        ASSERT_FALSE(def.tag.empty()) << Utf8(def.name);
        // From a cleared tip, so that each text is known to come from this control.
        ASSERT_TRUE(HoverShows(At(background.front()), L"")) << "before " << Utf8(def.name);
        EXPECT_TRUE(HoverShows(Centre(def.name), Name(def.tag))) << Utf8(def.name);
    }
}

TEST_P(HoverTips, FramesAndTheBackgroundClearTheTip) {
    const ControlDef& button = Def(L"cmdRefresh");
    const auto clearedAt = [&](POINT spot) {
        const testing::AssertionResult shown = HoverShows(Centre(button.name), Name(button.tag));
        return shown ? HoverShows(At(spot), L"") : shown;
    };
    for (const ControlDef& frame : ui::MainLayout()) {
        if (frame.kind != ControlKind::Frame) continue;
        const RECT r = ExpectedRect(frame, dpi_);
        const POINT caption{r.left + ::MulDiv(12, dpi_, 96), r.top + ::MulDiv(3, dpi_, 96)};
        EXPECT_TRUE(clearedAt(caption)) << Utf8(frame.name) << "'s caption";
        const auto empty = BarePoints(r, {frame.name});
        ASSERT_FALSE(empty.empty()) << Utf8(frame.name);
        for (POINT spot : Sample(empty)) {
            EXPECT_TRUE(clearedAt(spot)) << Utf8(frame.name) << " at (" << spot.x << "," << spot.y << ")";
        }
    }
    for (POINT spot : Sample(BarePoints(Client()))) {
        EXPECT_TRUE(clearedAt(spot)) << "the background at (" << spot.x << "," << spot.y << ")";
    }
}

TEST_P(HoverTips, TheTipBoxKeepsTheLastTip) {
    const ControlDef& box = Def(L"chkTenths");
    ASSERT_TRUE(HoverShows(Centre(box.name), Name(box.tag)));

    // The edit box shows its text cursor while handling the move; once the shape has
    // changed and the program has answered a message, the move has been handled.
    const HCURSOR overBox = PointerShape();
    ASSERT_TRUE(MovePointerUntil(Centre(L"txtTip"), [&] { return PointerShape() != overBox; }))
        << "the pointer never took the text shape over the tip box";
    ASSERT_TRUE(main_.Program().Sync());
    EXPECT_EQ(Name(box.tag), Tip());
}

INSTANTIATE_TEST_SUITE_P(Dpi, HoverTips, testing::Values(96, 144),
                         [](const testing::TestParamInfo<int>& info) { return "At" + std::to_string(info.param); });

} // namespace
} // namespace vellicor::e2e
