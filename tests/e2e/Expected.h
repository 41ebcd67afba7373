#pragma once

// What a person must see of Vellicor, written down once for the end-to-end tests: the
// main window's controls, the eight registry toggles, and the texts that recur.

#include "e2e/Driver.h"

#include <string>
#include <string_view>
#include <stdexcept>

namespace vellicor::e2e {

enum class Kind { Frame, TextBox, CheckBox, Button };

// Geometry in twips, inside the frame named (or the client area); tab position; tip.
struct Expected {
    std::wstring_view name;
    Kind kind;
    std::wstring_view frame;
    std::wstring_view caption;
    int left, top, width, height, tab;
    std::wstring_view tip;
};

// The main window's controls in the order the program creates them: the refresh sweep
// walks them in this order, and their ids follow it.
inline constexpr Expected kMain[] = {
    {L"fraTip", Kind::Frame, L"", L"Vellicor", 3240, 120, 2535, 1455, 19, L""},
    {L"txtTip", Kind::TextBox, L"fraTip", L"", 120, 240, 2295, 1095, 20, L""},
    {L"fraOther", Kind::Frame, L"", L"Other settings", 120, 3360, 3015, 975, 16, L""},
    {L"chkLibReadOnly", Kind::CheckBox, L"fraOther", L"Media library read-only", 120, 600, 2775, 255, 18, L"Prevent XMPlay from modifying the media library"},
    {L"chkPlayReadOnly", Kind::CheckBox, L"fraOther", L"Default playlist read-only", 120, 240, 2775, 255, 17, L"Prevent XMPlay from modifying the default (global) playlist"},
    {L"cmdExit", Kind::Button, L"", L"Exit", 5160, 3960, 615, 375, 2, L"Exit. Duh."},
    {L"cmdAbout", Kind::Button, L"", L"About...", 4200, 3960, 855, 375, 1, L"About Vellicor"},
    {L"cmdRefresh", Kind::Button, L"", L"Refresh", 3240, 3960, 855, 375, 0, L"Reload the settings from the registry"},
    {L"fraTools", Kind::Frame, L"", L"Tools", 3240, 1680, 2535, 2175, 8, L""},
    {L"cmdKillLib", Kind::Button, L"fraTools", L"Empty media library", 120, 1200, 2295, 375, 11, L"This will delete the xmplay.library file that is used for XMPlay's media library."},
    {L"cmdFixAssoc", Kind::Button, L"fraTools", L"Fix broken file associations", 120, 240, 2295, 375, 9, L"Delete the file association information from the registry."},
    {L"cmdEmptyPlaylist", Kind::Button, L"fraTools", L"Empty default playlist", 120, 720, 2295, 375, 10, L"This replaces the \"xmplay.pls\" file with an empty playlist."},
    {L"cmdKillReg", Kind::Button, L"fraTools", L"Delete settings from registry", 120, 1680, 2295, 375, 12, L"This will delete all XMPlay settings. Note that file & plugin settings are not affected."},
    {L"fraRegistry", Kind::Frame, L"", L"Registry settings", 120, 120, 3015, 3135, 3, L""},
    {L"chkTenths", Kind::CheckBox, L"fraRegistry", L"Show tenths of seconds", 120, 2760, 2775, 255, 21, L"If enabled XMPlay will show tenths of seconds in the time display"},
    {L"chkFlashList", Kind::CheckBox, L"fraRegistry", L"Flash list time", 120, 1680, 2775, 255, 15, L"Flash list time between total playlist length and length of selected tracks"},
    {L"chkTitleWarn", Kind::CheckBox, L"fraRegistry", L"Show title scanning warning", 120, 2040, 2775, 255, 14, L"Show \"Title scanning in progress\" warning when closing"},
    {L"chkBoost", Kind::CheckBox, L"fraRegistry", L"Run XMPlay at high priority", 120, 2400, 2775, 255, 13, L"Run XMPlay process at high priority. The decoding thread always runs at high priority"},
    {L"chkEllipse", Kind::CheckBox, L"fraRegistry", L"Show ellipsis '...' in playlist panel", 120, 1320, 2775, 255, 7, L"Show ellipse '...' after title in playlist panel if the title doesn't fit"},
    {L"chkPanel", Kind::CheckBox, L"fraRegistry", L"Open side panels on skin reload", 120, 960, 2775, 255, 6, L"Fully open side panels when skin is reloaded"},
    {L"chkNotify", Kind::CheckBox, L"fraRegistry", L"Enable notifications when in tray", 120, 240, 2775, 255, 4, L"Popup track change titles in a bubble when minimised to tray"},
    {L"chkVerify", Kind::CheckBox, L"fraRegistry", L"Verify new files", 120, 600, 2775, 255, 5, L"Check all files at startup for dead tracks. Corrupt files are known to crash XMPlay"},
};

inline constexpr int kMainWidth = 5895, kMainHeight = 4455; // client area, twips

inline int Index(std::wstring_view name) {
    const auto found = std::find_if(std::begin(kMain), std::end(kMain), [&](const Expected& row) { return row.name == name; });
    if (found == std::end(kMain)) throw std::invalid_argument("no control " + std::string(name.begin(), name.end()));
    return int(found - std::begin(kMain));
}
inline const Expected& Row(std::wstring_view name) { return kMain[Index(name)]; }
inline HWND ControlOf(Program& program, std::wstring_view name) { return program.Control(Index(name)); }
inline int Pixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }
// A rectangle in twips as client pixels at the density: each edge and size rounded alone.
inline RECT PixelRect(int left, int top, int width, int height, int dpi) {
    return RECT{Pixels(left, dpi), Pixels(top, dpi), Pixels(left, dpi) + Pixels(width, dpi), Pixels(top, dpi) + Pixels(height, dpi)};
}
// A main window control's rectangle in the client area.
inline RECT PixelRect(const Expected& row, int dpi) {
    const int left = row.left + (row.frame.empty() ? 0 : Row(row.frame).left), top = row.top + (row.frame.empty() ? 0 : Row(row.frame).top);
    return PixelRect(left, top, row.width, row.height, dpi);
}

