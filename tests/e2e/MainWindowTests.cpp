// The main window as a person meets it: where everything stands at two densities, what
// pointing at things shows, where the keyboard goes, and the ways to close it.
#include "e2e/Expected.h"

#include <array>

namespace vellicor::e2e {
namespace {

// The pointer waits in the screen's far corner, away from the windows, so that no stray
// move reaches the program.
void ParkPointer() { ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1); }

// The program on an empty settings key, at the density given, started as a shortcut set to
// "Run: Maximized" starts it (which Windows applies to a program's first window, and Wine
// ignores). Wine takes the density from the registry when a program starts; Windows only
// at the next sign-in, so there only the system's density is tested.
class AtDensity : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (!UnderWine() && GetParam() != int(::GetDpiForSystem())) GTEST_SKIP() << "not the system's density";
        if (UnderWine()) logPixels_.emplace(L"Control Panel\\Desktop", L"LogPixels", Dword(DWORD(GetParam())));
        ParkPointer();
        main_ = program_.emplace(VellicorPath(), std::wstring(), SW_SHOWMAXIMIZED).Main();
        ASSERT_TRUE(main_) << "no main window";
    }
    std::wstring Tip() { return TextOf(ControlOf(*program_, L"txtTip")); }
    // Moves the pointer there (client pixels) and waits for the tip to read `expected`.
    testing::AssertionResult Shows(POINT client, std::wstring_view expected) {
        if (MovePointerUntil(OnScreen(main_, client), [&] { return Tip() == expected; }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure()
               << "the tip reads \"" << Tip() << "\", not \"" << std::wstring(expected) << '"';
    }
    std::optional<SavedValue> logPixels_; // put back once the program has ended
    ScratchSettings settings_;
    std::optional<Program> program_;
    HWND main_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Dpi, AtDensity, testing::Values(96, 144),
                         [](const auto& info) { return "At" + std::to_string(info.param); });

// Both windows with the frame they should have, and as the program's layouts say: the
// client size; every control where its row puts it, shown, enabled and reading its caption
// (the About title carries the version besides: the About tests read it), of the window
// class, the style bits that make its kind what it is, and sunken or not. The separator's
// lines are drawn, not windows. The push button with the focus at start is the default
// one, and no other is.
TEST_P(AtDensity, BothWindowsAndEveryControlStandWhereTheyShould) {
    const int dpi = GetParam();
    const HWND about = OpenAbout(*program_);
    ASSERT_TRUE(about);
    const LONG_PTR frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, StyleOf(main_) & frame);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU, StyleOf(about) & frame);
    EXPECT_TRUE(::GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    const LONG_PTR text = ES_MULTILINE | ES_READONLY | WS_TABSTOP; // selectable, not editable
    const auto sweep = [&](HWND window, std::span<const ControlDef> layout, SIZE client, LONG_PTR textBox,
                           std::wstring_view defaultButton) {
        EXPECT_EQ(Pixels(client.cx, dpi), ClientSize(window).cx);
        EXPECT_EQ(Pixels(client.cy, dpi), ClientSize(window).cy);
        const struct {
            const wchar_t* windowClass;
            LONG_PTR mask, bits, sunken;
        } looks[] = {{L"Button", BS_TYPEMASK | WS_TABSTOP, BS_GROUPBOX, 0},
                     {L"Edit", text | ES_CENTER | WS_VSCROLL | WS_HSCROLL, textBox, WS_EX_CLIENTEDGE},
                     {L"Button", BS_TYPEMASK | WS_TABSTOP, BS_3STATE | WS_TABSTOP, 0},
                     {L"Button", BS_TYPEMASK | WS_TABSTOP, WS_TABSTOP, 0},
                     {L"Static", 0, 0, 0},
                     {L"Static", SS_TYPEMASK, SS_ICON, WS_EX_CLIENTEDGE}};
        for (int i = 0; i < int(layout.size()); ++i) {
            const ControlDef& row = layout[std::size_t(i)];
            SCOPED_TRACE(testing::Message() << std::wstring(row.name) << " " << row.index);
            const HWND control = program_->Control(i, window);
            ASSERT_EQ(row.kind == Kind::Line, control == nullptr);
            if (!control) continue;
            const auto& look = looks[int(row.kind)];
            const RECT r = RectInParent(control), expected = PixelRect(row, dpi);
            EXPECT_TRUE(::IsWindowVisible(control) && ::IsWindowEnabled(control));
            EXPECT_TRUE(::EqualRect(&r, &expected)) << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
            if (row.name != L"lblTitle") {
                EXPECT_EQ(row.caption, TextOf(control));
            }
            EXPECT_EQ(look.windowClass, ClassOf(control));
            EXPECT_EQ(look.sunken, ::GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            const LONG_PTR focused = row.name == defaultButton ? BS_DEFPUSHBUTTON : 0;
            EXPECT_EQ(look.bits | focused, StyleOf(control) & look.mask);
        }
    };
    sweep(main_, ui::MainLayout(), {ui::kMainClientWidth, ui::kMainClientHeight}, text | ES_CENTER, L"cmdRefresh");
    sweep(about, ui::AboutLayout(), {ui::kAboutClientWidth, ui::kAboutClientHeight}, text | WS_VSCROLL, L"cmdOK");
}

// What the About window paints itself: the icon, as the largest image its box holds (at
// 96 DPI the 32 pixels of the image made for it, at 144 DPI more); the separator, a grey line
// with the white one, two device lines high, just below it; the links in blue and the
// title in black.
TEST_P(AtDensity, TheAboutWindowPaintsItsIconSeparatorLinksAndTitle) {
    const int dpi = GetParam();
    const HWND about = OpenAbout(*program_);
    ASSERT_TRUE(about && BringToFront(about) && Settled(about));
    const SIZE size = ClientSize(about);
    const POINT origin = OnScreen(about, POINT{0, 0});
    const std::vector<int> shown = Channels(
        size, [&](HDC dc, HDC screen) { ::BitBlt(dc, 0, 0, size.cx, size.cy, screen, origin.x, origin.y, SRCCOPY); });
    const auto at = [&](LONG x, LONG y) {
        const std::size_t i = 4 * std::size_t(y * size.cx + x);
        return RGB(shown[i + 2], shown[i + 1], shown[i]);
    };
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const HWND picture = AboutControlOf(*program_, about, L"picIcon");
    const POINT corner = OnScreen(picture, POINT{-origin.x, -origin.y});
    const SIZE room = ClientSize(picture);
    std::vector<LONG> columns; // those the icon covers, left to right
    for (LONG x = 0; x < room.cx; ++x) {
        for (LONG y = 0; y < room.cy; ++y)
            if (at(corner.x + x, corner.y + y) != face) columns.push_back(x);
    }
    const LONG width = columns.empty() ? 0 : columns.back() - columns.front() + 1;
    EXPECT_TRUE(width > 0 && (dpi == 96) == (width <= 32)) << width << " pixels wide in a box of " << room.cx;
    const ControlDef& rule = *std::ranges::find(ui::AboutLayout(), Kind::Line, &ControlDef::kind);
    const LONG line = Pixels(rule.top, dpi), across = Pixels(rule.left + rule.width / 2, dpi);
    const COLORREF grey = RGB(128, 128, 128), white = RGB(255, 255, 255); // one device line grey, two white
    EXPECT_EQ((std::array{face, grey, white, white, face}),
              (std::array{at(across, line - 1), at(across, line), at(across, line + 1), at(across, line + 2),
                          at(across, line + 3)}))
        << "the separator";
    // The links' underline, at least, and the title's bold strokes are drawn solid.
    for (const ControlDef& row : ui::AboutLayout()) {
        if (row.kind != Kind::Label) continue;
        const COLORREF colour = row.name == L"lblTitle" ? RGB(0, 0, 0) : RGB(0, 0, 255);
        const RECT r = RectInParent(AboutControlOf(*program_, about, row.name, row.index));
        bool drawn = false;
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x) drawn = drawn || at(x, y) == colour;
        EXPECT_TRUE(drawn) << std::wstring(row.name) << " " << row.index << " has no pixel of colour " << std::hex
                           << colour;
    }
}

