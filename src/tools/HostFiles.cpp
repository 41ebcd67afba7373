#include "tools/HostFiles.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

namespace vellicor::tools {

std::wstring HostFilePath(const registry::RegistryKey* settingsKey, std::wstring_view fileName) {
    if (!settingsKey) throw SystemFailure(errors::kInvalidHandle);
    std::wstring path = settingsKey->Values().Item(L"Install_Dir").Value().AsText();
    // An empty folder names no folder: joined, it would point at the root of whatever
    // drive is current, where no file is the player's.
    if (path.empty()) throw SystemFailure(errors::kInvalidData);
    path += L'\\';
    path += fileName;
    return path;
}

} // namespace vellicor::tools
