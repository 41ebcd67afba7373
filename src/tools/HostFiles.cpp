#include "tools/HostFiles.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "core/Paths.h"

#include <algorithm>
#include <iterator>

namespace vellicor::tools {

namespace {

using paths::IsDrivePath;
using paths::IsSeparator;

// "server\share", each part non-empty, ending there or at a separator.
bool IsServerShare(std::wstring_view path) {
    const auto server = std::find_if(path.begin(), path.end(), IsSeparator);
    if (server == path.begin() || server == path.end()) return false;
    const auto shareStart = std::next(server);
    return std::find_if(shareStart, path.end(), IsSeparator) != shareStart;
}

// Where the player can be installed: a drive's folder, a network share, or either of
// them in the "\\?\" form. Anything else would be looked up from whatever folder is
// current ("XMPlay", "C:XMPlay", "\XMPlay", an unexpanded "%ProgramFiles%\XMPlay"),
// or names a device rather than a folder ("\\.\", "\??\", "\\?\GLOBALROOT\",
// "\\?\Volume{...}\").
bool IsAbsoluteFolder(std::wstring_view folder) {
    if (folder.starts_with(L"\\\\?\\")) {
        const std::wstring_view rest = folder.substr(4);
        if (rest.starts_with(L"UNC\\")) return IsServerShare(rest.substr(4));
        return IsDrivePath(rest) && rest[2] == L'\\';
    }
    if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
        // "\\.\" and "\\?\" written with forward slashes are device paths, too.
        const std::wstring_view rest = folder.substr(2);
        if (rest.size() >= 1 && (rest[0] == L'.' || rest[0] == L'?') && (rest.size() == 1 || IsSeparator(rest[1]))) {
            return false;
        }
        return IsServerShare(rest);
    }
    return IsDrivePath(folder);
}

std::wstring_view LastComponent(std::wstring_view path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

// The program's own file names are ASCII; folding only ASCII never takes two different
// names for one. Paths compared whole are two the system gave.
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}

} // namespace

std::wstring HostFilePath(const registry::RegistryKey* settingsKey, std::wstring_view fileName) {
    if (!settingsKey) throw SystemFailure(errors::kInvalidHandle);
    std::wstring path = settingsKey->Values().Item(L"Install_Dir").Value().AsText();
    if (!IsAbsoluteFolder(path)) throw SystemFailure(errors::kInvalidData);
    path += L'\\';
    path += fileName;
    return path;
}

std::unique_ptr<platform::OpenFile> OpenChecked(platform::FileSystem& files, const std::wstring& path,
                                                platform::FileAccess access) {
    auto file = files.Open(path, access);
    if (!SameNameIgnoringCase(LastComponent(file->FinalPath()), LastComponent(path))) {
        throw SystemFailure(errors::kAccessDenied);
    }
    return file;
}

void CheckReachedPath(platform::OpenFile& file) {
    if (!SameNameIgnoringCase(file.FinalPath(), file.Path())) throw SystemFailure(errors::kAccessDenied);
}

} // namespace vellicor::tools
