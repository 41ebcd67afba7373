#pragma once

#include "registry/Registry.h"
#include "tools/Outcome.h"

namespace vellicor::tools {

inline constexpr const wchar_t* kAssociationKeyPath = L"\\HKEY_CLASSES_ROOT\\XMPlay";

// "Fix broken file associations": deletes the player's class key with everything below
// it, and the machine-wide one that this uncovers.
Outcome FixFileAssociations(const registry::RegistryRoot& root);

// "Delete settings from registry": deletes the settings key with everything below it.
Outcome DeleteSettings(const registry::RegistryKey* settingsKey);

} // namespace vellicor::tools
