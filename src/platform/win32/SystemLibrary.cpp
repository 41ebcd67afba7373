#include "platform/win32/SystemLibrary.h"

#include <string>

namespace vellicor::platform::win32 {

namespace {

// Empty when the system cannot say.
std::wstring SystemFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = ::GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length < path.size()) { // zero included
            path.resize(length);
            return path;
        }
        path.resize(length); // too small: length is the size needed, terminator included
    }
}

// Whether the activation context (the manifest's) maps this DLL name to an assembly in
// the side-by-side store, which the loader consults before any folder.
bool RedirectedByManifest(const wchar_t* name) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data) != FALSE;
}

} // namespace

void RestrictDllSearch() {
    // Windows 8 and later, and Windows 7 with update KB2533623.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = LibraryFunction<SetDefaultDllDirectoriesFn>(
        ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without it: no DLLs from the current folder, and the current folder searched after
    // the system's for everything else. LoadSystemLibrary covers the program's folder.
    ::SetDllDirectoryW(L"");
    ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}

UniqueLibrary LoadSystemLibrary(const wchar_t* name) {
    // A name the manifest redirects stays a bare name: a full path would bypass the
    // redirection (and give Common Controls 5). On a Windows 7 that does not know the
    // flag, the side-by-side store still comes before the program's folder.
    if (RedirectedByManifest(name)) {
        UniqueLibrary library(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (library || ::GetLastError() != ERROR_INVALID_PARAMETER) return library;
        return UniqueLibrary(::LoadLibraryW(name));
    }
    // Any other by its full path: a bare name would also match a DLL of that name that
    // something else already loaded from elsewhere. Its own imports come from the
    // system folder too, where the flag is known.
    const std::wstring folder = SystemFolder();
    if (folder.empty()) return {};
    const std::wstring path = folder + L'\\' + name;
    UniqueLibrary library(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (library || ::GetLastError() != ERROR_INVALID_PARAMETER) return library;
    return UniqueLibrary(::LoadLibraryW(path.c_str()));
}

} // namespace vellicor::platform::win32
