// The file backend on real files, each test in a fresh folder of its own.
#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "platform/ErrorText.h"
#include "platform/win32/Win32FileSystem.h"
#include "support/ScratchFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellicor::test {

namespace {

using platform::SystemPath;
using platform::WithLongPathPrefix;

constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr std::string_view kPlaylist = "[playlist]\r\nnumberofentries=0\r\n";

std::int32_t FailureNumber(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure& failure) {
        return failure.Number();
    }
    return 0;
}

bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    void TearDown() override {
        const std::wstring path = folder_;
        scratch_.reset();
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(path)) << "scratch folder left behind";
    }

    std::wstring In(const std::wstring& name) const { return folder_ + L"\\" + name; }

    void Replace(const std::wstring& target, std::string_view bytes) {
        const auto replacement = files_.CreateReplacement(target);
        replacement->Write({bytes.data(), bytes.size()});
        replacement->Commit();
    }

    platform::Win32FileSystem files_;
    std::optional<ScratchFolder> scratch_{std::in_place, L"vellicor-files"};
    std::wstring folder_ = scratch_->Path();
};

TEST_F(Win32FileSystemTest, FlippingReadOnlyKeepsTheOtherAttributes) {
    struct Case {
        const char* what;
        DWORD initial;
    };
    for (const Case& c : {Case{"plain", FILE_ATTRIBUTE_NORMAL},
                          Case{"hidden and archived", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
                          Case{"system and hidden", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN}}) {
        const std::wstring path = In(L"xmplay.pls");
        WriteBytes(path, "x");
        ASSERT_TRUE(::SetFileAttributesW(path.c_str(), c.initial));
        const DWORD hiddenAndSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((Attributes(path) & hiddenAndSystem) != (c.initial & hiddenAndSystem)) {
            // Wine keeps these in an extended attribute, which some file systems lack.
            GTEST_SKIP() << "this file system does not keep hidden and system attributes";
        }
        // Under Wine ARCHIVE is always set; whatever is there must survive.
        const DWORD kept = Attributes(path) & kKept;

        files_.SetAttributes(path, files_.GetAttributes(path) | FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(kept | FILE_ATTRIBUTE_READONLY, Attributes(path) & kKept) << c.what;
        files_.SetAttributes(path, files_.GetAttributes(path) & ~FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(kept, Attributes(path) & kKept) << c.what;

        ::DeleteFileW(path.c_str());
    }
}

TEST_F(Win32FileSystemTest, MissingFilesAndFoldersFailWithTheSystemsNumbers) {
    const std::wstring missing = In(L"xmplay.library");
    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { files_.GetAttributes(missing); }));
    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { files_.SetAttributes(missing, 0); }));
    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { files_.Delete(missing); }));
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, FailureNumber([&] { files_.GetAttributes(In(L"Missing\\xmplay.library")); }));
    EXPECT_TRUE(FileNames(folder_).empty()) << "nothing may be created";
}

TEST_F(Win32FileSystemTest, DeleteRemovesAWritableFileAndRefusesAReadOnlyOne) {
    const std::wstring library = In(L"xmplay.library");
    WriteBytes(library, "library");
    files_.Delete(library);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(library));

    WriteBytes(library, "library");
    ASSERT_TRUE(::SetFileAttributesW(library.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(errors::kAccessDenied, FailureNumber([&] { files_.Delete(library); }));
    EXPECT_EQ("library", ReadBytes(library));
}

TEST_F(Win32FileSystemTest, ReplacementHoldsExactlyTheBytesWrittenAndNothingIsLeftBeside) {
    const std::wstring playlist = In(L"xmplay.pls");
    WriteBytes(playlist, "[playlist]\r\nnumberofentries=2\r\nFile1=a.mp3\r\nFile2=b.mp3\r\n");
    ::SetFileAttributesW(playlist.c_str(), FILE_ATTRIBUTE_HIDDEN);

    const auto replacement = files_.CreateReplacement(playlist);
    replacement->Write({kPlaylist.data(), 12});
    replacement->Write({kPlaylist.data() + 12, kPlaylist.size() - 12});
    const char odd[] = {'\0', '\xFF', '\r'};
    replacement->Write(odd);
    EXPECT_EQ(2u, FileNames(folder_).size()) << "the new file is written beside the target";
    EXPECT_EQ(std::string("[playlist]\r\nnumberofentries=2\r\nFile1=a.mp3\r\nFile2=b.mp3\r\n"), ReadBytes(playlist))
        << "the target is untouched until the commit";
    replacement->Commit();

    EXPECT_EQ(std::string(kPlaylist) + std::string(odd, sizeof odd), ReadBytes(playlist));
    EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_));
    EXPECT_EQ(0u, Attributes(playlist) & FILE_ATTRIBUTE_HIDDEN) << "a new file, not the old one rewritten";
}

TEST_F(Win32FileSystemTest, ReplacementCreatesAMissingTarget) {
    Replace(In(L"xmplay.pls"), kPlaylist);
    EXPECT_EQ(std::string(kPlaylist), ReadBytes(In(L"xmplay.pls")));
    EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_));
}

