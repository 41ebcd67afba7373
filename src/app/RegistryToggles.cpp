#include "app/RegistryToggles.h"

#include "core/ErrorCodes.h"
#include "core/ErrorState.h"
#include "core/Failure.h"

#include <array>
#include <string>

namespace vellicor::app {

namespace {

constexpr std::array<ToggleDef, 8> kToggles{{
    {L"chkNotify", L"NoTrayTitle", ToggleKind::Inverted},
    {L"chkVerify", L"NoCheckDead", ToggleKind::Inverted},
    {L"chkPanel", L"NoPanelOpen", ToggleKind::Inverted},
    {L"chkEllipse", L"NoListEllipsis", ToggleKind::Inverted},
    {L"chkFlashList", L"NoFlashTotal", ToggleKind::Inverted},
    {L"chkTitleWarn", L"NoCheckScan", ToggleKind::Inverted},
    {L"chkBoost", L"Boost", ToggleKind::Presence},
    {L"chkTenths", L"NoTenths", ToggleKind::Inverted},
}};

constexpr std::int32_t kRegDwordType = 4;

registry::RegistryValues ValuesOf(const registry::RegistryKey* settingsKey) {
    if (!settingsKey) throw SystemFailure(errors::kInvalidHandle);
    return settingsKey->Values();
}

// Writes through the existing value; only when that fails, creates it as a REG_DWORD.
// False when neither worked.
bool WriteNumber(const std::wstring& name, std::int16_t number, const registry::RegistryKey* settingsKey) {
    ErrorState error;
    return error.Try([&] { ValuesOf(settingsKey).Item(name).SetValue(number); }) ||
           error.Try([&] { ValuesOf(settingsKey).Add(name, number, kRegDwordType); });
}

void Load(const ToggleDef& toggle, ui::Control& box, const registry::RegistryKey* settingsKey) {
    const std::wstring name(toggle.valueName);
    ErrorState error;
    std::int32_t number = 0;
    error.Try([&] { number = ValuesOf(settingsKey).Item(name).Value().AsNumber(); });

    if (toggle.kind == ToggleKind::Presence) {
        box.SetValue(error.Failed() ? ui::kUnchecked : ui::kChecked);
        return;
    }
    if (error.Failed()) return;
    if (number == 0) box.SetValue(ui::kChecked);
    else if (number == 1) box.SetValue(ui::kUnchecked);
}

} // namespace

std::span<const ToggleDef> RegistryToggles() { return kToggles; }

void RunToggle(const ToggleDef& toggle, ui::Control& box, const registry::RegistryKey* settingsKey) {
    const std::wstring name(toggle.valueName);
    const bool inverted = toggle.kind == ToggleKind::Inverted;
    bool stored = true;
    switch (box.Value()) {
    case ui::kChecked:
        stored = WriteNumber(name, inverted ? 0 : 1, settingsKey);
        break;
    case ui::kUnchecked:
        if (inverted) {
            stored = WriteNumber(name, 1, settingsKey);
        } else {
            ErrorState error;
            stored = error.Try([&] { ValuesOf(settingsKey).Remove(name); });
        }
        break;
    case ui::kGrayed:
        Load(toggle, box, settingsKey);
        break;
    default:
        break;
    }
    if (stored) return;
    // The box must not claim what was not stored: it shows what is, as a load would.
    box.SetValue(ui::kGrayed);
    Load(toggle, box, settingsKey);
}

} // namespace vellicor::app