// The registry toggles, top to bottom: the box, its value, and whether the box shows the
// value's presence rather than its number (0 checked, 1 unchecked).
struct Toggle {
    std::wstring_view box;
    const wchar_t* value;
    bool presence = false;
};
inline constexpr Toggle kToggles[] = {
    {L"chkNotify", L"NoTrayTitle"}, {L"chkVerify", L"NoCheckDead"},   {L"chkPanel", L"NoPanelOpen"},
    {L"chkEllipse", L"NoListEllipsis"}, {L"chkFlashList", L"NoFlashTotal"}, {L"chkTitleWarn", L"NoCheckScan"},
    {L"chkBoost", L"Boost", true},  {L"chkTenths", L"NoTenths"},
};

// The texts that more than one test meets.
inline std::wstring CouldNotFind(const std::wstring& path, bool library) {
    return L"Could not find \"" + path + (library ? L"\r\n\r\nNote that this setting only works with a global playlist" : L"");
}
inline const std::wstring kEmptyLibrary = L"Error emptying media library";
inline const std::wstring kEmptyPlaylist = L"Error emptying default playlist";
inline const std::wstring kFixAssociations = L"Error fixing file associations";
inline const std::wstring kDeleteSettings = L"Error deleting settings";
inline const std::string kEmptyPlaylistBytes = "[playlist]\r\nnumberofentries=0\r\n";
inline const std::string kFullPlaylistBytes = "[playlist]\r\nFile1=C:\\Music\\a.mp3\r\nnumberofentries=1\r\n";

// The settings key, an install folder and the program, for the tests of the tools.
struct Player {
    ScratchSettings settings;
    ScratchFolder folder{L"vellicor-e2e"};
    std::wstring library = folder.File(L"xmplay.library");
    std::wstring playlist = folder.File(L"xmplay.pls");

    explicit Player(bool withFiles = true) {
        Folder(folder.Path());
        if (withFiles) WriteFiles();
    }
    // The library and a playlist with one entry, both writable.
    void WriteFiles() const { WriteBytes(library, "library"), WriteBytes(playlist, kFullPlaylistBytes); }
    // Points Install_Dir at the folder written as given; the files are where it leads.
    void Folder(const std::wstring& installDir) {
        settings.Set(L"Install_Dir", Text(installDir));
        library = installDir + L"\\xmplay.library", playlist = installDir + L"\\xmplay.pls";
    }
};

} // namespace vellicor::e2e
