#include "doubles/FormHarness.h"

#include "core/Win32Values.h"

#include <gtest/gtest.h>

namespace vellicor::test {
namespace {

using namespace win32values;

const std::wstring kAssoc = L"\\HKEY_CLASSES_ROOT\\XMPlay";

TEST(FixAssociations, RemovesOnlyThePlayersClassKeyWithoutAsking) {
    FormHarness h;
    h.registry->SetValue(kAssoc + L"\\shell\\open\\command", L"", registry::EncodeText(L"xmplay.exe \"%1\""));
    h.registry->SetValue(L"\\HKEY_CLASSES_ROOT\\XMPlayer", L"", registry::EncodeText(L"other"));
    h.registry->SetValue(L"\\HKEY_CLASSES_ROOT\\.mp3", L"", registry::EncodeText(L"XMPlay"));
    ASSERT_TRUE(h.Start());

    h.window.Get(L"cmdFixAssoc").UserClick();
    ASSERT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(L"File association information deleted - run XMPlay to recreate association information.",
              h.dialogs.shown[0].text);
    EXPECT_EQ(kMbOk | kMbIconInformation, h.dialogs.shown[0].style);
    EXPECT_FALSE(h.registry->KeyExists(kAssoc));
    EXPECT_TRUE(h.registry->KeyExists(L"\\HKEY_CLASSES_ROOT\\XMPlayer"));
    EXPECT_EQ(registry::EncodeText(L"XMPlay"), h.registry->GetValue(L"\\HKEY_CLASSES_ROOT\\.mp3", L""));

    h.window.Get(L"cmdFixAssoc").UserClick();
    EXPECT_EQ(L"Error fixing file associations\r\n\r\n2: The system cannot find the file specified.",
              h.dialogs.shown[1].text);
    EXPECT_EQ(kMbOk | kMbIconExclamation, h.dialogs.shown[1].style);
}

TEST(FixAssociations, AccessDeniedIsReportedAndChangesNothing) {
    FormHarness h;
    h.registry->CreateKey(kAssoc + L"\\DefaultIcon");
    h.registry->DenyWrites(kAssoc);
    ASSERT_TRUE(h.Start());
    h.window.Get(L"cmdFixAssoc").UserClick();
    EXPECT_EQ(L"Error fixing file associations\r\n\r\n5: Access is denied.", h.dialogs.shown.at(0).text);
    EXPECT_TRUE(h.registry->KeyExists(kAssoc + L"\\DefaultIcon"));
}

TEST(DeleteSettings, CancelChangesNothingAndOkDeletesTheKeyThenCloses) {
    FormHarness h;
    h.SetDword(L"NoTenths", 0);
    h.registry->CreateKey(kSettings + L"\\Plugins");
    h.registry->CreateKey(L"\\HKEY_CURRENT_USER\\Software\\Un4seen Developments\\Other");
    ASSERT_TRUE(h.Start());
    const std::wstring before = h.registry->Dump();

    h.dialogs.answers = {kIdCancel};
    h.window.Get(L"cmdKillReg").UserClick();
    ASSERT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(L"Warning: all XMPlay settings will be deleted. Are you sure you want to continue?\r\n\r\n"
              L"Vellicor will exit after deleting settings",
              h.dialogs.shown[0].text);
    EXPECT_EQ(kMbOkCancel | kMbIconQuestion, h.dialogs.shown[0].style);
    EXPECT_EQ(before, h.registry->Dump());
    EXPECT_EQ(0, h.host.closes);

    h.window.Get(L"cmdKillReg").UserClick();
    ASSERT_EQ(3u, h.dialogs.shown.size());
    EXPECT_EQ(L"Settings deleted!", h.dialogs.shown[2].text);
    EXPECT_EQ(kMbOk | kMbIconInformation, h.dialogs.shown[2].style);
    EXPECT_FALSE(h.registry->KeyExists(kSettings));
    EXPECT_TRUE(h.registry->KeyExists(L"\\HKEY_CURRENT_USER\\Software\\Un4seen Developments\\Other"));
    EXPECT_EQ(1, h.host.closes);
}

TEST(DeleteSettings, AKeyAlreadyGoneIsReportedAndTheWindowStays) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    h.registry->DeleteKey(kSettings);
    h.window.Get(L"cmdKillReg").UserClick();
    ASSERT_EQ(2u, h.dialogs.shown.size());
    EXPECT_EQ(L"Error deleting settings\r\n\r\n2: The system cannot find the file specified.", h.dialogs.shown[1].text);
    EXPECT_EQ(kMbOk | kMbIconExclamation, h.dialogs.shown[1].style);
    EXPECT_EQ(0, h.host.closes);
}

} // namespace
} // namespace vellicor::test
