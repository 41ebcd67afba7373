#pragma once

#include "platform/FileSystem.h"
#include "registry/Registry.h"
#include "tools/Outcome.h"

#include <string_view>

namespace vellicor::tools {

// "Empty media library": deletes xmplay.library.
Outcome EmptyMediaLibrary(const registry::RegistryKey* settingsKey, platform::FileSystem& files);

// "Empty default playlist": replaces xmplay.pls with an empty playlist. The new file is
// written beside the old one and moved over it in one step, so on any failure the old
// playlist stays exactly as it was and the new one is gone. A missing or read-only
// playlist is refused before anything is created.
Outcome EmptyDefaultPlaylist(const registry::RegistryKey* settingsKey, platform::FileSystem& files);

// The empty playlist, byte for byte.
inline constexpr std::string_view kEmptyPlaylist = "[playlist]\r\nnumberofentries=0\r\n";

} // namespace vellicor::tools
