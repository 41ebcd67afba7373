// The Win32 file layer where the end-to-end tests cannot reach: a file moved aside while
// open, the long-path rewriting (Wine enforces no MAX_PATH), and the text for an error
// the system has none for.
#include "e2e/Driver.h"
#include "platform/ErrorText.h"
#include "platform/win32/Win32FileSystem.h"

#include <gtest/gtest.h>

namespace vellicor::e2e {
namespace {

// What the handle does must reach the file it opened, never a newcomer at its name.
TEST(Win32Files, AnOpenedFileIsChangedThroughItsHandleNotLookedUpByNameAgain) {
    const ScratchFolder folder(L"vellicor-files");
    const std::wstring library = folder.File(L"xmplay.library"), aside = folder.File(L"aside");
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
}

TEST(Win32Files, PathsOfMaxPathOrMoreGetTheLongPathPrefixAndOthersGoAsTheyAre) {
    const std::pair<std::wstring, std::wstring> prefixed[] = {
        {L"d:\\x", L"\\\\?\\d:\\x"}, {L"\\\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"}, {L"\\\\?\\C:\\x", L"\\\\?\\C:\\x"},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"}, {L"XMPlay\\x", L"XMPlay\\x"}, {L"\\x", L"\\x"}, {L"C:x", L"C:x"}};
    for (const auto& [path, expected] : prefixed) EXPECT_EQ(expected, platform::WithLongPathPrefix(path)) << std::wstring(path);
    const std::wstring name(100, L'n'), atLimit = L"C:\\" + name + L"\\" + name + L"\\" + std::wstring(MAX_PATH - 206, L'f');
    EXPECT_EQ(L"C:\\XMPlay\\\\xmplay.pls", platform::SystemPath(L"C:\\XMPlay\\\\xmplay.pls"));
    EXPECT_EQ(atLimit, platform::SystemPath(atLimit));
    EXPECT_EQ(L"\\\\?\\" + atLimit + L"f", platform::SystemPath(atLimit + L"f"));
    EXPECT_EQ(L"\\\\?\\C:\\" + name + L"\\" + name + L"\\" + name + L"\\x", platform::SystemPath(L"C:/" + name + L"\\\\" + name + L"\\.\\y\\..\\" + name + L"/x"));
    EXPECT_EQ(name + L"\\" + name + L"\\" + name, platform::SystemPath(name + L"\\" + name + L"\\" + name));
    EXPECT_EQ(L"Unknown error 1234567.", platform::SystemErrorText(1234567));
}

} // namespace
} // namespace vellicor::e2e