TEST_P(AtDensity, PointingShowsEachTipWordForWordAndFramesAndTheBackgroundClearIt) {
    const int dpi = GetParam();
    const auto at = [dpi](int x, int y) { return POINT{Pixels(x, dpi), Pixels(y, dpi)}; };
    std::vector<POINT> bare = {at(60, 60), at(1000, 3300), at(5835, 2000)}; // the background between the frames
    for (const ControlDef& row : ui::MainLayout()) {
        SCOPED_TRACE(std::wstring(row.name));
        const RECT r = PixelRect(row, dpi);
        if (row.kind == Kind::CheckBox || row.kind == Kind::CommandButton) {
            // From a cleared tip, so that each text is known to come from this control.
            ASSERT_TRUE(Shows(bare.front(), L""));
            EXPECT_TRUE(Shows(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, row.tag));
        }
        // A frame's caption and the margin inside its right edge.
        if (row.kind == Kind::Frame)
            bare.insert(bare.end(), {POINT{r.left + Pixels(180, dpi), r.top + 2},
                                     POINT{r.right - Pixels(60, dpi), (r.top + r.bottom) / 2}});
    }
    for (const POINT spot : bare) {
        ASSERT_TRUE(Shows(at(3500, 4150), Row(L"cmdRefresh").tag));
        EXPECT_TRUE(Shows(spot, L"")) << "a frame, or the background, at " << spot.x << "," << spot.y;
    }
    // The tip box has no pointer handler: moving onto it keeps the last tip. The edit box
    // changes the pointer's shape while it handles the move; then the move was handled.
    const RECT tenths = PixelRect(Row(L"chkTenths"), dpi), tipBox = PixelRect(Row(L"txtTip"), dpi);
    // Nor does moving on within a control set the same text again, which on Windows repaints
    // the box (it flickers) and clears what a new text clears, such as the modified flag.
    ASSERT_TRUE(Shows(POINT{tenths.left + 40, tenths.top + 5}, Row(L"chkTenths").tag));
    ::SendMessageW(ControlOf(*program_, L"txtTip"), EM_SETMODIFY, TRUE, 0);
    CURSORINFO before{sizeof(CURSORINFO), 0, nullptr, {}}, now = before;
    ::GetCursorInfo(&before);
    ASSERT_TRUE(MovePointerUntil(OnScreen(main_, POINT{tenths.left + 60, tenths.top + 8}), [] { return true; }));
    ASSERT_TRUE(
        MovePointerUntil(OnScreen(main_, POINT{(tipBox.left + tipBox.right) / 2, (tipBox.top + tipBox.bottom) / 2}),
                         [&] { return ::GetCursorInfo(&now) && now.hCursor != before.hCursor; }));
    ASSERT_TRUE(Settled(main_));
    EXPECT_EQ(Row(L"chkTenths").tag, Tip());
    EXPECT_TRUE(::SendMessageW(ControlOf(*program_, L"txtTip"), EM_GETMODIFY, 0, 0)) << "the tip was set again";
}

