// The About window of the real program, opened from the main window's "About..." button
// and worked from outside: what it shows, how it closes, and what its links hand over.
#include "e2e/Driver.h"

#include "ui/AboutLayout.h"
#include "ui/Links.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace vellicor::e2e {
namespace {

// The program numbers its controls from here, in creation order.
constexpr int kFirstControlId = 100;
constexpr wchar_t kFormClass[] = L"VellicorForm";
constexpr wchar_t kBrowserKey[] = L"Software\\Wine\\WineBrowser";

std::size_t AboutIndex(std::wstring_view name, int index = -1) {
    const auto layout = ui::AboutLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        if (layout[i].name == name && layout[i].index == index) return i;
    }
    ADD_FAILURE() << "no " << Utf8(name) << " in the About window";
    return 0;
}

// A person's click: the real pointer moved over the control, then pressed and released.
// Under Wine an earlier move can be replayed after this one and put the pointer back over
// the link clicked before; so the pointer must be seen to stay over the control, and the
// press carries the same place itself so that a replay in between cannot move it.
bool ClickWithMouse(HWND control) {
    const POINT centre = ScreenCentre(control);
    if (!MovePointerUntil(centre, [&] { return ::WindowFromPoint(centre) == control; })) return false;
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // Absolute positions run from 0 to 65535 over the virtual screen; round up so that
    // the system's scaling back lands on the very pixel.
    const auto normalised = [](int offset, int extent) {
        return static_cast<LONG>((static_cast<long long>(offset) * 65536 + extent - 1) / extent);
    };
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = normalised(centre.x - left, width);
    inputs[0].mi.dy = normalised(centre.y - top, height);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.SetDword(L"NoTenths", 0);
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(nullptr, main_) << "the main window did not appear";
    }

    // Presses "About..." and waits for the About window; null when it did not appear.
    HWND Open() { return Open(program_); }
    static HWND Open(const VellicorProcess& program) {
        return program.PostClick(program.Control(L"cmdAbout")) ? WaitForAbout(program) : nullptr;
    }
    HWND WaitForAbout() { return WaitForAbout(program_); }
    static HWND WaitForAbout(const VellicorProcess& program) {
        HWND about = nullptr;
        WaitUntil([&] {
            for (HWND window : program.TopLevelWindows()) {
                if (ClassOf(window) == kFormClass && TextOf(window) == L"About Vellicor") about = window;
            }
            return about != nullptr;
        });
        return about;
    }

    bool WaitUntilGone(HWND about) {
        return WaitUntil([&] { return !::IsWindow(about); });
    }

    static HWND Item(HWND about, std::wstring_view name, int index = -1) {
        return ::GetDlgItem(about, kFirstControlId + static_cast<int>(AboutIndex(name, index)));
    }

    // A copy of the program in a folder of its own, beside one of the tests' stand-ins
    // under the name that a malicious download would give it.
    static void PlantBesideCopy(const ScratchFolder& folder, const std::wstring& standIn, const std::wstring& name) {
        wchar_t self[MAX_PATH]{};
        std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
        path = path.substr(0, path.rfind(L'\\') + 1) + standIn;
        ASSERT_TRUE(::CopyFileW(path.c_str(), folder.File(name).c_str(), FALSE)) << Utf8(path);
        ASSERT_TRUE(::CopyFileW(VellicorPath().c_str(), folder.File(L"Vellicor.exe").c_str(), FALSE));
    }

    ScratchSettings settings_;
    VellicorProcess program_;
    HWND main_ = nullptr;
};

TEST_F(AboutWindow, OpensModalOverTheMainWindowWithTitleTextAndFocusOnOk) {
    const HWND about = Open();
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(main_, ::GetWindow(about, GW_OWNER));
    EXPECT_FALSE(::IsWindowEnabled(main_)) << "the main window takes no input while About is open";

    const LONG_PTR style = StyleOf(about);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "fixed dialog frame";
    EXPECT_TRUE(::GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    EXPECT_EQ(L"Vellicor  2.1 build 20", TextOf(Item(about, L"lblTitle"))) << "two blanks before the version";
    EXPECT_EQ(std::wstring(ui::AboutDescription()), TextOf(Item(about, L"txtDesc")));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(about) == Item(about, L"cmdOK"); }));
}

