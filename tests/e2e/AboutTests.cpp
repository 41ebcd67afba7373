// The About window, opened from the real main window and worked from outside; what its
// links hand over; and the program file's version block it takes its version from.
#include "e2e/Expected.h"
#include "win32/AboutWindow.h"

#include <list>
#include <psapi.h>
#include <shlwapi.h>

namespace vellicor::e2e {
namespace {

const std::wstring kDescription =
    L"A utility for mangling some advanced and hidden \r\nXMPlay settings.\r\n\r\n"
    L"Designed to work with XMPlay 3.2, but some settings \r\nstill work with earlier versions.\r\n\r\n"
    L"Known bugs and limitations:\r\n- The playlist mangling stuff only works with global \r\nplaylists, not per-user "
    L"ones\r\n\r\n"
    L"Need help? If it's a question to do with XMPlay, then I \r\nwould recommend trying the forums first. If it's a "
    L"question \r\n"
    L"about this utility, then e-mail me.\r\n\r\nRemember that this utility has not been extensively \r\n"
    L"tested, and I cannot and will not take any responsibility \r\nfor any expenses you may have incidental or "
    L"otherwise \r\n"
    L"directly or indirectly in connection with any aspect of this \r\nutility.</lawyer-speak>\r\n\r\n"
    L"  ~ The Vellicor developers (vellicor on the forums)\r\n";
// What lblLink(0) to lblLink(3) hand over, a line each: explorer's folder, and the address.
const std::string kOpened = "Windows https://www.un4seen.com/xmplay.html\n"
                            "Windows https://www.un4seen.com/forum/\n"
                            "Windows https://vellicor.invalid/\n"
                            "Windows mailto:vellicor@vellicor.invalid?subject=Vellicor\n";

TEST(About, OpensModalWithItsTitleAndTextAndClosesBackToTheMainWindow) {
    ScratchSettings settings;
    Program program;
    const HWND main = program.Main();
    // OK, Enter, Esc and the close box close it; Enter and Esc from inside the text too,
    // which sees the keys first. Every opening shows the version once.
    const auto inText = [&](HWND about) {
        return PressKey(VK_TAB, true) &&
               WaitUntil([&] { return FocusOf(about) == AboutControlOf(program, about, L"txtDesc"); });
    };
    const std::function<bool(HWND)> closes[] = {
        [&](HWND) { return PressKey(VK_RETURN); },
        [&](HWND) { return PressKey(VK_ESCAPE); },
        [&](HWND about) { return inText(about) && PressKey(VK_RETURN); },
        [&](HWND about) { return inText(about) && PressKey(VK_ESCAPE); },
        [&](HWND about) { return ::PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE; },
        [&](HWND about) { return program.PostClick(AboutControlOf(program, about, L"cmdOK")); },
    };
    for (const auto& close : closes) {
        const HWND about = OpenAbout(program);
        ASSERT_TRUE(about);
        EXPECT_EQ(main, ::GetWindow(about, GW_OWNER));
        EXPECT_FALSE(::IsWindowEnabled(main)) << "the main window takes no input meanwhile";
        // The title carries the version, the text the description above; where they stand
        // the main window's tests check.
        EXPECT_EQ(L"Vellicor  2.1 build 20", TextOf(AboutControlOf(program, about, L"lblTitle")));
        EXPECT_EQ(kDescription, TextOf(AboutControlOf(program, about, L"txtDesc")));
        EXPECT_TRUE(BringToFront(about));
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == AboutControlOf(program, about, L"cmdOK"); }))
            << "the focus starts on OK";
        // The first time: Tab visits OK, the icon and the text, never the links; the arrows
        // go nowhere.
        if (&close == closes) {
            for (const auto& [key, name] : {std::pair{VK_TAB, L"picIcon"},
                                            {VK_RIGHT, L"picIcon"},
                                            {VK_TAB, L"txtDesc"},
                                            {VK_TAB, L"cmdOK"},
                                            {VK_DOWN, L"cmdOK"},
                                            {VK_UP, L"cmdOK"}}) {
                EXPECT_TRUE(PressKey(WORD(key)) && StaysOn(about, AboutControlOf(program, about, name)))
                    << "key " << key << " to " << name;
            }
        }
        ASSERT_TRUE(close(about));
        EXPECT_TRUE(WaitUntil(
            [&] { return !::IsWindow(about) && ::IsWindowEnabled(main) && ::GetForegroundWindow() == main; }));
    }
}

