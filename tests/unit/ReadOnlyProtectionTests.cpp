#include "doubles/FormHarness.h"

#include "core/Win32Values.h"

#include <gtest/gtest.h>

namespace vellicor::test {
namespace {

using namespace win32values;

const std::wstring kLib = L"D:\\Music\\XMPlay\\xmplay.library";
const std::wstring kPls = L"D:\\Music\\XMPlay\\xmplay.pls";

class ReadOnlyBoxes : public ::testing::Test {
protected:
    void SetUp() override { SetFolder(L"D:\\Music\\XMPlay"); }
    void SetFolder(const std::wstring& folder) {
        h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeText(folder));
    }
    FormHarness h;
};

TEST_F(ReadOnlyBoxes, MissingFilesGiveTheirMessagesInSweepOrder) {
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(2u, h.dialogs.shown.size());
    EXPECT_EQ(L"Could not find \"" + kLib + L"\r\n\r\nNote that this setting only works with a global playlist",
              h.dialogs.shown[0].text);
    EXPECT_EQ(L"Could not find \"" + kPls, h.dialogs.shown[1].text);
    for (const auto& shown : h.dialogs.shown) EXPECT_EQ(kMbOk | kMbIconExclamation, shown.style);
    EXPECT_EQ(ui::kGrayed, h.Box(L"chkLibReadOnly").Value());
    EXPECT_EQ(ui::kGrayed, h.Box(L"chkPlayReadOnly").Value());
}

TEST_F(ReadOnlyBoxes, OnlyTheReadOnlyBitFlipsAndEveryOtherBitIsKept) {
    h.files.files[kLib] = {kAttributeArchive, "l"};
    ASSERT_TRUE(h.Start());
    ui::Control& box = h.Box(L"chkPlayReadOnly");
    // A file with no attribute reads as NORMAL; pinned and unpinned are attrib's +P and +U.
    for (const std::uint32_t initial : {kAttributeNormal, kAttributeArchive | kAttributeHidden | kAttributeSystem | 0x2000u,
                                        0x80000u | kAttributeArchive, 0x100000u}) {
        h.files.files[kPls] = {initial, "p"};
        h.form->cmdRefresh_Click();
        ASSERT_EQ(ui::kUnchecked, box.Value());
        box.UserClick();
        EXPECT_EQ((initial == kAttributeNormal ? 0 : initial) | kAttributeReadOnly, h.files.files[kPls].attributes);
        box.UserClick();
        EXPECT_EQ(initial, h.files.files[kPls].attributes);
        EXPECT_EQ(ui::kUnchecked, box.Value());
    }
    EXPECT_EQ(kAttributeArchive, h.files.files[kLib].attributes);
}

TEST_F(ReadOnlyBoxes, LoadingAReadOnlyFileChecksOnceWithoutWriting) {
    h.files.files[kLib] = {kAttributeReadOnly, "l"};
    h.files.files[kPls] = {kAttributeArchive, "p"};
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(ui::kChecked, h.Box(L"chkLibReadOnly").Value());
    EXPECT_EQ(0, h.files.attributeWrites);
    EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST_F(ReadOnlyBoxes, UnreadableFolderLeavesBothGrayedSilently) {
    h.registry->DeleteValue(kSettings, L"Install_Dir");
    ASSERT_TRUE(h.Start());
    EXPECT_TRUE(h.dialogs.shown.empty());
    EXPECT_EQ(ui::kGrayed, h.Box(L"chkLibReadOnly").Value());

    h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeDword(5));
    h.form->cmdRefresh_Click();
    EXPECT_TRUE(h.dialogs.shown.empty()) << "a number is no folder";
    h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeText(L""));
    h.files.files[L"\\xmplay.pls"] = {kAttributeArchive, "not the player's"};
    h.form->cmdRefresh_Click();
    EXPECT_TRUE(h.dialogs.shown.empty()) << "nor is empty text";
    EXPECT_EQ(ui::kGrayed, h.Box(L"chkPlayReadOnly").Value());

    SetFolder(L"D:\\Music\\XMPlay");
    h.files.files[kLib] = {kAttributeArchive, "l"};
    h.files.files[kPls] = {kAttributeReadOnly, "p"};
    h.form->cmdRefresh_Click();
    EXPECT_EQ(ui::kUnchecked, h.Box(L"chkLibReadOnly").Value());
    EXPECT_EQ(ui::kChecked, h.Box(L"chkPlayReadOnly").Value());
}

TEST_F(ReadOnlyBoxes, PathIsJoinedExactlyAsStored) {
    SetFolder(L"D:\\Music\\XMPlay\\");
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(L"Could not find \"D:\\Music\\XMPlay\\\\xmplay.pls", h.dialogs.shown.at(1).text);
}

TEST_F(ReadOnlyBoxes, AnAttributeWriteThatFailsShowsWhatIsStoredSilently) {
    h.files.files[kLib] = {kAttributeArchive, "l"};
    h.files.files[kPls] = {kAttributeArchive, "p"};
    ASSERT_TRUE(h.Start());
    h.files.FailNext(MemoryFileSystem::Operation::SetAttributes, 5);
    h.Box(L"chkPlayReadOnly").UserClick();
    EXPECT_EQ(ui::kUnchecked, h.Box(L"chkPlayReadOnly").Value());
    EXPECT_EQ(kAttributeArchive, h.files.files[kPls].attributes);
    EXPECT_TRUE(h.dialogs.shown.empty());
}

} // namespace
} // namespace vellicor::test
