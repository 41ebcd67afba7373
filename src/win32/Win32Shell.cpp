#include "win32/Win32Shell.h"

#include "ui/ShellCommand.h"
#include "win32/Handles.h"
#include "win32/SizedString.h"

#include <windows.h>

#include <optional>
#include <string>

namespace vellicor::win32 {

namespace {

// The shared Windows folder. GetWindowsDirectoryW can give a per-user folder to a
// program that terminal services do not know as aware of them; this one cannot.
std::optional<std::wstring> WindowsDirectory() {
    return SizedString([](wchar_t* buffer, DWORD size) { return ::GetSystemWindowsDirectoryW(buffer, size); });
}

} // namespace

void Win32Shell::Open(const std::wstring& address) {
    std::optional<std::wstring> commandLine = ui::ShellCommandLine(address);
    if (!commandLine) return;
    // A bare "explorer" would be looked for beside this program and in the current
    // folder before the system's: name the one in the Windows folder.
    const std::optional<std::wstring> windows = WindowsDirectory();
    if (!windows) return;
    std::wstring application = *windows;
    if (!application.ends_with(L'\\')) application += L'\\';
    application += L"explorer.exe";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    // Failure is left unreported: the shell shows its own error when it cannot open an
    // address, and when it cannot even start there is nothing the user could do about
    // it from here. It starts in the Windows folder, not in whatever folder this program
    // was started in (often the user's downloads), where it might look for things.
    if (!::CreateProcessW(application.c_str(), commandLine->data(), nullptr, nullptr, FALSE, 0, nullptr,
                          windows->c_str(), &startup, &started)) {
        return;
    }
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
}

} // namespace vellicor::win32
