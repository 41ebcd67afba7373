// Stands in for a version.dll planted beside a downloaded Vellicor.exe: the moment it
// is loaded it leaves a mark next to itself. Its version functions all fail, so a
// program that used it could show no version.
#include <windows.h>

#include <cwchar>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t mark[MAX_PATH + 32]{};
    ::GetModuleFileNameW(self, mark, MAX_PATH);
    wchar_t* name = std::wcsrchr(mark, L'\\');
    std::wcscpy(name ? name + 1 : mark, L"planted-version-ran.txt");
    const HANDLE file = ::CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    return TRUE;
}

extern "C" int PlantedVersionFails() { return 0; }
