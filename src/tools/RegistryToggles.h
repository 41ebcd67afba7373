#pragma once

#include "registry/Registry.h"

#include <optional>
#include <string_view>

namespace vellicor::tools {

// How a toggle's value reads. Inverted: the value's name starts with "No", so a stored 0
// means on and 1 off. Presence: on while the value exists and reads as a number; off
// deletes it.
enum class ToggleKind { Inverted, Presence };

// Whether the toggle is on; empty where that cannot be told (an inverted toggle's value
// missing, unreadable, or a number other than 0 and 1). settingsKey may be null, in
// which case every registry step fails.
std::optional<bool> ReadToggle(const registry::RegistryKey* settingsKey, std::wstring_view valueName, ToggleKind kind);

// Stores the toggle's state: a number through the existing value (created as a
// REG_DWORD only where writing through it failed), or the presence value deleted. False
// when nothing was stored.
bool WriteToggle(const registry::RegistryKey* settingsKey, std::wstring_view valueName, ToggleKind kind, bool on);

} // namespace vellicor::tools
