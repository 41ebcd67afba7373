#include "tools/RegistryToggles.h"

#include "core/ErrorCodes.h"
#include "core/ErrorState.h"
#include "core/Failure.h"

#include <string>

namespace vellicor::tools {

namespace {

constexpr std::int32_t kRegDwordType = 4;

registry::RegistryValues ValuesOf(const registry::RegistryKey* settingsKey) {
    if (!settingsKey) throw SystemFailure(errors::kInvalidHandle);
    return settingsKey->Values();
}

} // namespace

std::optional<bool> ReadToggle(const registry::RegistryKey* settingsKey, std::wstring_view valueName, bool presence) {
    ErrorState error;
    std::int32_t number = 0;
    error.Try([&] { number = ValuesOf(settingsKey).Item(std::wstring(valueName)).Value().AsNumber(); });
    if (presence) return !error.Failed();
    if (error.Failed() || (number != 0 && number != 1)) return std::nullopt;
    return number == 0;
}

bool WriteToggle(const registry::RegistryKey* settingsKey, std::wstring_view valueName, bool presence, bool on) {
    const std::wstring name(valueName);
    ErrorState error;
    if (presence && !on) return error.Try([&] { ValuesOf(settingsKey).Remove(name); });
    const std::int16_t number = presence || !on ? 1 : 0;
    return error.Try([&] { ValuesOf(settingsKey).Item(name).SetValue(number); }) ||
           error.Try([&] { ValuesOf(settingsKey).Add(name, number, kRegDwordType); });
}

} // namespace vellicor::tools
