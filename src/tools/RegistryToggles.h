#pragma once

#include "registry/Registry.h"

#include <optional>
#include <string_view>

namespace vellicor::tools {

// A toggle's value reads one of two ways. Inverted (the value's name starts with "No"): a
// stored 0 means on and 1 off. By presence: on while the value exists and reads as a
// number; off deletes it.

// Whether the toggle is on; empty where that cannot be told (an inverted toggle's value
// missing, unreadable, or a number other than 0 and 1). settingsKey may be null, in
// which case every registry step fails.
std::optional<bool> ReadToggle(const registry::RegistryKey* settingsKey, std::wstring_view valueName, bool presence);

// Stores the toggle's state: a number through the existing value (created as a
// REG_DWORD only where writing through it failed), or the presence value deleted. False
// when nothing was stored.
bool WriteToggle(const registry::RegistryKey* settingsKey, std::wstring_view valueName, bool presence, bool on);

} // namespace vellicor::tools