// Tab follows the tab order past the frames; arrows move only within a row or column of
// like controls; after each interruption the focus comes back to its control, as in any
// dialog; Enter presses the focused button. The description box follows the keyboard to
// each check box and button and a click to its control, but not the focus that the window
// gives itself (at start, after an interruption).
TEST(Keyboard, MovesAsInAnyDialog) {
    ParkPointer();
    ScratchSettings settings;
    Program program;
    const auto tip = [&] { return TextOf(ControlOf(program, L"txtTip")); };
    const HWND main = program.Main();
    const std::unique_ptr<HWND__, decltype(&::DestroyWindow)> other(
        ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                          nullptr),
        &::DestroyWindow);
    ASSERT_TRUE(main && BringToFront(main));
    std::vector<const ControlDef*> order;
    for (const ControlDef& row : ui::MainLayout())
        if (row.kind != Kind::Frame) order.push_back(&row);
    std::ranges::sort(order, {}, &ControlDef::tabIndex);
    ASSERT_TRUE(StaysOn(main, ControlOf(program, L"cmdRefresh")) && tip().empty())
        << "the focus starts on Refresh, without its description";
    // A button that took the focus from a click, not from the dialog manager, is the one
    // Enter presses too.
    ASSERT_TRUE(Put(main, ControlOf(program, L"cmdAbout")) && ClickAt(ControlOf(program, L"cmdRefresh")) &&
                StaysOn(main, ControlOf(program, L"cmdRefresh")) && tip() == Row(L"cmdRefresh").tag);
    settings.Set(L"NoTenths", Dword(0)); // what the next Refresh loads
    EXPECT_TRUE(PressKey(VK_RETURN) &&
                WaitUntil([&] { return program.State(ControlOf(program, L"chkTenths")) == BST_CHECKED; }, 3s))
        << "Enter on Refresh";
    std::wstring_view described = Row(L"cmdRefresh").tag; // the text box shows none of its own
    for (const bool back : {false, true}) {
        for (std::size_t step = 1, n = order.size(); step <= n; ++step) {
            const ControlDef& want = *order[back ? (n - step) % n : step % n];
            if (want.kind != Kind::TextBox) described = want.tag;
            ASSERT_TRUE(
                PressKey(VK_TAB, back) &&
                WaitUntil([&] { return FocusOf(main) == ControlOf(program, want.name) && tip() == described; }, 3s))
                << (back ? "Shift+Tab" : "Tab") << " to " << std::wstring(want.name) << ", showing " << tip();
        }
    }
    const struct {
        const wchar_t *from, *to;
        WORD key;
    } arrows[] = {{L"cmdExit", L"cmdRefresh", VK_DOWN},
                  {L"chkNotify", L"chkEllipse", VK_UP},
                  {L"cmdKillReg", L"cmdFixAssoc", VK_RIGHT},
                  {L"chkBoost", L"chkBoost", VK_DOWN}};
    for (const auto& step : arrows) {
        SCOPED_TRACE(testing::Message() << "key " << step.key << " from " << step.from);
        const std::wstring before = tip();
        ASSERT_TRUE(Put(main, ControlOf(program, step.from)) && PressKey(step.key));
        EXPECT_TRUE(StaysOn(main, ControlOf(program, step.to)));
        EXPECT_EQ(step.to == std::wstring_view(step.from) ? before : Row(step.to).tag, tip());
    }
    const std::pair<const wchar_t*, std::function<bool()>> interruptions[] = {
        {L"cmdAbout",
         [&] { // "About..." by Enter, and Enter there, on OK
             const HWND about = PressKey(VK_RETURN) ? program.WaitForWindow(L"About Vellicor") : nullptr;
             return about && BringToFront(about) && PressKey(VK_RETURN) &&
                    WaitUntil([&] { return !::IsWindow(about); });
         }},
        {L"cmdKillLib",
         [&] { return program.Converse(ControlOf(program, L"cmdKillLib"), true, Answer::Cancel).size() == 1; }},
        {L"chkVerify", [&] { return BringToFront(other.get()) && BringToFront(main); }},
        {L"chkPanel",
         [&] {
             return ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0) &&
                    WaitUntil([&] { return ::IsIconic(main) != FALSE; }) &&
                    ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
         }},
    };
    for (const auto& [name, interrupt] : interruptions) {
        SCOPED_TRACE(name);
        const std::wstring before = tip();
        ASSERT_TRUE(BringToFront(main) && Put(main, ControlOf(program, name)) && interrupt());
        EXPECT_TRUE(StaysOn(main, ControlOf(program, name)) && tip() == before)
            << "the focus went, or its return showed " << tip();
    }
}

TEST(Closing, ExitEscAndTheCloseBoxEndTheProgramWithoutAQuestion) {
    const std::function<bool(Program&)> ways[] = {
        [](Program& p) { return p.PostClick(ControlOf(p, L"cmdExit")); },
        [](Program& p) { return BringToFront(p.Main()) && PressKey(VK_ESCAPE); },
        [](Program& p) { return ::PostMessageW(p.Main(), WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE; },
    };
    for (const auto& close : ways) {
        ScratchSettings settings;
        Program program;
        // A question would be a box nobody answers: the program could not end.
        EXPECT_TRUE(program.Main() && close(program) && program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
    }
}

} // namespace
} // namespace vellicor::e2e