TEST_F(AboutWindow, ClientAreaAndControlsSitWhereTheTwipsSay) {
    const HWND about = Open();
    ASSERT_NE(nullptr, about);
    const int dpi = static_cast<int>(::GetDpiForWindow(about));
    const auto pixels = [dpi](int twips) { return ::MulDiv(twips, dpi, 1440); };

    const SIZE client = ClientSize(about);
    EXPECT_EQ(pixels(ui::kAboutClientWidth), client.cx);
    EXPECT_EQ(pixels(ui::kAboutClientHeight), client.cy);
    if (dpi == 96) {
        EXPECT_EQ(344, client.cx);
        EXPECT_EQ(200, client.cy);
    }
    const auto layout = ui::AboutLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ui::ControlDef& def = layout[i];
        if (def.kind == ui::ControlKind::Line) continue;
        const HWND control = ::GetDlgItem(about, kFirstControlId + static_cast<int>(i));
        ASSERT_NE(nullptr, control) << Utf8(def.name);
        const RECT r = RectInParent(control);
        const RECT expected{pixels(def.left), pixels(def.top), pixels(def.left) + pixels(def.width),
                            pixels(def.top) + pixels(def.height)};
        EXPECT_EQ(expected.left, r.left) << Utf8(def.name) << " " << def.index;
        EXPECT_EQ(expected.top, r.top) << Utf8(def.name) << " " << def.index;
        EXPECT_EQ(expected.right, r.right) << Utf8(def.name) << " " << def.index;
        EXPECT_EQ(expected.bottom, r.bottom) << Utf8(def.name) << " " << def.index;
    }
}

TEST_F(AboutWindow, EnterAndEscInsideTheTextCloseIt) {
    // The multi-line text sees the keys first. Enter on OK: Focus.ComesBackToItsControl...
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) {
        const HWND about = Open();
        ASSERT_TRUE(about && BringToFront(about));
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == Item(about, L"cmdOK"); }));
        PressKey(VK_TAB, true);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == Item(about, L"txtDesc"); }));
        ASSERT_TRUE(PressKey(key));
        EXPECT_TRUE(WaitUntilGone(about)) << "key " << key;
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main_; }));
    }
}

TEST_F(AboutWindow, TabVisitsOkIconAndTextButNeverTheLinks) {
    const HWND about = Open();
    ASSERT_NE(nullptr, about);
    BringToFront(about);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == Item(about, L"cmdOK"); }));
    const std::vector<HWND> expected{Item(about, L"picIcon"), Item(about, L"txtDesc"), Item(about, L"cmdOK")};
    std::vector<HWND> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(PressKey(VK_TAB));
        WaitUntil([&] { return FocusOf(about) == expected[i]; }, 2s);
        visited.push_back(FocusOf(about));
    }
    EXPECT_EQ(expected, visited);
}

// The dialog manager's focus: put on a control as Tab would, then where keys and
// interruptions leave it.
class Focus : public AboutWindow {
protected:
    static bool Put(HWND window, HWND control) {
        ::PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        return WaitUntil([&] { return FocusOf(window) == control; }, 3s);
    }
    static bool StaysOn(HWND window, HWND control) {
        std::this_thread::sleep_for(kQuietPeriod);
        return WaitUntil([&] { return FocusOf(window) == control; }, 3s);
    }
};

TEST_F(Focus, ArrowKeysMoveOnlyWithinARowOrColumnOfLikeControls) {
    struct Step {
        bool inAbout;
        const wchar_t* from;
        WORD key;
        const wchar_t* to;
    };
    const Step steps[] = {
        {false, L"cmdExit", VK_DOWN, L"cmdRefresh"}, // not the frame below
        {false, L"chkNotify", VK_UP, L"chkEllipse"}, // not the frame around it
        {false, L"cmdKillReg", VK_RIGHT, L"cmdFixAssoc"},
        {false, L"chkBoost", VK_DOWN, L"chkBoost"}, // next in tab order, but above it
        {true, L"cmdOK", VK_DOWN, L"cmdOK"}, // not the icon or the title
        {true, L"cmdOK", VK_UP, L"cmdOK"}, // not the links
        {true, L"picIcon", VK_RIGHT, L"picIcon"},
    };
    ASSERT_TRUE(BringToFront(main_));
    HWND about = nullptr;
    for (const Step& step : steps) {
        if (step.inAbout && !about) {
            ASSERT_TRUE(about = Open());
            ASSERT_TRUE(BringToFront(about));
        }
        const HWND window = step.inAbout ? about : main_;
        const auto control = [&](const wchar_t* name) { return step.inAbout ? Item(about, name) : program_.Control(name); };
        ASSERT_TRUE(Put(window, control(step.from))) << Utf8(step.from);
        ASSERT_TRUE(PressKey(step.key));
        EXPECT_TRUE(StaysOn(window, control(step.to))) << "key " << step.key << " from " << Utf8(step.from);
    }
}

