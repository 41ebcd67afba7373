#include "ui/MainLayout.h"

#include <array>

namespace vellicor::ui {

namespace {

using K = ControlKind;

// name, kind, container, caption, left, top, width, height, tab, tag, initial value
constexpr std::array<ControlDef, 22> kMainLayout{{
    {L"fraTip", K::Frame, L"", L"Vellicor", 3240, 120, 2535, 1455, 19, L""},
    {L"txtTip", K::TextBox, L"fraTip", L"", 120, 240, 2295, 1095, 20, L"", 0, -1, kMultiLine | kReadOnly | kCentered},
    {L"fraOther", K::Frame, L"", L"Other settings", 120, 3360, 3015, 975, 16, L""},
    {L"chkLibReadOnly", K::CheckBox, L"fraOther", L"Media library read-only", 120, 600, 2775, 255, 18,
     L"Prevent XMPlay from modifying the media library", kGrayed},
    {L"chkPlayReadOnly", K::CheckBox, L"fraOther", L"Default playlist read-only", 120, 240, 2775, 255, 17,
     L"Prevent XMPlay from modifying the default (global) playlist", kGrayed},
    {L"cmdExit", K::CommandButton, L"", L"Exit", 5160, 3960, 615, 375, 2, L"Exit. Duh."},
    {L"cmdAbout", K::CommandButton, L"", L"About...", 4200, 3960, 855, 375, 1, L"About Vellicor"},
    {L"cmdRefresh", K::CommandButton, L"", L"Refresh", 3240, 3960, 855, 375, 0,
     L"Reload the settings from the registry"},
    {L"fraTools", K::Frame, L"", L"Tools", 3240, 1680, 2535, 2175, 8, L""},
    {L"cmdKillLib", K::CommandButton, L"fraTools", L"Empty media library", 120, 1200, 2295, 375, 11,
     L"This will delete the xmplay.library file that is used for XMPlay's media library."},
    {L"cmdFixAssoc", K::CommandButton, L"fraTools", L"Fix broken file associations", 120, 240, 2295, 375, 9,
     L"Delete the file association information from the registry."},
    {L"cmdEmptyPlaylist", K::CommandButton, L"fraTools", L"Empty default playlist", 120, 720, 2295, 375, 10,
     L"This replaces the \"xmplay.pls\" file with an empty playlist."},
    {L"cmdKillReg", K::CommandButton, L"fraTools", L"Delete settings from registry", 120, 1680, 2295, 375, 12,
     L"This will delete all XMPlay settings. Note that file & plugin settings are not affected."},
    {L"fraRegistry", K::Frame, L"", L"Registry settings", 120, 120, 3015, 3135, 3, L""},
    {L"chkTenths", K::CheckBox, L"fraRegistry", L"Show tenths of seconds", 120, 2760, 2775, 255, 21,
     L"If enabled XMPlay will show tenths of seconds in the time display", kGrayed},
    {L"chkFlashList", K::CheckBox, L"fraRegistry", L"Flash list time", 120, 1680, 2775, 255, 15,
     L"Flash list time between total playlist length and length of selected tracks", kGrayed},
    {L"chkTitleWarn", K::CheckBox, L"fraRegistry", L"Show title scanning warning", 120, 2040, 2775, 255, 14,
     L"Show \"Title scanning in progress\" warning when closing", kGrayed},
    {L"chkBoost", K::CheckBox, L"fraRegistry", L"Run XMPlay at high priority", 120, 2400, 2775, 255, 13,
     L"Run XMPlay process at high priority. The decoding thread always runs at high priority", kGrayed},
    {L"chkEllipse", K::CheckBox, L"fraRegistry", L"Show ellipsis '...' in playlist panel", 120, 1320, 2775, 255, 7,
     L"Show ellipse '...' after title in playlist panel if the title doesn't fit", kGrayed},
    {L"chkPanel", K::CheckBox, L"fraRegistry", L"Open side panels on skin reload", 120, 960, 2775, 255, 6,
     L"Fully open side panels when skin is reloaded", kGrayed},
    {L"chkNotify", K::CheckBox, L"fraRegistry", L"Enable notifications when in tray", 120, 240, 2775, 255, 4,
     L"Popup track change titles in a bubble when minimised to tray", kGrayed},
    {L"chkVerify", K::CheckBox, L"fraRegistry", L"Verify new files", 120, 600, 2775, 255, 5,
     L"Check all files at startup for dead tracks. Corrupt files are known to crash XMPlay", kGrayed},
}};

} // namespace

std::span<const ControlDef> MainLayout() { return kMainLayout; }

} // namespace vellicor::ui
