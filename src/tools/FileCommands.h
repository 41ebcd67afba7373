#pragma once

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"

#include <string_view>

namespace vellicor::tools {

// "Empty media library": after confirmation, deletes xmplay.library. True when it did.
bool EmptyMediaLibrary(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                       platform::Dialogs& dialogs);

// "Empty default playlist": after confirmation, replaces xmplay.pls with an empty
// playlist. The new file is written beside the old one and moved over it in one step,
// so on any failure the old playlist stays exactly as it was and the new one is gone.
void EmptyDefaultPlaylist(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                          platform::Dialogs& dialogs);

// The empty playlist, byte for byte.
inline constexpr std::string_view kEmptyPlaylist = "[playlist]\r\nnumberofentries=0\r\n";

} // namespace vellicor::tools