TEST_F(Focus, ComesBackToItsControlAfterEachInterruption) {
    const HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                         nullptr, nullptr, nullptr);
    const std::pair<const wchar_t*, std::function<bool()>> cases[] = {
        {L"cmdAbout", [&] { // Enter presses the focused button: "About...", then OK
             const HWND about = PressKey(VK_RETURN) ? WaitForAbout() : nullptr;
             return about && BringToFront(about) && PressKey(VK_RETURN) && WaitUntilGone(about);
         }},
        {L"cmdKillLib", [&] {
             const auto box = PressKey(VK_SPACE) ? program_.WaitForMessageBox() : std::nullopt;
             return box && AnswerMessageBox(*box, Answer::Cancel);
         }},
        {L"chkVerify", [&] { return BringToFront(other) && BringToFront(main_); }},
        {L"chkPanel", [&] {
             return ::PostMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0) &&
                    WaitUntil([&] { return ::IsIconic(main_) != FALSE; }) &&
                    ::PostMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
         }},
    };
    for (const auto& [name, interrupt] : cases) {
        const HWND control = program_.Control(name);
        ASSERT_TRUE(BringToFront(main_) && Put(main_, control)) << Utf8(name);
        ASSERT_TRUE(interrupt()) << Utf8(name);
        EXPECT_TRUE(StaysOn(main_, control)) << Utf8(name) << " lost the focus";
    }
    ::DestroyWindow(other);
}

TEST_F(AboutWindow, ASecondOpeningShowsTheVersionOnce) {
    for (int opening = 1; opening <= 2; ++opening) {
        const HWND about = Open();
        ASSERT_NE(nullptr, about) << "opening " << opening;
        EXPECT_EQ(L"Vellicor  2.1 build 20", TextOf(Item(about, L"lblTitle"))) << "opening " << opening;
        ASSERT_TRUE(program_.PostClick(Item(about, L"cmdOK")));
        ASSERT_TRUE(WaitUntilGone(about)) << "opening " << opening;
    }
}

// The full paths of the DLLs loaded in another process.
std::vector<std::wstring> LoadedModules(DWORD processId) {
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    HMODULE modules[512]{};
    DWORD bytes = 0;
    if (!process || !::EnumProcessModules(process.Get(), modules, sizeof modules, &bytes)) return {};
    std::vector<std::wstring> paths;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < std::size(modules); ++i) {
        wchar_t path[MAX_PATH]{};
        paths.emplace_back(path, ::GetModuleFileNameExW(process.Get(), modules[i], path, MAX_PATH));
        std::transform(paths.back().begin(), paths.back().end(), paths.back().begin(), ::towlower);
    }
    return paths;
}

// A version.dll beside the program, with Wine's loader told to prefer it to its own as
// Windows does for every DLL that is not one of its known DLLs: the program reads its
// version through the system's version.dll, and the planted code never runs. Wine's own
// user32 imports version.dll, so under Wine the planted one is loaded at start whatever
// the program does; there only its use can be checked. Common Controls 6 still comes
// from the side-by-side store, as the manifest asks, though comctl32 is not imported.
TEST_F(AboutWindow, DllsComeFromTheSystemNeverFromBesideTheProgram) {
    program_.Kill();
    const ScratchFolder planted(L"vellicor-planted");
    PlantBesideCopy(planted, L"planted_version.dll", L"version.dll");
    const std::wstring overrides = L"Software\\Wine\\AppDefaults\\Vellicor.exe\\DllOverrides";
    const SavedValue saved(overrides, L"version");
    WriteValue(overrides, L"version", TextValue(L"native,builtin"));
    {
        VellicorProcess copy(L"", planted.File(L"Vellicor.exe"));
        ASSERT_TRUE(copy.WaitForMainWindow());
        const HWND about = Open(copy);
        ASSERT_NE(nullptr, about);
        EXPECT_EQ(L"Vellicor  2.1 build 20", TextOf(Item(about, L"lblTitle"))) << "the planted version.dll answered";
        const auto modules = LoadedModules(copy.Id());
        EXPECT_TRUE(std::any_of(modules.begin(), modules.end(), [](const std::wstring& path) {
            return path.ends_with(L"\\comctl32.dll") && path.find(L"\\winsxs\\") != std::wstring::npos;
        })) << "no Common Controls 6";
    }
    if (!UnderWine()) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(planted.File(L"planted-version-ran.txt")))
            << "the planted version.dll ran";
    }
}

TEST_F(AboutWindow, CloseBoxEndsItLikeOk) {
    const HWND about = Open();
    ASSERT_NE(nullptr, about);
    ASSERT_TRUE(::PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main_) != FALSE; }));
    EXPECT_TRUE(program_.Running());
}

