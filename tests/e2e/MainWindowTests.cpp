// The main window as a person meets it: where everything stands at two densities, where
// the keyboard goes, what pointing at things shows, and the ways to close it.
#include "e2e/Expected.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

namespace vellicor::e2e {
namespace {

std::array<LONG, 4> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The pointer waits in the screen's far corner, away from where the window opens, so
// that no stray move reaches the program before a test makes one.
void ParkPointer() { ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1); }

// The program on an empty settings key, at the density given.
class AtDensity : public testing::TestWithParam<int> {
protected:
    AtDensity() : logPixels_(L"Control Panel\\Desktop", L"LogPixels", Dword(DWORD(GetParam()))) { ParkPointer(); }
    void SetUp() override { ASSERT_TRUE(main_ = program_.Main()) << "no main window"; }

    std::wstring NameOf(HWND control) {
        for (const Expected& row : kMain) {
            if (ControlOf(program_, row.name) == control) return std::wstring(row.name);
        }
        return L"(not a control)";
    }
    std::wstring Tip() { return TextOf(ControlOf(program_, L"txtTip")); }
    // Moves the pointer there and waits for the tip to read `expected`.
    testing::AssertionResult HoverShows(POINT client, std::wstring_view expected) {
        ::ClientToScreen(main_, &client);
        if (MovePointerUntil(client, [&] { return Tip() == expected; })) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the tip reads \"" << Utf8(Tip()) << "\", not \"" << Utf8(expected) << '"';
    }
    // Client points inside `area`, a few pixels apart, on no control but those allowed.
    std::vector<POINT> Bare(const RECT& area, std::wstring_view allowed = L"") {
        std::vector<POINT> points;
        for (LONG y = area.top + 1; y < area.bottom - 1; y += 3) {
            for (LONG x = area.left + 1; x < area.right - 1; x += 3) {
                if (std::none_of(std::begin(kMain), std::end(kMain), [&](const Expected& row) {
                        const RECT r = PixelRect(row, GetParam());
                        return row.name != allowed && ::PtInRect(&r, POINT{x, y});
                    })) {
                    points.push_back(POINT{x, y});
                }
            }
        }
        return points;
    }

