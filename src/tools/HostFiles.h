#pragma once

#include "registry/Registry.h"

#include <string>
#include <string_view>

namespace vellicor::tools {

inline constexpr wchar_t kMediaLibraryFile[] = L"xmplay.library";
inline constexpr wchar_t kDefaultPlaylistFile[] = L"xmplay.pls";

// The full path of one of the player's files: the "Install_Dir" text read afresh,
// a backslash, the file name, joined exactly as they are (no normalisation, no
// quoting). Throws the registry's failure when the folder cannot be read, and
// ERROR_INVALID_DATA when "Install_Dir" holds anything but text, or empty text.
std::wstring HostFilePath(const registry::RegistryKey* settingsKey, std::wstring_view fileName);

} // namespace vellicor::tools