// A copy of the program with an explorer.exe and a version.dll planted beside it, as a
// malicious download could leave them (the planted explorer is no program at all, so that
// an address handed to it goes nowhere), and Wine's loader told to prefer such a DLL to its
// own, as Windows does for every DLL that is not one of its known DLLs. Each link hands
// its exact address to the system's explorer, started in the Windows folder, and the
// window stays open and modal; the version comes from the system's version.dll and
// Common Controls 6 from the side-by-side store. Wine hands what explorer is given to
// winebrowser, which runs the Unix programs listed under HKCU\Software\Wine\WineBrowser:
// a shell script there logs where it runs ("Windows" for the Windows folder) and what it
// is handed (on Windows the links are not clicked: a real browser would open). Wine's own
// user32 imports version.dll, so under Wine the planted one is loaded at start whatever the
// program does: only its use can be checked there; on Windows it is never loaded. Once
// started, the program looks for a DLL named bare in the system folder only: asked to
// load one from a thread of its own, it does not take the copy planted beside it.
TEST(About, LinksAndTheVersionComeFromTheSystemNeverFromBesideTheProgram) {
    ScratchSettings settings;
    ScratchFolder planted(L"vellicor-planted");
    const std::wstring log = planted.File(L"opened.log");
    const bool wine = UnderWine();
    std::list<SavedValue> saved;
    if (wine) {
        wchar_t windows[MAX_PATH]{};
        WriteBytes(planted.File(L"browser.sh"),
                   "[ \"$(pwd -P)\" = \"$(cd '" +
                       UnixPathOf(std::wstring(windows, ::GetSystemWindowsDirectoryW(windows, MAX_PATH))) +
                       "' && pwd -P)\" ] && where=Windows || where=$(pwd)\nprintf '%s %s\\n' \"$where\" \"$1\" >> '" +
                       UnixPathOf(log) + "'\n");
        const std::string script = "/bin/sh \"" + UnixPathOf(planted.File(L"browser.sh")) + "\"";
        for (const wchar_t* list : {L"Browsers", L"Mailers"})
            saved.emplace_back(L"Software\\Wine\\WineBrowser", list, Text(std::wstring(script.begin(), script.end())));
        saved.emplace_back(L"Software\\Wine\\AppDefaults\\Vellicor.exe\\DllOverrides", L"version",
                           Text(L"native,builtin"));
    }
    for (const wchar_t* name : {L"explorer.exe", L"version.dll", L"planted_version.dll"})
        ASSERT_TRUE(::CopyFileW((OwnFolder() + L"planted_version.dll").c_str(), planted.File(name).c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(VellicorPath().c_str(), planted.File(L"Vellicor.exe").c_str(), FALSE));
    const auto opened = [&] { return ReadBytes(log).value_or(""); };
    {
        Program copy(planted.File(L"Vellicor.exe"));
        const HWND about = OpenAbout(copy);
        ASSERT_TRUE(about && BringToFront(about));
        EXPECT_EQ(L"Vellicor  2.1 build 20", TextOf(AboutControlOf(copy, about, L"lblTitle")))
            << "the planted version.dll answered";
        const auto loaded = [&](const wchar_t* folder, const wchar_t* file) { // a module whose path holds both
            HMODULE modules[512]{};
            DWORD bytes = 0;
            ::EnumProcessModules(copy.Process(), modules, sizeof modules, &bytes);
            return std::any_of(modules, modules + bytes / sizeof(HMODULE), [&](HMODULE module) {
                wchar_t path[MAX_PATH]{};
                const std::wstring name(path, ::GetModuleFileNameExW(copy.Process(), module, path, MAX_PATH));
                return ::StrStrIW(name.c_str(), folder) && ::StrStrIW(name.c_str(), file);
            });
        };
        EXPECT_TRUE(loaded(L"\\winsxs\\", L"\\comctl32.dll")) << "no Common Controls 6";
        const auto loadsPlanted = [&](const std::wstring& name) { // asked from a thread of the program's own
            void* const text =
                ::VirtualAllocEx(copy.Process(), nullptr, 2 * name.size() + 2, MEM_COMMIT, PAGE_READWRITE);
            const auto load =
                win32::LibraryFunction<LPTHREAD_START_ROUTINE>(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW");
            const UniqueKernelHandle thread(
                text && ::WriteProcessMemory(copy.Process(), text, name.c_str(), 2 * name.size() + 2, nullptr)
                    ? ::CreateRemoteThread(copy.Process(), nullptr, 0, load, text, 0, nullptr)
                    : nullptr);
            return thread && ::WaitForSingleObject(thread.Get(), DWORD(kPatience.count())) == WAIT_OBJECT_0 &&
                   loaded(L"vellicor-planted", L"\\planted_version.dll");
        };
        EXPECT_FALSE(loadsPlanted(L"planted_version.dll")) << "loaded by its bare name from beside the program";
        EXPECT_TRUE(loadsPlanted(planted.File(L"planted_version.dll"))) << "not even by its full path";
        EXPECT_TRUE(wine || !loaded(L"vellicor-planted", L"\\version.dll")) << "the planted version.dll was loaded";
        if (!wine) return;       // Windows' explorer would open the addresses in a real browser
        std::size_t handles = 0; // after the first hand-over, which may load what later ones reuse
        for (int link = 0; link < 4; ++link) {
            ASSERT_TRUE(ClickAt(AboutControlOf(copy, about, L"lblLink", link)));
            EXPECT_TRUE(WaitUntil([&] { return std::ranges::count(opened(), '\n') > link; }))
                << "nothing handed over for link " << link;
            EXPECT_TRUE(::IsWindowVisible(about) && !::IsWindowEnabled(copy.Main()));
            if (link == 0) handles = copy.HandleCount();
        }
        EXPECT_TRUE(handles > 0 && copy.HandleCount() <= handles)
            << "the started explorer's handles are kept (or none could be counted)";
        EXPECT_EQ(kOpened, opened());
    }
}

TEST(VersionBlock, CarriesTheVersionAndItsLanguage) {
    DWORD ignored = 0;
    std::vector<BYTE> block(::GetFileVersionInfoSizeW(VellicorPath().c_str(), &ignored));
    void* data = nullptr;
    UINT length = 0;
    ASSERT_TRUE(!block.empty() && ::GetFileVersionInfoW(VellicorPath().c_str(), 0, DWORD(block.size()), block.data()) &&
                ::VerQueryValueW(block.data(), L"\\", &data, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    EXPECT_EQ((std::array<DWORD, 4>{0x20001, 20, 0x20001, 20}),
              (std::array{fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                          fixed->dwProductVersionLS}));
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &data, &length) && length >= 4);
    EXPECT_EQ((std::array<WORD, 2>{0x0409, 1200}),
              (std::array{static_cast<WORD*>(data)[0], static_cast<WORD*>(data)[1]}));
    // Where there is no block to read, the About title keeps its caption alone.
    for (const wchar_t* file : {L"planted_version.dll", L"missing.exe"})
        EXPECT_FALSE(win32::ReadFileVersion(OwnFolder() + file)) << file;
}

} // namespace
} // namespace vellicor::e2e
