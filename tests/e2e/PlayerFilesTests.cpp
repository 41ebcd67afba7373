// The player's files through the real window: the two read-only boxes and the two
// file commands, on real files in a fresh install folder.
#include "e2e/Driver.h"

#include "ui/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <utility>

namespace vellicor::e2e {
namespace {

namespace msg = ui::messages;

const std::string kEmptyPlaylist = "[playlist]\r\nnumberofentries=0\r\n";
const std::string kFullPlaylist = "[playlist]\r\nFile1=C:\\Music\\a.mp3\r\nnumberofentries=1\r\n";
const std::string kLibrary = "library contents";

class PlayerFiles : public testing::Test {
protected:
    void Prepare(const std::wstring& folderSuffix = L"") {
        folder_.emplace(L"vellicor-e2e", folderSuffix);
        UseInstallDir(folder_->Path());
    }
    // Stores the folder as given; the files are where the program will look for them.
    void UseInstallDir(const std::wstring& folder) {
        settings_.SetText(L"Install_Dir", folder);
        lib_ = folder + L"\\xmplay.library";
        pls_ = folder + L"\\xmplay.pls";
    }
    void WriteBoth() {
        WriteBytes(lib_, kLibrary);
        WriteBytes(pls_, kFullPlaylist);
    }
    // Starts the program and answers the start-up boxes with OK, returning their texts.
    std::vector<std::wstring> Start() {
        program_.emplace();
        std::vector<std::wstring> texts;
        HWND last = nullptr;
        for (;;) {
            std::optional<MessageBoxView> box;
            const bool settled = WaitUntil([&] {
                if (last && ::IsWindow(last)) return false;
                for (HWND window : program_->TopLevelWindows()) {
                    if (ClassOf(window) == L"#32770") {
                        box = program_->WaitForMessageBox();
                        return true;
                    }
                    if (ClassOf(window) == L"VellicorForm") return true;
                }
                return false;
            });
            if (!settled || !box) break;
            texts.push_back(box->text);
            EXPECT_EQ(std::vector<std::wstring>{L"OK"}, box->buttons);
            AnswerMessageBox(*box, Answer::Ok);
            last = box->window;
        }
        EXPECT_TRUE(program_->WaitForMainWindow());
        return texts;
    }
    // Presses a tool button, answers the question, and returns the text of what follows
    // (empty when nothing follows).
    std::wstring Command(const wchar_t* button, Answer answer = Answer::Ok) {
        const Conversation c = program_->Converse(button, true, answer, answer == Answer::Ok ? kPatience : kQuietPeriod);
        if (!c.question) return L"<no question>";
        EXPECT_EQ((std::vector<std::wstring>{L"OK", L"Cancel"}), c.question->buttons);
        if (!c.result) return L"";
        EXPECT_EQ(std::vector<std::wstring>{L"OK"}, c.result->buttons);
        return c.result->text;
    }
    friend void ExerciseEverything(PlayerFiles& t);
    int Check(const wchar_t* box) { return program_->CheckState(program_->Control(box)); }
    void Click(const wchar_t* box) { ASSERT_TRUE(program_->Click(program_->Control(box))); }

