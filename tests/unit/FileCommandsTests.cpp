#include "doubles/FormHarness.h"

#include "core/Win32Values.h"
#include "tools/FileCommands.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(0, h.files.temporaryFilesAlive);
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

TEST_F(FileCommands, AFailureAtAnyStageOfTheReplacementKeepsTheOldPlaylist) {
    const MemoryFileSystem::File old = h.files.files.at(kPls);
    struct Stage {
        Op op;
        std::wstring expected;
    };
    const std::vector<Stage> stages = {
        {Op::Create, L"Error opening playlist: 5 Access is denied.\r\n\r\n" + kPls},
        {Op::Write, L"Error emptying default playlist\r\n\r\n112: There is not enough space on the disk."},
        {Op::Commit, L"Error emptying default playlist\r\n\r\n32: The process cannot access the file because it is "
                     L"being used by another process."},
    };
    const std::vector<std::int32_t> codes = {5, 112, 32};
    for (std::size_t i = 0; i < stages.size(); ++i) {
        h.files.FailNext(stages[i].op, codes[i]);
        Press(L"cmdEmptyPlaylist");
        EXPECT_EQ(stages[i].expected, Last().text);
        EXPECT_EQ(kMbOk | kMbIconExclamation, Last().style);
        EXPECT_EQ(old.bytes, h.files.files.at(kPls).bytes);
        EXPECT_EQ(old.attributes, h.files.files.at(kPls).attributes);
        EXPECT_EQ(0, h.files.temporaryFilesAlive) << "the temporary file must go";
    }
}

} // namespace
} // namespace vellicor::test