// Wine hands what explorer is given to winebrowser, which runs the Unix programs listed
// under HKCU\Software\Wine\WineBrowser: a shell script there logs what it was handed.
class LinkHandOver : public AboutWindow {
protected:
    void SetUp() override {
        if (!UnderWine()) GTEST_SKIP() << "needs Wine's browser hand-over";

        folder_.emplace(L"vellicor-links");
        const std::wstring script = folder_->File(L"browser.sh");
        log_ = folder_->File(L"opened.log");
        const std::string log = UnixPathOf(log_);
        wchar_t windows[MAX_PATH]{};
        const std::string windowsFolder = UnixPathOf(std::wstring(windows, ::GetSystemWindowsDirectoryW(windows, MAX_PATH)));
        // Also where it runs: "Windows" for the Windows folder, the folder explorer is
        // started in, and otherwise the folder itself.
        WriteBytes(script, "printf '%s\\n' \"$1\" >> '" + log + "'\n[ \"$(pwd -P)\" = \"$(cd '" + windowsFolder +
                               "' && pwd -P)\" ] && echo Windows > '" + log + ".cwd' || pwd > '" + log + ".cwd'\n");
        const std::string unixScript = UnixPathOf(script);
        ASSERT_FALSE(unixScript.empty());
        const std::wstring command = L"/bin/sh \"" + std::wstring(unixScript.begin(), unixScript.end()) + L"\"";
        for (const wchar_t* value : {L"Browsers", L"Mailers"}) {
            saved_.push_back(std::make_unique<SavedValue>(kBrowserKey, value));
            WriteValue(kBrowserKey, value, TextValue(command));
        }
        AboutWindow::SetUp();
    }

    // A hand-over can still be on its way after a test has seen what it expected (Wine's
    // browser start-up is asynchronous); let the log settle before the next test points
    // the browser setting at another one.
    void TearDown() override {
        if (!log_.empty()) {
            std::size_t seen = Opened().size();
            auto settledSince = std::chrono::steady_clock::now();
            WaitUntil([&] {
                const std::size_t now = Opened().size();
                if (now != seen) {
                    seen = now;
                    settledSince = std::chrono::steady_clock::now();
                }
                return std::chrono::steady_clock::now() - settledSince >= 1s;
            }, 5s);
        }
        saved_.clear();
    }

    std::vector<std::string> Opened() const {
        std::vector<std::string> lines;
        const std::string text = ReadBytes(log_).value_or("");
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }

    std::optional<ScratchFolder> folder_;
    std::wstring log_;
    std::vector<std::unique_ptr<SavedValue>> saved_;
};

TEST_F(LinkHandOver, EachLinkHandsItsExactAddressOverAndTheWindowStaysOpen) {
    const HWND about = Open();
    ASSERT_NE(nullptr, about);
    BringToFront(about);
    const std::pair<int, std::wstring> links[] = {
        {0, ui::links::kPlayerHome},
        {1, ui::links::kForums},
        {2, ui::links::kProjectHome},
        {3, ui::links::kMail},
    };
    std::vector<std::string> expected;
    for (const auto& [index, address] : links) {
        ASSERT_TRUE(ClickWithMouse(Item(about, L"lblLink", index)));
        expected.push_back(Utf8(address));
        EXPECT_TRUE(WaitUntil([&] { return Opened().size() >= expected.size(); }))
            << "nothing was handed over for link " << index;
        EXPECT_TRUE(::IsWindow(about) && ::IsWindowVisible(about)) << "the About window stays open";
        EXPECT_FALSE(::IsWindowEnabled(main_)) << "and modal";
    }
    EXPECT_EQ(expected, Opened());
    EXPECT_EQ("Windows\n", ReadBytes(log_ + L".cwd").value_or("")) << "the folder explorer started in";
}

// A program file named explorer.exe beside Vellicor.exe, as a malicious download could
// leave it: opening a link must run the system's explorer, never that one.
TEST_F(LinkHandOver, AnExplorerPlantedBesideTheProgramIsNeverRun) {
    program_.Kill();
    const ScratchFolder planted(L"vellicor-planted");
    PlantBesideCopy(planted, L"planted_explorer.exe", L"explorer.exe");
    {
        VellicorProcess copy(L"", planted.File(L"Vellicor.exe"));
        ASSERT_TRUE(copy.WaitForMainWindow());
        const HWND about = Open(copy);
        ASSERT_NE(nullptr, about);
        BringToFront(about);
        ASSERT_TRUE(ClickWithMouse(Item(about, L"lblLink", 0)));
        const std::string address = Utf8(ui::links::kPlayerHome);
        EXPECT_TRUE(WaitUntil([&] {
            const auto opened = Opened();
            return std::find(opened.begin(), opened.end(), address) != opened.end();
        })) << "the system's explorer was not reached";
        EXPECT_EQ(std::vector<std::string>{Utf8(ui::links::kPlayerHome)}, Opened());
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(planted.File(L"planted-explorer-ran.txt")))
        << "the planted explorer.exe ran";
}

} // namespace
} // namespace vellicor::e2e