TEST_F(Win32FileSystemTest, ReplacementTakesPathsAsTheRegistryGivesThem) {
    // An install folder ending in a backslash doubles it; some users write forward slashes.
    for (const std::wstring& target : {folder_ + L"\\\\xmplay.pls", folder_ + L"/xmplay.pls"}) {
        Replace(target, kPlaylist);
        EXPECT_EQ(std::string(kPlaylist), ReadBytes(In(L"xmplay.pls"))) << target;
        EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_)) << target;
        files_.Delete(target);
    }
}

TEST_F(Win32FileSystemTest, AnUncommittedReplacementLeavesTheTargetAlone) {
    const std::wstring playlist = In(L"xmplay.pls");
    WriteBytes(playlist, "old");
    {
        const auto replacement = files_.CreateReplacement(playlist);
        replacement->Write({kPlaylist.data(), kPlaylist.size()});
        const auto names = FileNames(folder_);
        ASSERT_EQ(2u, names.size());
        EXPECT_TRUE(names[1].starts_with(L"xmplay.pls.") && names[1].ends_with(L".tmp")) << names[1];
    }
    EXPECT_EQ("old", ReadBytes(playlist));
    EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_));
}

TEST_F(Win32FileSystemTest, AReplacementThatCannotBeCreatedThrowsAndLeavesNothing) {
    WriteBytes(In(L"file"), "x");
    for (const std::wstring& target : {In(L"Missing\\xmplay.pls"), In(L"file\\xmplay.pls")}) {
        EXPECT_NE(0, FailureNumber([&] { files_.CreateReplacement(target); })) << target;
    }
    EXPECT_EQ(std::vector<std::wstring>{L"file"}, FileNames(folder_));
    EXPECT_EQ("x", ReadBytes(In(L"file")));
}

TEST_F(Win32FileSystemTest, AFailedFinalMoveKeepsTheOldFileAndRemovesTheNewOne) {
    const std::wstring playlist = In(L"xmplay.pls");
    WriteBytes(playlist, "old playlist");
    {
        // Another program holds the file open without sharing; Windows and Wine both
        // refuse to rename over it then.
        const HANDLE lock =
            ::CreateFileW(playlist.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, lock);
        const auto replacement = files_.CreateReplacement(playlist);
        replacement->Write({kPlaylist.data(), kPlaylist.size()});
        EXPECT_NE(0, FailureNumber([&] { replacement->Commit(); }));
        EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_)) << "removed at once, not at destruction";
        ::CloseHandle(lock);
    }
    EXPECT_EQ("old playlist", ReadBytes(playlist));

    const std::wstring folderInTheWay = In(L"Folder");
    ASSERT_TRUE(::CreateDirectoryW(folderInTheWay.c_str(), nullptr));
    EXPECT_NE(0, FailureNumber([&] { Replace(folderInTheWay, kPlaylist); }));
    EXPECT_NE(0u, Attributes(folderInTheWay) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ((std::vector<std::wstring>{L"Folder", L"xmplay.pls"}), FileNames(folder_));
}

// Everything the program does to its files, in one folder: attributes, replacement,
// deletion.
void WorkInFolder(platform::Win32FileSystem& files, const std::wstring& folder) {
    const std::wstring playlist = folder + L"\\xmplay.pls";
    WriteBytes(playlist, "old");
    files.SetAttributes(playlist, files.GetAttributes(playlist) | FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(0u, Attributes(playlist) & FILE_ATTRIBUTE_READONLY);
    files.SetAttributes(playlist, files.GetAttributes(playlist) & ~FILE_ATTRIBUTE_READONLY);

    const auto replacement = files.CreateReplacement(playlist);
    replacement->Write({kPlaylist.data(), kPlaylist.size()});
    replacement->Commit();
    EXPECT_EQ(std::string(kPlaylist), ReadBytes(playlist));
    EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder));

    files.Delete(playlist);
    EXPECT_TRUE(FileNames(folder).empty());
}

TEST_F(Win32FileSystemTest, FoldersWithCyrillicAndCjkNamesWork) {
    const std::wstring folder = In(L"Музыка 音楽プレーヤー");
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        // Wine keeps file names in the Unix locale's encoding: under a locale that is
        // not UTF-8 these letters make no file name at all.
        if (RunningUnderWine()) GTEST_SKIP() << "Unix locale cannot encode the name (error " << error << ")";
        FAIL() << error;
    }
    WorkInFolder(files_, folder);
}

TEST_F(Win32FileSystemTest, FoldersBeyondMaxPathWork) {
    std::wstring folder = folder_;
    while (folder.size() < 300) {
        folder += L"\\" + std::wstring(60, L'x');
        ASSERT_TRUE(::CreateDirectoryW(LiteralPath(folder).c_str(), nullptr)) << ::GetLastError();
    }
    WorkInFolder(files_, folder);

    // As a registry value ending in a backslash gives it.
    WriteBytes(folder + L"\\xmplay.pls", "old");
    Replace(folder + L"\\\\xmplay.pls", kPlaylist);
    EXPECT_EQ(std::string(kPlaylist), ReadBytes(folder + L"\\xmplay.pls"));
    EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder));
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