    SavedValue logPixels_; // put back once the program has ended
    ScratchSettings settings_;
    Program program_;
    HWND main_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Dpi, AtDensity, testing::Values(96, 144), [](const auto& info) { return "At" + std::to_string(info.param); });

TEST_P(AtDensity, TheWindowAndEveryControlStandWhereTheyShould) {
    const int dpi = GetParam();
    EXPECT_EQ(L"Vellicor", TextOf(main_));
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, StyleOf(main_) & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(Pixels(kMainWidth, dpi), ClientSize(main_).cx);
    EXPECT_EQ(Pixels(kMainHeight, dpi), ClientSize(main_).cy);
    struct Look {
        const wchar_t* windowClass;
        LONG_PTR mask, bits;
    };
    const auto look = [](Kind kind) {
        switch (kind) {
        case Kind::Frame: return Look{L"Button", BS_TYPEMASK | WS_TABSTOP, BS_GROUPBOX};
        case Kind::CheckBox: return Look{L"Button", BS_TYPEMASK | WS_TABSTOP, BS_3STATE | WS_TABSTOP};
        // A push button that has the focus is the default one.
        case Kind::Button: return Look{L"Button", (BS_TYPEMASK & ~BS_DEFPUSHBUTTON) | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP};
        case Kind::TextBox: break;
        }
        const LONG_PTR tipBox = ES_MULTILINE | ES_READONLY | ES_CENTER | WS_TABSTOP;
        return Look{L"Edit", tipBox | WS_VSCROLL | WS_HSCROLL, tipBox};
    };
    for (int i = 0; i < int(std::size(kMain)); ++i) {
        const Expected& row = kMain[i];
        SCOPED_TRACE(Utf8(row.name));
        const HWND control = program_.Control(i);
        ASSERT_TRUE(control);
        EXPECT_TRUE(::IsWindowVisible(control) && ::IsWindowEnabled(control));
        EXPECT_EQ(row.caption, TextOf(control));
        EXPECT_EQ(Edges(PixelRect(row, dpi)), Edges(RectInParent(control)));
        EXPECT_EQ(look(row.kind).windowClass, ClassOf(control));
        EXPECT_EQ(look(row.kind).bits, StyleOf(control) & look(row.kind).mask);
    }
}

TEST_P(AtDensity, PointingShowsEachTipWordForWordAndFramesAndTheBackgroundClearIt) {
    const RECT client{0, 0, Pixels(kMainWidth, GetParam()), Pixels(kMainHeight, GetParam())};
    const std::vector<POINT> background = Bare(client);
    ASSERT_FALSE(background.empty());
    for (const Expected& row : kMain) {
        const RECT r = PixelRect(row, GetParam());
        if (row.kind == Kind::CheckBox || row.kind == Kind::Button) {
            // From a cleared tip, so that each text is known to come from this control.
            ASSERT_TRUE(HoverShows(background.front(), L"")) << "before " << Utf8(row.name);
            EXPECT_TRUE(HoverShows(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, row.tip)) << Utf8(row.name);
        } else if (row.kind == Kind::Frame) {
            const std::vector<POINT> inside = Bare(r, row.name);
            for (POINT spot : {POINT{r.left + Pixels(180, GetParam()), r.top + 2}, inside.front(), inside.back()}) {
                ASSERT_TRUE(HoverShows(POINT{Pixels(3500, GetParam()), Pixels(4150, GetParam())}, Row(L"cmdRefresh").tip));
                EXPECT_TRUE(HoverShows(spot, L"")) << Utf8(row.name) << " at " << spot.x << "," << spot.y;
            }
        }
    }
    for (POINT spot : {background.front(), background[background.size() / 2], background.back()}) {
        ASSERT_TRUE(HoverShows(POINT{Pixels(3500, GetParam()), Pixels(4150, GetParam())}, Row(L"cmdRefresh").tip));
        EXPECT_TRUE(HoverShows(spot, L"")) << "the background at " << spot.x << "," << spot.y;
    }
    // The tip box has no pointer handler: moving onto it keeps the last tip. The edit box
    // changes the pointer's shape while handling the move; then the move has been handled.
    const RECT tenths = PixelRect(Row(L"chkTenths"), GetParam()), tipBox = PixelRect(Row(L"txtTip"), GetParam());
    ASSERT_TRUE(HoverShows(POINT{tenths.left + 40, tenths.top + 5}, Row(L"chkTenths").tip));
    CURSORINFO before{}, now{};
    before.cbSize = now.cbSize = sizeof(CURSORINFO);
    ::GetCursorInfo(&before);
    POINT centre{(tipBox.left + tipBox.right) / 2, (tipBox.top + tipBox.bottom) / 2};
    ::ClientToScreen(main_, &centre);
    ASSERT_TRUE(MovePointerUntil(centre, [&] { return ::GetCursorInfo(&now) && now.hCursor != before.hCursor; }));
    ASSERT_TRUE(program_.Sync());
    EXPECT_EQ(Row(L"chkTenths").tip, Tip());
}

TEST(Keyboard, TabFollowsTheTabOrderPastTheFrames) {
    ScratchSettings settings;
    Program program;
    const HWND main = program.Main();
    ASSERT_TRUE(main && BringToFront(main));
    std::vector<const Expected*> order;
    for (const Expected& row : kMain) {
        if (row.kind != Kind::Frame) order.push_back(&row);
    }
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->tab < b->tab; });
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main) == ControlOf(program, L"cmdRefresh"); })) << "the focus starts on Refresh";
    for (const bool back : {false, true}) {
        for (std::size_t step = 1, n = order.size(); step <= n; ++step) {
            const Expected& want = *order[back ? (n - step) % n : step % n];
            ASSERT_TRUE(PressKey(VK_TAB, back));
            ASSERT_TRUE(WaitUntil([&] { return FocusOf(main) == ControlOf(program, want.name); }, 3s))
                << (back ? "Shift+Tab" : "Tab") << " should reach " << Utf8(want.name);
        }
    }
}

