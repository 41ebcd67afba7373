// The player's two files through the real window: the read-only boxes and the commands
// that empty them, on real files, with every kind of install folder.
#include "e2e/Expected.h"

#include <regex>

namespace vellicor::e2e {
namespace {

Shown Emptied(bool library, const std::wstring& path) {
    return Notice((library ? L"The media library" : L"The default playlist") +
                  std::wstring(L" has been emptied.\r\n\r\n") + path);
}

// A failure report under the heading with whatever number and text this system gives for
// the path (a sharing violation or access denied, as the system has it), never success.
testing::AssertionResult Failed(const Shown& shown, const std::wstring& heading) {
    const std::wstring head = heading + L"\r\n\r\n";
    const DWORD number = shown.text.starts_with(head) ? std::wcstoul(shown.text.c_str() + head.size(), nullptr, 10) : 0;
    if (number && shown == Warning(FailureReport(heading, number))) return testing::AssertionSuccess();
    return testing::AssertionFailure() << shown;
}

// The boxes show and flip only the read-only bit; each command, declined, touches nothing;
// a locked, read-only or missing file is a failure and stays as it was, and no playlist
// is created where there was none; confirmed, the playlist is a new file. A box never
// shows a state that is not stored: once its file has gone it is grayed.
TEST(PlayerFiles, BoxesAndCommandsOnRealFiles) {
    Player player;
    SetAttributes(player.library, FILE_ATTRIBUTE_READONLY);
    SetAttributes(player.playlist, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    Program program;
    EXPECT_TRUE(program.AnsweredBoxes().empty());
    EXPECT_EQ(BST_CHECKED, StateOf(program, L"chkLibReadOnly"));
    EXPECT_EQ(BST_UNCHECKED, StateOf(program, L"chkPlayReadOnly"));
    constexpr DWORD kSeen = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY;
    EXPECT_TRUE(ClickOn(program, L"chkPlayReadOnly"));
    EXPECT_EQ(kSeen, Attributes(player.playlist) & kSeen);
    EXPECT_EQ(Warning(FailureReport(kEmptyLibrary, ERROR_ACCESS_DENIED)), Confirmed(program, L"cmdKillLib"));
    EXPECT_EQ(Warning(FailureReport(kEmptyPlaylist, ERROR_ACCESS_DENIED)), Confirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_TRUE(ClickOn(program, L"chkPlayReadOnly"));
    EXPECT_EQ(kSeen & ~FILE_ATTRIBUTE_READONLY, Attributes(player.playlist) & kSeen);
    EXPECT_TRUE(ClickOn(program, L"chkLibReadOnly"));
    // Declined: the question alone.
    EXPECT_EQ(1u, program.Converse(ControlOf(program, L"cmdKillLib"), true, Answer::Cancel).size());
    EXPECT_EQ(1u, program.Converse(ControlOf(program, L"cmdEmptyPlaylist"), true, Answer::Cancel).size());
    {
        // Held open without sharing, as a running player might hold them.
        const UniqueFile playlistLock = OpenFile(player.playlist, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING),
                         libraryLock = OpenFile(player.library, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
        EXPECT_TRUE(Failed(Confirmed(program, L"cmdEmptyPlaylist"), kEmptyPlaylist));
        EXPECT_TRUE(Failed(Confirmed(program, L"cmdKillLib"), kEmptyLibrary));
    }
    EXPECT_EQ("library", ReadBytes(player.library));
    EXPECT_EQ(kFullPlaylistBytes, ReadBytes(player.playlist));
    EXPECT_EQ(Emptied(true, player.library), Confirmed(program, L"cmdKillLib"));
    EXPECT_EQ(BST_INDETERMINATE, StateOf(program, L"chkLibReadOnly")) << "its file is gone";
    EXPECT_EQ(Emptied(false, player.playlist), Confirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_EQ(0u, Attributes(player.playlist) & FILE_ATTRIBUTE_HIDDEN) << "a new file";
    // Since the last load the playlist has gone and a directory stands at its name: a
    // refresh reports each file missing once, in the boxes' order, and a click leaves the
    // box grayed, silently. The directory is never treated as the playlist, and no
    // playlist is created where there is none.
    RemoveTree(player.playlist);
    ASSERT_TRUE(::CreateDirectoryW(player.playlist.c_str(), nullptr));
    WriteBytes(player.playlist + L"\\inside.txt", "kept");
    ASSERT_TRUE(program.PostClick(ControlOf(program, L"cmdRefresh")));
    EXPECT_EQ((std::vector{Warning(CouldNotFind(player.library, true)), Warning(CouldNotFind(player.playlist, false))}),
              program.AnsweredBoxes(2));
    EXPECT_TRUE(ClickOn(program, L"chkPlayReadOnly"));
    EXPECT_EQ(BST_INDETERMINATE, StateOf(program, L"chkPlayReadOnly"));
    EXPECT_EQ(Warning(FailureReport(kEmptyPlaylist, ERROR_ACCESS_DENIED)), Confirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_EQ("kept", ReadBytes(player.playlist + L"\\inside.txt"));
    RemoveTree(player.playlist);
    EXPECT_EQ(Warning(FailureReport(kEmptyLibrary, ERROR_FILE_NOT_FOUND)), Confirmed(program, L"cmdKillLib"));
    EXPECT_EQ(Warning(FailureReport(kEmptyPlaylist, ERROR_FILE_NOT_FOUND)), Confirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_TRUE(FileNames(player.folder.Path()).empty());
}

// A file that is a link: followed when it leads to a file of its own name (in any case),
// which keeps the link; refused, touching nothing, when it leads to a file of another name.
TEST(ReadOnlyBoxes, LinksAreFollowedOnlyToAFileOfTheSameName) {
    Player player(false);
    ASSERT_TRUE(::CreateDirectoryW(player.folder.File(L"lists").c_str(), nullptr));
    const std::wstring other = player.folder.File(L"other.dat"), playlist = player.folder.File(L"lists\\XMPlay.PLS");
    WriteBytes(other, "library");
    WriteBytes(playlist, kFullPlaylistBytes);
    ASSERT_TRUE(MakeSymbolicLink(player.library, other) && MakeSymbolicLink(player.playlist, playlist))
        << "no symbolic link could be made, so nothing here would be tested";
    Program program;
    EXPECT_EQ(std::vector{Warning(CouldNotFind(player.library, true))}, program.AnsweredBoxes(1));
    EXPECT_TRUE(ClickOn(program, L"chkLibReadOnly"));
    EXPECT_TRUE(ClickOn(program, L"chkPlayReadOnly"));
    EXPECT_EQ(0u, Attributes(other) & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(0u, Attributes(playlist) & FILE_ATTRIBUTE_READONLY) << "the file the player reads through the link";
    EXPECT_TRUE(ClickOn(program, L"chkPlayReadOnly"));
    EXPECT_EQ(Warning(FailureReport(kEmptyLibrary, ERROR_ACCESS_DENIED)), Confirmed(program, L"cmdKillLib"));
    EXPECT_EQ(Emptied(false, player.playlist), Confirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_EQ("library", ReadBytes(other));
    EXPECT_EQ(kEmptyPlaylistBytes, ReadBytes(playlist)) << "replaced where the link leads, and the link kept";
    EXPECT_EQ(std::vector<std::wstring>{L"XMPlay.PLS"}, FileNames(player.folder.File(L"lists")));
}

// Every kind of Install_Dir value: whether the program finds the files through it, and
// what it reports when it cannot. The program runs in the folder itself, where a number
// taken for a relative folder would lead.
TEST(InstallFolder, IsUsedExactlyAsWrittenAndWhatCannotBeUsedIsReported) {
    enum Outcome { Works, Unreadable };
    std::wstring otherDrive; // the folder through another drive letter
    const struct {
        const char* what;
        std::function<RawValue(const std::wstring& folder)> stored;
        Outcome outcome;
    } cases[] = {
        {"text", [](auto& f) { return Text(f); }, Works},
        {"unterminated text", [](auto& f) { return Text(f, REG_SZ, false); }, Works},
        {"expandable text", [](auto& f) { return Text(f, REG_EXPAND_SZ); }, Works},
        {"a trailing backslash", [](auto& f) { return Text(f + L"\\"); }, Works},
        {"text ending at a NUL", [](auto& f) { return Text(f + std::wstring(1, L'\0') + L"\\junk"); }, Works},
        {"odd-sized text",
         [](auto& f) {
             RawValue odd = Text(f);
             odd.data.pop_back();
             return odd;
         },
         Unreadable},
        {"forward slashes", [](auto& f) { return Text(std::regex_replace(f, std::wregex(L"\\\\"), L"/")); }, Works},
        {"Cyrillic and CJK", [](auto& f) { return Text(f + L"\\Музыка 音楽"); }, Works},
        {"format and shell characters", [](auto& f) { return Text(f + L"\\%s%n%1%% & ^ ; $(x) 'q'"); }, Works},
        {"longer than MAX_PATH",
         [](auto& f) { return Text(f + L"\\" + std::wstring(120, L'a') + L"\\" + std::wstring(120, L'b')); }, Works},
        {"another drive letter", [&](auto&) { return Text(otherDrive); }, Works},
        {"dword 5", [](auto&) { return Dword(5); }, Unreadable},
        {"multi text", [](auto& f) { return Text(f + L'\0', REG_MULTI_SZ); }, Unreadable},
        {"binary", [](auto& f) { return Bytes(REG_BINARY, Text(f).data); }, Unreadable},
        {"none", [](auto&) { return Bytes(REG_NONE, {}); }, Unreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Player player(false);
        const OtherDrive drive(player.folder.Path());
        otherDrive = drive.Path();
        const RawValue stored = c.stored(player.folder.Path());
        const std::wstring written(reinterpret_cast<const wchar_t*>(stored.data.data()), stored.data.size() / 2);
        player.Folder(written.substr(0, written.find(L'\0')));
        if (c.outcome == Works) {
            player.WriteFiles();
            SetAttributes(player.playlist, FILE_ATTRIBUTE_READONLY);
        }
        player.settings.Set(L"Install_Dir", stored);
        Program program(VellicorPath(), player.folder.Path());
        EXPECT_TRUE(program.AnsweredBoxes().empty()) << "no message either way";
        EXPECT_EQ(c.outcome == Works ? BST_CHECKED : BST_INDETERMINATE, StateOf(program, L"chkPlayReadOnly"));
        EXPECT_EQ(c.outcome == Works ? BST_UNCHECKED : BST_INDETERMINATE, StateOf(program, L"chkLibReadOnly"));
        if (c.outcome == Unreadable) {
            EXPECT_EQ(Warning(FailureReport(kEmptyLibrary, ERROR_INVALID_DATA)), Confirmed(program, L"cmdKillLib"));
            EXPECT_EQ(Warning(FailureReport(kEmptyPlaylist, ERROR_INVALID_DATA)),
                      Confirmed(program, L"cmdEmptyPlaylist"));
            EXPECT_TRUE(FileNames(player.folder.Path()).empty());
            continue;
        }
        EXPECT_TRUE(ClickOn(program, L"chkPlayReadOnly"));
        EXPECT_EQ(0u, Attributes(player.playlist) & FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(Emptied(false, player.playlist), Confirmed(program, L"cmdEmptyPlaylist"));
        EXPECT_EQ(kEmptyPlaylistBytes, ReadBytes(player.playlist));
        EXPECT_EQ(Emptied(true, player.library), Confirmed(program, L"cmdKillLib"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(player.library));
    }
}

TEST(ChangedUnderneath, TheSettingsKeyRemovedWhileRunningGivesHonestStatesAndReports) {
    Player player;
    player.settings.Set(L"NoTenths", Dword(0));
    player.settings.Set(L"Boost", Dword(1));
    Program program;
    ASSERT_TRUE(program.Main());
    player.settings.DeleteKeys();
    // Nothing a click asks for can be stored now: each box shows what it can tell.
    for (const ControlDef& row : ui::MainLayout()) {
        if (row.kind != Kind::CheckBox) continue;
        SCOPED_TRACE(std::wstring(row.name));
        EXPECT_TRUE(ClickOn(program, row.name));
        EXPECT_EQ(row.name == L"chkBoost" ? BST_UNCHECKED : BST_INDETERMINATE, StateOf(program, row.name));
    }
    // The folder is unknown now: no missing-file message, or the sent click would not return.
    EXPECT_TRUE(ClickOn(program, L"cmdRefresh"));
    // The key's handle is stale now: the system reports the key as deleted.
    EXPECT_EQ(Warning(FailureReport(kEmptyLibrary, ERROR_KEY_DELETED)), Confirmed(program, L"cmdKillLib"));
    EXPECT_EQ(Warning(FailureReport(kEmptyPlaylist, ERROR_KEY_DELETED)), Confirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_EQ(Warning(FailureReport(L"Error deleting settings", ERROR_FILE_NOT_FOUND)),
              program.Converse(ControlOf(program, L"cmdKillReg"), true).back());
    EXPECT_TRUE(program.AnsweredBoxes().empty() && program.Running())
        << "no success after the failure, and the window stays";
    EXPECT_FALSE(player.settings.Exists()) << "nothing recreated the key";
    EXPECT_EQ("library", ReadBytes(player.library));
}

} // namespace
} // namespace vellicor::e2e
