#pragma once

// What the end-to-end tests share: the main window's controls, the eight registry toggles
// as a person must find them, and the texts that recur.

#include "e2e/Driver.h"
#include "ui/AboutLayout.h"
#include "ui/MainLayout.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace vellicor::e2e {

// The main window's controls come from the program's own layout: the tests check that the
// real window stands, reads and moves as that table says.
using ui::ControlDef;
using Kind = ui::ControlKind;

// A control's creation index, by name (a control array's member also by its index), in
// the main window's layout or the one given.
inline int Index(std::wstring_view name, int member = -1, std::span<const ControlDef> layout = ui::MainLayout()) {
    const auto found = std::find_if(layout.begin(), layout.end(),
                                    [&](const ControlDef& row) { return row.name == name && row.index == member; });
    if (found == layout.end()) throw std::invalid_argument("no control " + std::string(name.begin(), name.end()));
    return int(found - layout.begin());
}
inline const ControlDef& Row(std::wstring_view name) { return ui::MainLayout()[std::size_t(Index(name))]; }
inline HWND ControlOf(Program& program, std::wstring_view name) { return program.Control(Index(name)); }
// A main window's control by name: its state, and a click that returns once handled.
inline int StateOf(Program& program, std::wstring_view name) { return program.State(ControlOf(program, name)); }
inline bool ClickOn(Program& program, std::wstring_view name) { return program.Click(ControlOf(program, name)); }
inline HWND AboutControlOf(Program& program, HWND about, std::wstring_view name, int member = -1) {
    return program.Control(Index(name, member, ui::AboutLayout()), about);
}
// Presses "About..." and waits for the About window.
inline HWND OpenAbout(Program& program) {
    return program.PostClick(ControlOf(program, L"cmdAbout")) ? program.WaitForWindow(L"About Vellicor") : nullptr;
}
inline int Pixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }
// A control's rectangle in its window's client pixels at the density, each edge and size
// rounded alone; inside a frame of the main window, from the frame's corner.
inline RECT PixelRect(const ControlDef& row, int dpi) {
    const int left = row.left + (row.container.empty() ? 0 : Row(row.container).left),
              top = row.top + (row.container.empty() ? 0 : Row(row.container).top);
    return RECT{Pixels(left, dpi), Pixels(top, dpi), Pixels(left, dpi) + Pixels(row.width, dpi),
                Pixels(top, dpi) + Pixels(row.height, dpi)};
}

// The registry toggles, top to bottom: the box, its value, and whether the box shows the
// value's presence rather than its number (0 checked, 1 unchecked).
struct Toggle {
    std::wstring_view box;
    const wchar_t* value;
    bool presence = false;
};
inline constexpr Toggle kToggles[] = {
    {L"chkNotify", L"NoTrayTitle"},     {L"chkVerify", L"NoCheckDead"},     {L"chkPanel", L"NoPanelOpen"},
    {L"chkEllipse", L"NoListEllipsis"}, {L"chkFlashList", L"NoFlashTotal"}, {L"chkTitleWarn", L"NoCheckScan"},
    {L"chkBoost", L"Boost", true},      {L"chkTenths", L"NoTenths"},
};

// The texts that more than one test meets.
inline std::wstring CouldNotFind(const std::wstring& path, bool library) {
    return L"Could not find \"" + path +
           (library ? L"\r\n\r\nNote that this setting only works with a global playlist" : L"");
}
inline const std::wstring kEmptyLibrary = L"Error emptying media library";
inline const std::wstring kEmptyPlaylist = L"Error emptying default playlist";
inline const std::string kEmptyPlaylistBytes = "[playlist]\r\nnumberofentries=0\r\n";
inline const std::string kFullPlaylistBytes = "[playlist]\r\nFile1=C:\\Music\\a.mp3\r\nnumberofentries=1\r\n";

// What emptying the media library (cmdKillLib) or the default playlist shows once its
// question is answered with OK; the question is checked on the way.
inline Shown Confirmed(Program& program, std::wstring_view button) {
    std::vector<Shown> shown = program.Converse(ControlOf(program, button), true);
    shown.resize(2); // what never came shows as no box
    const std::wstring what = button == L"cmdKillLib" ? L"media library" : L"default playlist";
    EXPECT_EQ(Question(L"Warning: the " + what + L" will be emptied. Are you sure you want to continue?"), shown[0]);
    return shown[1];
}

// The settings key, an install folder and the program, for the tests of the tools.
struct Player {
    ScratchSettings settings;
    ScratchFolder folder{L"vellicor-e2e"};
    std::wstring library, playlist;

    explicit Player(bool withFiles = true) {
        Folder(folder.Path());
        if (withFiles) WriteFiles();
    }
    // The library and a playlist with one entry, both writable, in folders made where missing.
    void WriteFiles() const {
        for (auto at = library.find_first_of(L"\\/", folder.Path().size()); at != std::wstring::npos;
             at = library.find_first_of(L"\\/", at + 1))
            ::CreateDirectoryW(LiteralPath(library.substr(0, at)).c_str(), nullptr);
        WriteBytes(library, "library");
        WriteBytes(playlist, kFullPlaylistBytes);
    }
    // Points Install_Dir at the folder written as given; the files are where it leads.
    void Folder(const std::wstring& installDir) {
        settings.Set(L"Install_Dir", Text(installDir));
        library = installDir + L"\\xmplay.library";
        playlist = installDir + L"\\xmplay.pls";
    }
};

} // namespace vellicor::e2e
