#include "doubles/FormHarness.h"

#include "core/Win32Values.h"
#include "tools/FileCommands.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace vellicor::test {
namespace {

using namespace win32values;
using Op = MemoryFileSystem::Operation;

const std::wstring kLib = L"C:\\XMPlay\\xmplay.library";
const std::wstring kPls = L"C:\\XMPlay\\xmplay.pls";
const std::string kEmpty = "[playlist]\r\nnumberofentries=0\r\n";

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeText(L"C:\\XMPlay"));
        h.files.files[kLib] = {kAttributeArchive, "library"};
        h.files.files[kPls] = {kAttributeArchive | kAttributeHidden, "[playlist]\r\nFile1=a.mp3\r\nnumberofentries=1\r\n"};
        ASSERT_TRUE(h.Start());
    }
    void Press(const wchar_t* button, int answer = kIdOk) {
        h.dialogs.shown.clear();
        h.dialogs.answers = {answer};
        h.window.Get(button).UserClick();
    }
    const FakeDialogs::Shown& Last() const { return h.dialogs.shown.back(); }
    FormHarness h;
};

TEST_F(FileCommands, CancelTouchesNothing) {
    const auto before = h.files.files;
    Press(L"cmdKillLib", kIdCancel);
    Press(L"cmdEmptyPlaylist", kIdCancel);
    EXPECT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(kMbOkCancel | kMbIconQuestion, h.dialogs.shown[0].style);
    EXPECT_EQ(L"Warning: the default playlist will be emptied. Are you sure you want to continue?", h.dialogs.shown[0].text);
    EXPECT_EQ(before.size(), h.files.files.size());
    EXPECT_EQ(before.at(kPls).bytes, h.files.files.at(kPls).bytes);
}

TEST_F(FileCommands, EmptyingTheLibraryDeletesItAndNamesThePath) {
    Press(L"cmdKillLib");
    ASSERT_EQ(2u, h.dialogs.shown.size());
    EXPECT_EQ(L"Warning: the media library will be emptied. Are you sure you want to continue?", h.dialogs.shown[0].text);
    EXPECT_EQ(L"The media library has been emptied.\r\n\r\n" + kLib, Last().text);
    EXPECT_EQ(kMbOk | kMbIconInformation, Last().style);
    EXPECT_FALSE(h.files.files.count(kLib));

    Press(L"cmdKillLib");
    EXPECT_EQ(L"Error emptying media library\r\n\r\n2: The system cannot find the file specified.", Last().text);
    EXPECT_EQ(kMbOk | kMbIconExclamation, Last().style);
}

TEST_F(FileCommands, EmptyingThePlaylistLeavesExactlyTheEmptyPlaylistWithoutOldAttributes) {
    Press(L"cmdEmptyPlaylist");
    EXPECT_EQ(L"The default playlist has been emptied.\r\n\r\n" + kPls, Last().text);
    EXPECT_EQ(kEmpty, h.files.files.at(kPls).bytes);
    EXPECT_EQ(31u, h.files.files.at(kPls).bytes.size());
    EXPECT_EQ(0u, h.files.files.at(kPls).attributes & kAttributeHidden);
    EXPECT_EQ(2u, h.files.files.size()) << "no temporary file left";
}

TEST_F(FileCommands, ReadOnlyFilesAreRefusedAndKept) {
    h.files.files[kLib].attributes |= kAttributeReadOnly;
    h.files.files[kPls].attributes |= kAttributeReadOnly;
    Press(L"cmdKillLib");
    EXPECT_EQ(L"Error emptying media library\r\n\r\n5: Access is denied.", Last().text);
    Press(L"cmdEmptyPlaylist");
    EXPECT_EQ(L"Error emptying default playlist\r\n\r\n5: Access is denied.", Last().text);
    EXPECT_EQ("library", h.files.files.at(kLib).bytes);
    EXPECT_NE(kEmpty, h.files.files.at(kPls).bytes);
    EXPECT_NE(0u, h.files.files.at(kPls).attributes & kAttributeReadOnly);
}

TEST_F(FileCommands, MissingPlaylistIsAFailureAndNoFileIsCreated) {
    h.files.files.erase(kPls);
    Press(L"cmdEmptyPlaylist");
    EXPECT_EQ(L"Error emptying default playlist\r\n\r\n2: The system cannot find the file specified.", Last().text);
    EXPECT_FALSE(h.files.files.count(kPls));
}

TEST_F(FileCommands, UnreadableFolderIsReportedWithTheRegistrysNumber) {
    h.registry->DeleteValue(kSettings, L"Install_Dir");
    Press(L"cmdKillLib");
    EXPECT_EQ(L"Error emptying media library\r\n\r\n2: The system cannot find the file specified.", Last().text);
    h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeDword(5));
    Press(L"cmdEmptyPlaylist");
    EXPECT_EQ(L"Error emptying default playlist\r\n\r\n13: The data is invalid.", Last().text);
    // Joined as it stands, an empty folder would give "\xmplay.library" at the root of the
    // current drive.
    h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeText(L""));
    h.files.files[L"\\xmplay.library"] = {kAttributeArchive, "not the player's"};
    Press(L"cmdKillLib");
    EXPECT_EQ(L"Error emptying media library\r\n\r\n13: The data is invalid.", Last().text);
    EXPECT_TRUE(h.files.files.count(L"\\xmplay.library"));
    EXPECT_TRUE(h.files.files.count(kLib));
}

