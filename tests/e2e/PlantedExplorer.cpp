// Stands in for a file planted beside a downloaded Vellicor.exe under the name
// explorer.exe: if it is ever run, it leaves a mark next to itself.
#include <windows.h>

#include <string>

int main() {
    wchar_t path[MAX_PATH]{};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring mark(path, length);
    mark.resize(mark.rfind(L'\\') + 1);
    mark += L"planted-explorer-ran.txt";
    const HANDLE file = ::CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    return 0;
}
