#pragma once

#include "platform/Dialogs.h"
#include "registry/Registry.h"

namespace vellicor::tools {

inline constexpr const wchar_t* kAssociationKeyPath = L"\\HKEY_CLASSES_ROOT\\XMPlay";

// "Fix broken file associations": deletes the player's class key with everything below
// it, without asking.
void FixFileAssociations(const registry::RegistryRoot& root, platform::Dialogs& dialogs);

// "Delete settings from registry": after confirmation, deletes the settings key with
// everything below it. True when it was deleted and the program should end; a failure
// is reported and the program goes on.
bool DeleteSettings(const registry::RegistryKey* settingsKey, platform::Dialogs& dialogs);

} // namespace vellicor::tools
