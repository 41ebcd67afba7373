#pragma once

#include "win32/Handles.h"

#include <windows.h>

namespace vellicor::win32 {

// Whether the loader takes the LOAD_LIBRARY_SEARCH_* flags: Windows 8 and later, and
// Windows 7 with update KB2533623.
bool LoaderKnowsSearchFlags();

// The first thing the process does: every DLL loaded after this comes from the system
// folder, never from beside the program or from the current folder. The import table
// was resolved before, which is why it names only the system's known DLLs. Without the
// search flags, only the current folder can be taken out of the search: the DLLs that
// the system's own code loads later by a bare name are loaded from the system folder
// first, so that the name is taken when they are asked for.
void RestrictDllSearch(bool searchFlags = LoaderKnowsSearchFlags());

// A system DLL that is not one of the known DLLs (version.dll, comctl32.dll), loaded
// from the system folder only, whatever lies beside the program, and so are the DLLs
// it imports. A name that the manifest redirects (Common Controls 6) still gets the
// side-by-side copy.
UniqueLibrary LoadSystemLibrary(const wchar_t* name, bool searchFlags = LoaderKnowsSearchFlags());

// A function of a loaded library, looked up by name; null when the library or the
// function is missing (functions newer than Windows 7 are reached this way).
template <class Function>
Function LibraryFunction(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}

} // namespace vellicor::win32
