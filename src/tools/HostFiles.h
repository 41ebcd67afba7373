#pragma once

#include "platform/FileSystem.h"
#include "registry/Registry.h"

#include <memory>
#include <string>
#include <string_view>

namespace vellicor::tools {

inline constexpr const wchar_t* kMediaLibraryFile = L"xmplay.library";
inline constexpr const wchar_t* kDefaultPlaylistFile = L"xmplay.pls";

// The full path of one of the player's files: the "Install_Dir" text read afresh,
// a backslash, the file name, joined exactly as they are (no normalisation, no
// quoting). Throws the registry's failure when the folder cannot be read, and
// ERROR_INVALID_DATA when "Install_Dir" is not text or not an absolute folder.
std::wstring HostFilePath(const registry::RegistryKey* settingsKey, std::wstring_view fileName);

// Opens the file and makes sure the handle reached a file of the name asked for: a
// link or junction that sends the name on to a file of another name is refused with
// ERROR_ACCESS_DENIED. Folders on the way may be reached any way (a mapped drive, a
// mount point, a short name): only the last component is compared.
std::unique_ptr<platform::OpenFile> OpenChecked(platform::FileSystem& files, const std::wstring& path,
                                                platform::FileAccess access);
// For a file created by a final path: it must be there, not reached through a folder
// changed in the meantime. Refused with ERROR_ACCESS_DENIED.
void CheckReachedPath(platform::OpenFile& file);

} // namespace vellicor::tools