    ScratchSettings settings_;
    std::optional<ScratchFolder> folder_;
    std::wstring lib_;
    std::wstring pls_;
    std::optional<VellicorProcess> program_;
};

TEST_F(PlayerFiles, MissingFilesAreReportedAtStartInOrderWithTheirExactTexts) {
    Prepare();
    const auto texts = Start();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(std::wstring(msg::kCouldNotFind) + lib_ + msg::kGlobalPlaylistNote, texts[0]);
    EXPECT_EQ(std::wstring(msg::kCouldNotFind) + pls_, texts[1]);
    EXPECT_EQ(BST_INDETERMINATE, Check(L"chkLibReadOnly"));
    EXPECT_EQ(BST_INDETERMINATE, Check(L"chkPlayReadOnly"));
}

// A box never shows a state that is not stored: when its file has gone, a click, the
// command that deletes it and a refresh all leave it grayed, the refresh with the
// missing-file message once.
TEST_F(PlayerFiles, TheLibraryBoxTurnsGrayedOnceItsFileIsGone) {
    const struct {
        const char* what;
        std::function<void()> act;
        std::size_t messages;
    } cases[] = {
        {"a click after the file went", [this] { ::DeleteFileW(lib_.c_str()); Click(L"chkLibReadOnly"); }, 0},
        {"emptying the library", [this] { EXPECT_EQ(msg::kLibraryEmptied + lib_, Command(L"cmdKillLib")); }, 0},
        {"a refresh after the file went",
         [this] { ::DeleteFileW(lib_.c_str()); program_->PostClick(program_->Control(L"cmdRefresh")); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Prepare();
        WriteBoth();
        EXPECT_TRUE(Start().empty());
        ASSERT_EQ(BST_UNCHECKED, Check(L"chkLibReadOnly"));
        c.act();
        std::size_t shown = 0;
        while (const auto box = program_->WaitForMessageBox(kQuietPeriod)) {
            EXPECT_EQ(std::wstring(msg::kCouldNotFind) + lib_ + msg::kGlobalPlaylistNote, box->text);
            ++shown;
            AnswerMessageBox(*box, Answer::Ok);
            WaitUntil([&] { return !::IsWindow(box->window); });
        }
        EXPECT_EQ(c.messages, shown);
        EXPECT_EQ(BST_INDETERMINATE, Check(L"chkLibReadOnly"));
        EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_->Path())) << "nothing created";
    }
}

TEST_F(PlayerFiles, ReadOnlyBoxesLoadAndFlipOnlyTheReadOnlyBit) {
    Prepare();
    WriteBoth();
    SetAttributes(lib_, FILE_ATTRIBUTE_READONLY);
    SetAttributes(pls_, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(Start().empty());
    EXPECT_EQ(BST_CHECKED, Check(L"chkLibReadOnly"));
    EXPECT_EQ(BST_UNCHECKED, Check(L"chkPlayReadOnly"));

    Click(L"chkPlayReadOnly");
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
              Attributes(pls_) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    Click(L"chkPlayReadOnly");
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
              Attributes(pls_) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    Click(L"chkLibReadOnly");
    EXPECT_EQ(0u, Attributes(lib_) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(kFullPlaylist, ReadBytes(pls_)) << "attributes only: contents untouched";
}

TEST_F(PlayerFiles, DeclinedCommandsTouchNothing) {
    Prepare();
    WriteBoth();
    Start();
    EXPECT_EQ(L"", Command(L"cmdKillLib", Answer::Cancel));
    EXPECT_EQ(L"", Command(L"cmdEmptyPlaylist", Answer::Escape));
    EXPECT_EQ(L"", Command(L"cmdEmptyPlaylist", Answer::CloseBox));
    EXPECT_EQ(kLibrary, ReadBytes(lib_));
    EXPECT_EQ(kFullPlaylist, ReadBytes(pls_));
}

TEST_F(PlayerFiles, EmptyingSucceedsAndNamesTheFullPath) {
    Prepare();
    WriteBoth();
    SetAttributes(pls_, FILE_ATTRIBUTE_HIDDEN);
    Start();
    EXPECT_EQ(msg::kLibraryEmptied + lib_, Command(L"cmdKillLib"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(lib_));

    EXPECT_EQ(msg::kPlaylistEmptied + pls_, Command(L"cmdEmptyPlaylist"));
    EXPECT_EQ(kEmptyPlaylist, ReadBytes(pls_));
    EXPECT_EQ(0u, Attributes(pls_) & FILE_ATTRIBUTE_HIDDEN) << "a new file, without the old one's attributes";
    EXPECT_EQ(std::vector<std::wstring>{L"xmplay.pls"}, FileNames(folder_->Path())) << "no temporary file left";
}

TEST_F(PlayerFiles, MissingFilesAreFailuresAndNoPlaylistIsCreated) {
    Prepare();
    Start();
    EXPECT_EQ(FailureReport(msg::kErrorEmptyingLibrary, ERROR_FILE_NOT_FOUND), Command(L"cmdKillLib"));
    EXPECT_EQ(FailureReport(msg::kErrorEmptyingPlaylist, ERROR_FILE_NOT_FOUND), Command(L"cmdEmptyPlaylist"));
    EXPECT_TRUE(FileNames(folder_->Path()).empty());
}

TEST_F(PlayerFiles, ReadOnlyFilesAreRefusedAndKeptWithTheirAttribute) {
    Prepare();
    WriteBoth();
    SetAttributes(lib_, FILE_ATTRIBUTE_READONLY);
    SetAttributes(pls_, FILE_ATTRIBUTE_READONLY);
    Start();
    EXPECT_EQ(FailureReport(msg::kErrorEmptyingLibrary, ERROR_ACCESS_DENIED), Command(L"cmdKillLib"));
    EXPECT_EQ(FailureReport(msg::kErrorEmptyingPlaylist, ERROR_ACCESS_DENIED), Command(L"cmdEmptyPlaylist"));
    EXPECT_EQ(kLibrary, ReadBytes(lib_));
    EXPECT_EQ(kFullPlaylist, ReadBytes(pls_));
    EXPECT_NE(0u, Attributes(pls_) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(PlayerFiles, LockedFilesAreKeptByteForByteAndNoTemporaryFileStays) {
    Prepare();
    WriteBoth();
    Start();
    {
        // Held open without sharing, as a running player might hold them.
        const LockedFile playlistLock(pls_);
        const LockedFile libraryLock(lib_);
        ASSERT_TRUE(playlistLock.Locked() && libraryLock.Locked());
        const std::wstring playlistText = Command(L"cmdEmptyPlaylist");
        EXPECT_EQ(0u, playlistText.rfind(std::wstring(msg::kErrorEmptyingPlaylist) + L"\r\n\r\n", 0))
            << Utf8(playlistText);
        const std::wstring libraryText = Command(L"cmdKillLib");
        EXPECT_EQ(0u, libraryText.rfind(std::wstring(msg::kErrorEmptyingLibrary) + L"\r\n\r\n", 0))
            << Utf8(libraryText);
    }
    EXPECT_EQ(kFullPlaylist, ReadBytes(pls_));
    EXPECT_EQ(kLibrary, ReadBytes(lib_));
    EXPECT_EQ((std::vector<std::wstring>{L"xmplay.library", L"xmplay.pls"}), FileNames(folder_->Path()));
}

// Loads, flips and empties both files in the prepared folder.
void ExerciseEverything(PlayerFiles& t);

TEST_F(PlayerFiles, AnInstallFolderWithCyrillicAndCjkLettersWorks) {
    Prepare(L" Музыка 音楽");
    ExerciseEverything(*this);
}

TEST_F(PlayerFiles, AnInstallFolderWithFormatAndShellCharactersIsTakenLiterally) {
    // Shown in every message: none of it may act as a format or a command.
    Prepare(L" %s%n%1%% & ^ ; $(x) 'q'");
    ExerciseEverything(*this);
}

TEST_F(PlayerFiles, AnInstallFolderLongerThanMaxPathWorks) {
    Prepare();
    std::wstring path = folder_->Path();
    for (const wchar_t* part : {L"a-folder-name-of-some-length-to-reach-past-the-old-limit-quickly-1",
                                L"a-folder-name-of-some-length-to-reach-past-the-old-limit-quickly-2",
                                L"a-folder-name-of-some-length-to-reach-past-the-old-limit-quickly-3",
                                L"a-folder-name-of-some-length-to-reach-past-the-old-limit-quickly-4",
                                L"player"}) {
        path += L"\\";
        path += part;
        ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
    }
    ASSERT_GT(path.size() + std::wstring(L"\\xmplay.library").size(), std::size_t{MAX_PATH});
    UseInstallDir(path);
    ExerciseEverything(*this);
}

TEST_F(PlayerFiles, AnInstallFolderWrittenOrReachedAnotherWayWorks) {
    Prepare();
    std::wstring forward = folder_->Path();
    std::replace(forward.begin(), forward.end(), L'\\', L'/');
    const OtherDrive otherDrive(folder_->Path());
    ASSERT_FALSE(otherDrive.Path().empty());
    for (const std::wstring& written : {folder_->Path() + L"\\", forward, otherDrive.Path()}) {
        SCOPED_TRACE(Utf8(written));
        UseInstallDir(written);
        ExerciseEverything(*this);
    }
}

TEST_F(PlayerFiles, AnInstallFolderThatIsNotThereIsReportedAndNothingIsCreated) {
    Prepare();
    for (const std::wstring& absent :
         {folder_->Path() + L"\\not-installed", std::wstring(L"\\\\vellicor-no-such-server\\share\\XMPlay")}) {
        SCOPED_TRACE(Utf8(absent));
        UseInstallDir(absent);
        const auto texts = Start();
        ASSERT_EQ(2u, texts.size());
        EXPECT_EQ(std::wstring(msg::kCouldNotFind) + lib_ + msg::kGlobalPlaylistNote, texts[0]);
        EXPECT_EQ(std::wstring(msg::kCouldNotFind) + pls_, texts[1]);
        // Whatever this system answers for such a path (not found, path not found, no
        // network path...) is what the user must be told, never success.
        for (const auto& [button, caption] : {std::pair{L"cmdKillLib", msg::kErrorEmptyingLibrary},
                                              std::pair{L"cmdEmptyPlaylist", msg::kErrorEmptyingPlaylist}}) {
            const std::wstring report = Command(button);
            const std::wstring head = std::wstring(caption) + L"\r\n\r\n";
            ASSERT_TRUE(report.starts_with(head)) << Utf8(report);
            const DWORD number = std::wcstoul(report.c_str() + head.size(), nullptr, 10);
            EXPECT_NE(0u, number);
            EXPECT_EQ(FailureReport(caption, number), report);
        }
    }
    EXPECT_TRUE(FileNames(folder_->Path()).empty());
}

// A file that is a link: followed when it leads to a file of its own name, which keeps
// the link; refused, touching nothing, when it leads to a file of another name.
TEST_F(PlayerFiles, LinksAreFollowedOnlyToAFileOfTheSameName) {
    Prepare();
    ASSERT_TRUE(::CreateDirectoryW(folder_->File(L"lists").c_str(), nullptr));
    const std::wstring other = folder_->File(L"other.dat");
    const std::wstring playlist = folder_->File(L"lists\\xmplay.pls");
    WriteBytes(other, kLibrary);
    WriteBytes(playlist, kFullPlaylist);
    if (!MakeSymbolicLink(lib_, other) || !MakeSymbolicLink(pls_, playlist)) GTEST_SKIP() << "no symbolic links here";
    EXPECT_EQ(std::vector<std::wstring>{std::wstring(msg::kCouldNotFind) + lib_ + msg::kGlobalPlaylistNote}, Start());
    EXPECT_EQ(BST_INDETERMINATE, Check(L"chkLibReadOnly"));
    Click(L"chkLibReadOnly");
    Click(L"chkPlayReadOnly");
    EXPECT_EQ(0u, Attributes(other) & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(0u, Attributes(playlist) & FILE_ATTRIBUTE_READONLY) << "the file the player reads through the link";
    Click(L"chkPlayReadOnly");

    EXPECT_EQ(FailureReport(msg::kErrorEmptyingLibrary, ERROR_ACCESS_DENIED), Command(L"cmdKillLib"));
    EXPECT_EQ(msg::kPlaylistEmptied + pls_, Command(L"cmdEmptyPlaylist"));
    EXPECT_EQ(kLibrary, ReadBytes(other));
    EXPECT_EQ(kEmptyPlaylist, ReadBytes(playlist)) << "replaced where the link leads, and the link kept";
    EXPECT_EQ((std::vector<std::wstring>{L"xmplay.pls"}), FileNames(folder_->File(L"lists")));
}

void ExerciseEverything(PlayerFiles& t) {
    t.WriteBoth();
    EXPECT_TRUE(t.Start().empty()) << Utf8(t.pls_);
    EXPECT_EQ(BST_UNCHECKED, t.Check(L"chkPlayReadOnly"));
    t.Click(L"chkPlayReadOnly");
    EXPECT_NE(0u, Attributes(t.pls_) & FILE_ATTRIBUTE_READONLY);
    t.Click(L"chkPlayReadOnly");
    EXPECT_EQ(0u, Attributes(t.pls_) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(msg::kPlaylistEmptied + t.pls_, t.Command(L"cmdEmptyPlaylist"));
    EXPECT_EQ(kEmptyPlaylist, ReadBytes(t.pls_));
    EXPECT_EQ(msg::kLibraryEmptied + t.lib_, t.Command(L"cmdKillLib"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(t.lib_));
}

} // namespace
} // namespace vellicor::e2e