// The focus put on a control as Tab puts it, then where an arrow key or an interruption
// leaves it: arrows move only within a row or column of like controls, and the focus
// comes back to its control as in any dialog.
bool Put(HWND window, HWND control) {
    ::PostMessageW(window, WM_NEXTDLGCTL, WPARAM(control), TRUE);
    return WaitUntil([&] { return FocusOf(window) == control; }, 3s);
}
bool StaysOn(HWND window, HWND control) {
    ::Sleep(DWORD(kQuiet.count()));
    return WaitUntil([&] { return FocusOf(window) == control; }, 3s);
}

TEST(Focus, ArrowKeysMoveOnlyWithinARowOrColumnOfLikeControls) {
    ScratchSettings settings;
    Program program;
    ASSERT_TRUE(program.Main() && BringToFront(program.Main()));
    const struct {
        const wchar_t *from, *to;
        WORD key;
    } steps[] = {
        {L"cmdExit", L"cmdRefresh", VK_DOWN},       // not the frame below
        {L"chkNotify", L"chkEllipse", VK_UP},       // not the frame around it
        {L"cmdKillReg", L"cmdFixAssoc", VK_RIGHT},  //
        {L"chkBoost", L"chkBoost", VK_DOWN},        // the next in tab order stands above it
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(Put(program.Main(), ControlOf(program, step.from))) << Utf8(step.from);
        ASSERT_TRUE(PressKey(step.key));
        EXPECT_TRUE(StaysOn(program.Main(), ControlOf(program, step.to))) << "key " << step.key << " from " << Utf8(step.from);
    }
    ASSERT_TRUE(program.PostClick(ControlOf(program, L"cmdAbout")));
    const HWND about = program.WaitForWindow(L"About Vellicor");
    ASSERT_TRUE(about && BringToFront(about));
    for (const auto& [from, key] : {std::pair{2, VK_DOWN}, {2, VK_UP}, {1, VK_RIGHT}}) { // OK, OK, the icon
        ASSERT_TRUE(Put(about, program.Control(from, about)));
        ASSERT_TRUE(PressKey(WORD(key)));
        EXPECT_TRUE(StaysOn(about, program.Control(from, about))) << "key " << key << " in About";
    }
}

TEST(Focus, ComesBackToItsControlAfterEachInterruption) {
    ScratchSettings settings;
    Program program;
    const HWND main = program.Main(), other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    const std::pair<const wchar_t*, std::function<bool()>> cases[] = {
        {L"cmdAbout", [&] { // Enter presses the focused button: "About...", then OK
             const HWND about = PressKey(VK_RETURN) ? program.WaitForWindow(L"About Vellicor") : nullptr;
             return about && BringToFront(about) && PressKey(VK_RETURN) && WaitUntil([&] { return !::IsWindow(about); });
         }},
        {L"cmdKillLib", [&] {
             const auto box = PressKey(VK_SPACE) ? program.NextBox() : std::nullopt;
             return box && AnswerBox(*box, Answer::Cancel);
         }},
        {L"chkVerify", [&] { return BringToFront(other) && BringToFront(main); }},
        {L"chkPanel", [&] {
             return ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0) && WaitUntil([&] { return ::IsIconic(main) != FALSE; }) &&
                    ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
         }},
    };
    for (const auto& [name, interrupt] : cases) {
        ASSERT_TRUE(BringToFront(main) && Put(main, ControlOf(program, name))) << Utf8(name);
        ASSERT_TRUE(interrupt()) << Utf8(name);
        EXPECT_TRUE(StaysOn(main, ControlOf(program, name))) << Utf8(name) << " lost the focus";
    }
    ::DestroyWindow(other);
}

TEST(Closing, ExitEscAndTheCloseBoxEndTheProgramWithoutAQuestion) {
    const std::function<bool(Program&)> ways[] = {
        [](Program& p) { return p.PostClick(ControlOf(p, L"cmdExit")); },
        [](Program& p) { return BringToFront(p.Main()) && PressKey(VK_ESCAPE); },
        [](Program& p) { return ::PostMessageW(p.Main(), WM_CLOSE, 0, 0) != FALSE; },
        [](Program& p) { return ::PostMessageW(p.Main(), WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE; },
    };
    for (const auto& close : ways) {
        ScratchSettings settings;
        Program program;
        ASSERT_TRUE(program.Main() && close(program));
        // A question would be a box nobody answers: the program could not end.
        EXPECT_TRUE(program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
    }
}

} // namespace
} // namespace vellicor::e2e
