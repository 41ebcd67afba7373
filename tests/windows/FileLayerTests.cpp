// The Win32 file layer where the end-to-end tests cannot reach: a file moved aside while
// open, the long-path rewriting (Wine enforces no MAX_PATH), and the text for an error
// the system has none for; the DLL search where the loader is old; and the stack canary.
#include "core/ErrorText.h"
#include "e2e/Expected.h"
#include "tools/FileCommands.h"
#include "win32/Dpi.h"
#include "win32/SystemLibrary.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>

namespace vellicor::e2e {
namespace {

// What the handle does must reach the file it opened, never a newcomer at its name.
TEST(Win32Files, AnOpenedFileIsChangedThroughItsHandleNotLookedUpByNameAgain) {
    const ScratchFolder folder(L"vellicor-files");
    const std::wstring library = folder.File(L"xmplay.library"), aside = folder.File(L"aside");
    win32::Win32FileSystem files;
    for (const auto access : {platform::FileAccess::Delete, platform::FileAccess::WriteAttributes}) {
        WriteBytes(library, "opened");
        {
            const auto file = files.Open(library, access);
            ASSERT_TRUE(::MoveFileExW(library.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) << ::GetLastError();
            WriteBytes(library, "newcomer");
            if (access == platform::FileAccess::Delete) {
                file->Delete();
            } else {
                file->SetAttributes(file->Attributes() | FILE_ATTRIBUTE_READONLY);
                EXPECT_NE(0u, Attributes(aside) & FILE_ATTRIBUTE_READONLY);
            }
        }
        EXPECT_EQ("newcomer", ReadBytes(library));
        EXPECT_EQ(0u, Attributes(library) & FILE_ATTRIBUTE_READONLY);
    }
}

// Volumes that handle the delete-on-close mark their own way: one refuses it (and so its
// clearing), one takes its clearing as a no-op, the deletion still pending (which Wine 8
// never reports: the stand-in says it). The playlist is replaced on the first; on the
// second the command fails before the rename, which would take the new playlist away with
// its handle. No temporary file stays on either.
BOOL WINAPI RefusesTheMark(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    if (kind != FileDispositionInfo) return ::SetFileInformationByHandle(file, kind, info, size);
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
BOOL WINAPI KeepsTheMark(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    if (kind == FileDispositionInfo && !static_cast<FILE_DISPOSITION_INFO*>(info)->DeleteFile) return TRUE;
    return ::SetFileInformationByHandle(file, kind, info, size);
}
BOOL WINAPI ReportsTheMark(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    const BOOL read = ::GetFileInformationByHandleEx(file, kind, info, size);
    if (read && kind == FileStandardInfo) static_cast<FILE_STANDARD_INFO*>(info)->DeletePending = TRUE;
    return read;
}

TEST(Win32Files, ThePlaylistIsReplacedOrKeptWhereTheVolumeRefusesOrKeepsTheDeleteMark) {
    const Player player;
    const registry::RegistryRoot root(std::make_shared<win32::Win32Registry>());
    const registry::RegistryKey settings = root.KeyFromPath(L"\\HKEY_CURRENT_USER\\" + std::wstring(kSettingsKey));
    const struct {
        win32::FileInformationCalls volume;
        std::int32_t failure;
        std::string playlist;
    } volumes[] = {{{RefusesTheMark}, 0, kEmptyPlaylistBytes},
                   {{KeepsTheMark, ReportsTheMark}, ERROR_NOT_SUPPORTED, kFullPlaylistBytes}};
    for (const auto& volume : volumes) {
        SCOPED_TRACE(volume.failure);
        player.WriteFiles();
        win32::Win32FileSystem files(volume.volume);
        const tools::Outcome outcome = tools::EmptyDefaultPlaylist(&settings, files);
        EXPECT_EQ(volume.failure, outcome.failure ? outcome.failure->Number() : 0);
        EXPECT_EQ(volume.playlist, ReadBytes(player.playlist));
        EXPECT_EQ((std::vector<std::wstring>{L"xmplay.library", L"xmplay.pls"}), FileNames(player.folder.Path()));
    }
}

// A volume that refuses the normalised name (over SMB without the right to list a parent
// folder; some RAM disks) still gives the name the file was opened by.
TEST(Win32Files, TheNameAsOpenedStandsInWhereTheVolumeGivesNoNormalisedName) {
    const auto onlyAsOpened = [](HANDLE, LPWSTR path, DWORD size, DWORD flags) -> DWORD {
        constexpr std::wstring_view kOpened = L"\\\\?\\UNC\\server\\music\\xmplay.pls";
        if (!(flags & FILE_NAME_OPENED)) return 0;
        if (size <= kOpened.size()) return DWORD(kOpened.size() + 1);
        path[kOpened.copy(path, size)] = 0;
        return DWORD(kOpened.size());
    };
    EXPECT_EQ(L"\\\\?\\UNC\\server\\music\\xmplay.pls", win32::FinalPathOf(nullptr, onlyAsOpened));
}

// Paths of MAX_PATH characters or more are cleaned up and given the long-path prefix, as
// the system's own clean-up would have them; shorter ones, relative ones and those in the
// prefixed form already go as they are (empty: as it is).
TEST(Win32Files, PathsOfMaxPathOrMoreGetTheLongPathPrefixAndOthersGoAsTheyAre) {
    const std::wstring name(100, L'n'), twice = name + L"\\" + name;
    const std::wstring below = L"C:\\" + twice + L"\\" + std::wstring(MAX_PATH - 206, L'n'); // one short of MAX_PATH
    const std::pair<std::wstring, std::wstring> paths[] = {
        {L"C:\\XMPlay\\\\xmplay.pls", L""},
        {below, L""},
        {below + L"n", L"\\\\?\\" + below + L"n"},
        {L"C:/" + name + L"\\\\" + name + L"\\.\\y\\..\\" + name + L"/x",
         L"\\\\?\\C:\\" + twice + L"\\" + name + L"\\x"},
        {L"\\\\server\\share\\" + twice + L"\\" + name, L"\\\\?\\UNC\\server\\share\\" + twice + L"\\" + name},
        {L"\\\\?\\C:\\" + twice + L"\\" + name, L""},
        {L"//?/C:/" + twice + L"/" + name, L"\\\\?\\C:\\" + twice + L"\\" + name},
        {twice + L"\\" + name, L""},
    };
    for (const auto& [path, expected] : paths)
        EXPECT_EQ(expected.empty() ? path : expected, win32::SystemPath(path)) << path.size();
}

// A failure the system has no text for still says which it is.
TEST(ErrorText, IsTheNumberWhereTheSystemHasNoText) { EXPECT_EQ(L"Unknown error 1234567.", SystemErrorText(1234567)); }

// Where the loader knows no search flags (Windows 7 without its update), the DLLs that
// Common Controls 6 asks for by bare name and the ones the program loads come from the
// system folder, and a monitor's density comes from shcore. The current folder, taken out
// of the search, is put back for the tests that follow.
TEST(DllSearch, WithoutSearchFlagsTheSystemFolderStillComesFirst) {
    wchar_t system[MAX_PATH]{}, loaded[MAX_PATH]{};
    const std::wstring folder(system, ::GetSystemDirectoryW(system, MAX_PATH));
    const auto fromSystem = [&](HMODULE module) {
        return module && ::GetModuleFileNameW(module, loaded, MAX_PATH) &&
               ::lstrcmpiW(std::wstring(loaded).substr(0, folder.size()).c_str(), folder.c_str()) == 0;
    };
    win32::RestrictDllSearch(false);
    ::SetDllDirectoryW(nullptr);
    EXPECT_TRUE(fromSystem(::GetModuleHandleW(L"uxtheme.dll")) && fromSystem(::GetModuleHandleW(L"dwmapi.dll")) &&
                fromSystem(win32::LoadSystemLibrary(L"version.dll", false).Get()))
        << std::wstring(loaded);
    EXPECT_EQ(::GetDpiForSystem(), win32::MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)));
}

// The canary's guard is the program's own (its low byte is zero), set before any test runs.
extern "C" std::uintptr_t __stack_chk_guard; // NOLINT(bugprone-reserved-identifier)
TEST(StackGuard, IsSetBeforeTheFirstTest) {
    EXPECT_TRUE(__stack_chk_guard != 0 && (__stack_chk_guard & 0xFF) == 0) << __stack_chk_guard;
}

} // namespace
} // namespace vellicor::e2e
