// The file backend on real files, the path rewriting, and the system's error texts.
#include "core/ErrorCodes.h"
#include "platform/ErrorText.h"
#include "platform/win32/Win32FileSystem.h"
#include "support/ScratchFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace vellicor::test {

namespace {

using platform::SystemPath;
using platform::WithLongPathPrefix;

bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// What the program's files go through once opened is out of reach of the end-to-end
// tests: the file is moved aside and a newcomer takes its name while it is open. What
// the handle does must reach the file it opened, never the newcomer.
TEST(Win32Files, AnOpenedFileIsChangedThroughItsHandleNotLookedUpByNameAgain) {
    const ScratchFolder folder(L"vellicor-files");
    const std::wstring library = folder.File(L"xmplay.library");
    const std::wstring aside = folder.File(L"aside");
    platform::Win32FileSystem files;
    for (const auto access : {platform::FileAccess::WriteAttributes, platform::FileAccess::Delete}) {
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
                SetAttributes(aside, FILE_ATTRIBUTE_NORMAL);
            }
        }
        EXPECT_EQ("newcomer", ReadBytes(library));
        EXPECT_EQ(0u, Attributes(library) & FILE_ATTRIBUTE_READONLY);
    }
    // Under Wine the file moved aside is not deleted either.
    if (!RunningUnderWine()) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(aside));
    }
}

TEST(Win32Paths, TheLongPathPrefixFitsTheKindOfPath) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"C:\\Program Files\\XMPlay\\xmplay.pls", L"\\\\?\\C:\\Program Files\\XMPlay\\xmplay.pls"},
        {L"d:\\x", L"\\\\?\\d:\\x"},
        {L"\\\\server\\share\\XMPlay\\xmplay.pls", L"\\\\?\\UNC\\server\\share\\XMPlay\\xmplay.pls"},
        {L"\\\\?\\C:\\XMPlay\\xmplay.pls", L"\\\\?\\C:\\XMPlay\\xmplay.pls"},
        {L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
        {L"XMPlay\\xmplay.pls", L"XMPlay\\xmplay.pls"},
        {L"\\xmplay.pls", L"\\xmplay.pls"},
        {L"C:xmplay.pls", L"C:xmplay.pls"},
        {L"", L""},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(expected, WithLongPathPrefix(path)) << path;
}

TEST(Win32Paths, OnlyLongAbsolutePathsAreRewritten) {
    const std::wstring name(100, L'n');
    // Short paths go to the system as they are, doubled backslashes and all.
    EXPECT_EQ(L"C:\\XMPlay\\\\xmplay.pls", SystemPath(L"C:\\XMPlay\\\\xmplay.pls"));
    EXPECT_EQ(L"\\xmplay.pls", SystemPath(L"\\xmplay.pls"));

    const std::wstring atLimit = L"C:\\" + name + L"\\" + name + L"\\" + std::wstring(MAX_PATH - 206, L'f');
    ASSERT_EQ(static_cast<std::size_t>(MAX_PATH - 1), atLimit.size());
    EXPECT_EQ(atLimit, SystemPath(atLimit));
    EXPECT_EQ(L"\\\\?\\" + atLimit + L"f", SystemPath(atLimit + L"f"));

    EXPECT_EQ(L"\\\\?\\C:\\" + name + L"\\" + name + L"\\" + name + L"\\xmplay.pls",
              SystemPath(L"C:/" + name + L"\\\\" + name + L"\\.\\skipped\\..\\" + name + L"/xmplay.pls"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\" + name + L"\\" + name + L"\\" + name,
              SystemPath(L"\\\\server\\share\\" + name + L"\\" + name + L"\\" + name));

    const std::wstring relative = name + L"\\" + name + L"\\" + name;
    EXPECT_EQ(relative, SystemPath(relative));
}

TEST(SystemErrorText, GivesTheSystemsTextWithoutALineBreak) {
    const std::wstring notFound = platform::SystemErrorText(errors::kFileNotFound);
    const std::wstring denied = platform::SystemErrorText(errors::kAccessDenied);
    for (const std::wstring& text : {notFound, denied}) {
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(std::wstring::npos, text.find_first_of(L"\r\n")) << text;
        EXPECT_NE(L' ', text.back()) << text;
        EXPECT_FALSE(text.starts_with(L"Unknown error")) << text;
    }
    EXPECT_NE(notFound, denied);
    if (PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_ENGLISH) {
        // Wine words its messages differently from Windows.
        if (RunningUnderWine()) {
            EXPECT_EQ(L"File not found.", notFound);
            EXPECT_EQ(L"Access denied.", denied);
        } else {
            EXPECT_EQ(L"The system cannot find the file specified.", notFound);
            EXPECT_EQ(L"Access is denied.", denied);
        }
    }
}

TEST(SystemErrorText, FallsBackToTheNumberWhenTheSystemHasNoText) {
    EXPECT_EQ(L"Unknown error 1234567.", platform::SystemErrorText(1234567));
}

} // namespace

} // namespace vellicor::test
