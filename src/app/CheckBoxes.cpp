#include "app/CheckBoxes.h"

#include "tools/HostFiles.h"

#include <array>

namespace vellicor::app {

namespace {

using K = CheckBoxKind;

constexpr std::array<CheckBoxRow, 10> kCheckBoxes{{
    {L"chkNotify", K::InvertedToggle, L"NoTrayTitle"},
    {L"chkVerify", K::InvertedToggle, L"NoCheckDead"},
    {L"chkPanel", K::InvertedToggle, L"NoPanelOpen"},
    {L"chkEllipse", K::InvertedToggle, L"NoListEllipsis"},
    {L"chkFlashList", K::InvertedToggle, L"NoFlashTotal"},
    {L"chkTitleWarn", K::InvertedToggle, L"NoCheckScan"},
    {L"chkBoost", K::PresenceToggle, L"Boost"},
    {L"chkTenths", K::InvertedToggle, L"NoTenths"},
    {L"chkLibReadOnly", K::ProtectedFile, tools::kMediaLibraryFile, true},
    {L"chkPlayReadOnly", K::ProtectedFile, tools::kDefaultPlaylistFile},
}};

} // namespace

std::span<const CheckBoxRow> CheckBoxes() { return kCheckBoxes; }

} // namespace vellicor::app