TEST_F(FileCommands, AFailureAtAnyStageOfTheReplacementKeepsTheOldPlaylistAndDeletesTheNewOne) {
    const auto before = h.files.files;
    struct Stage {
        std::optional<Op> op; // none: the new file's path leads to another folder
        std::int32_t code;
        std::wstring expected;
    };
    const std::vector<Stage> stages = {
        {Op::Create, 5, L"Error opening playlist: 5 Access is denied.\r\n\r\n" + kPls},
        {std::nullopt, 0, L"Error opening playlist: 5 Access is denied.\r\n\r\n" + kPls},
        {Op::Write, 112, L"Error emptying default playlist\r\n\r\n112: There is not enough space on the disk."},
        {Op::MoveOver, 32, L"Error emptying default playlist\r\n\r\n32: The process cannot access the file because "
                           L"it is being used by another process."},
    };
    for (const Stage& stage : stages) {
        if (stage.op) h.files.FailNext(*stage.op, stage.code);
        else h.files.links[kPls + L".tmp"] = L"D:\\Elsewhere\\xmplay.pls.tmp";
        Press(L"cmdEmptyPlaylist");
        h.files.links.clear();
        EXPECT_EQ(stage.expected, Last().text);
        EXPECT_EQ(kMbOk | kMbIconExclamation, Last().style);
        EXPECT_TRUE(before == h.files.files) << "the old files as they were, the new one gone";
    }
}

// A folder that is not absolute, or a name that leads on to a file of another name, is
// refused and nothing is touched; a link to a file of the same name is followed.
TEST(FileCommandsRefuse, FoldersThatAreNotAbsoluteAndFilesReachedUnderAnotherName) {
    struct Row {
        std::wstring folder;
        std::wstring leadsTo; // where the names lead, without ".library" or ".pls"; empty: nowhere else
        const wchar_t* failure; // reported by both commands; null: both succeed
    };
    const wchar_t* invalid = L"13: The data is invalid.";
    const Row rows[] = {
        {L"C:\\XMPlay", L"", nullptr},
        {L"c:/XMPlay", L"", nullptr},
        {L"\\\\server\\share", L"", nullptr},
        {L"//server/share/XMPlay", L"", nullptr},
        {L"\\\\?\\C:\\XMPlay", L"", nullptr},
        {L"\\\\?\\UNC\\server\\share\\XMPlay", L"", nullptr},
        {L"C:\\XMPlay", L"D:\\Lists\\xmplay", nullptr},
        {L"C:\\XMPlay", L"C:\\Windows\\system", L"5: Access is denied."},
        {L"XMPlay", L"", invalid},
        {L"C:XMPlay", L"", invalid},
        {L"\\XMPlay", L"", invalid},
        {L"%ProgramFiles%\\XMPlay", L"", invalid},
        {L"\\\\server", L"", invalid},
        {L"\\\\.\\C:\\XMPlay", L"", invalid},
        {L"//?/C:/XMPlay", L"", invalid},
        {L"\\??\\C:\\XMPlay", L"", invalid},
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\XMPlay", L"", invalid},
        {L"\\\\?\\Volume{00000000-0000-0000-0000-000000000000}\\XMPlay", L"", invalid},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.folder + L" -> " + row.leadsTo));
        FormHarness h;
        h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeText(row.folder));
        std::wstring library, playlist; // where the names lead
        for (auto [reached, extension] : {std::pair{&library, L".library"}, std::pair{&playlist, L".pls"}}) {
            const std::wstring path = row.folder + L"\\xmplay" + extension;
            *reached = row.leadsTo.empty() ? path : row.leadsTo + extension;
            if (!row.leadsTo.empty()) h.files.links[path] = *reached;
            h.files.files[*reached] = {kAttributeArchive, "old"};
        }
        ASSERT_TRUE(h.Start());
        EXPECT_EQ(row.failure ? ui::kGrayed : ui::kUnchecked, h.Box(L"chkLibReadOnly").Value());

        h.window.Get(L"cmdKillLib").UserClick();
        h.window.Get(L"cmdEmptyPlaylist").UserClick();
        const auto& shown = h.dialogs.shown;
        ASSERT_LE(4u, shown.size());
        if (row.failure) {
            EXPECT_EQ(std::wstring(L"Error emptying media library\r\n\r\n") + row.failure, shown[shown.size() - 3].text);
            EXPECT_EQ(std::wstring(L"Error emptying default playlist\r\n\r\n") + row.failure, shown.back().text);
            EXPECT_EQ("old", h.files.files.at(library).bytes);
            EXPECT_EQ("old", h.files.files.at(playlist).bytes);
        } else {
            EXPECT_FALSE(h.files.files.count(library));
            EXPECT_EQ(kEmpty, h.files.files.at(playlist).bytes) << "at the file the link leads to";
            EXPECT_EQ(1u, h.files.files.size()) << "a link stays a link";
        }
    }
}

} // namespace
} // namespace vellicor::test
