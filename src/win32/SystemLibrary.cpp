#include "win32/SystemLibrary.h"

#include "win32/SizedString.h"

#include <array>
#include <string>

namespace vellicor::win32 {

namespace {

// Empty when the system cannot say.
std::wstring SystemFolder() {
    return SizedString([](wchar_t* buffer, DWORD size) { return ::GetSystemDirectoryW(buffer, size); }).value_or(L"");
}

// Whether the activation context (the manifest's) maps this DLL name to an assembly in
// the side-by-side store, which the loader consults before any folder.
bool RedirectedByManifest(const wchar_t* name) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data) != FALSE;
}

} // namespace

bool LoaderKnowsSearchFlags() {
    return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories") != nullptr;
}

void RestrictDllSearch(bool searchFlags) {
    if (searchFlags) {
        using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
        const auto setDefaultDllDirectories = LibraryFunction<SetDefaultDllDirectoriesFn>(
            ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
        if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    }
    // Without them, the current folder is all that can be taken out of the DLL search.
    // The program's own folder still comes first for a bare name, so the DLLs that Common
    // Controls 6 loads by name (the visual styles and, through them, the desktop
    // compositor), which are no known DLLs on Windows 7, are loaded from the system
    // folder now and stay loaded.
    ::SetDllDirectoryW(L"");
    // This one leaves the DLL search alone: it only makes SearchPath, which some code
    // uses to find files by name, look in the current folder after the system's.
    ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
    static const std::array<UniqueLibrary, 2> preloaded{LoadSystemLibrary(L"uxtheme.dll", false),
                                                        LoadSystemLibrary(L"dwmapi.dll", false)};
}

UniqueLibrary LoadSystemLibrary(const wchar_t* name, bool searchFlags) {
    // A name the manifest redirects stays a bare name: a full path would bypass the
    // redirection (and give Common Controls 5). Without the flag, the side-by-side store
    // still comes before the program's folder.
    if (RedirectedByManifest(name)) {
        return UniqueLibrary(searchFlags ? ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)
                                         : ::LoadLibraryW(name));
    }
    // Any other by its full path: a bare name would also match a DLL of that name that
    // something else already loaded from elsewhere. Its own imports come from the
    // system folder too: by the flag, or else as the folder of the DLL itself.
    const std::wstring folder = SystemFolder();
    if (folder.empty()) return {};
    const std::wstring path = folder + L'\\' + name;
    return UniqueLibrary(::LoadLibraryExW(path.c_str(), nullptr,
                                          searchFlags ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH));
}

} // namespace vellicor::win32
