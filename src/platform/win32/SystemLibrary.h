#pragma once

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

namespace vellicor::platform::win32 {

struct LibraryTraits {
    using Type = HMODULE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type library) noexcept { ::FreeLibrary(library); }
};
using UniqueLibrary = UniqueHandle<LibraryTraits>;

// The first thing the process does: every DLL loaded after this comes from the system
// folder, never from beside the program or from the current folder. The import table
// was resolved before, which is why it names only the system's known DLLs.
void RestrictDllSearch();

// A system DLL that is not one of the known DLLs (version.dll, comctl32.dll), loaded
// from the system folder only, whatever lies beside the program. A name that the
// manifest redirects (Common Controls 6) still gets the side-by-side copy.
UniqueLibrary LoadSystemLibrary(const wchar_t* name);

// A function of a loaded library, looked up by name; null when the library or the
// function is missing (functions newer than Windows 7 are reached this way).
template <class Function>
Function LibraryFunction(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}

} // namespace vellicor::platform::win32
