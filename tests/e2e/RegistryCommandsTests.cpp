// "Fix broken file associations" and "Delete settings from registry", through the real
// window and the real registry.
#include "e2e/Driver.h"

#include "ui/Messages.h"

#include <gtest/gtest.h>

namespace vellicor::e2e {
namespace {

namespace msg = ui::messages;

// Class keys are written through HKEY_CLASSES_ROOT itself, where the program looks.
void SetClassText(const std::wstring& subKey, const std::wstring& name, const std::wstring& text) {
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                               &raw, nullptr));
    const UniqueKey key(raw);
    ::RegSetValueExW(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::wstring> ClassText(const std::wstring& subKey) {
    wchar_t buffer[256]{};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, subKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

bool ClassKeyExists(const std::wstring& subKey) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    ::RegCloseKey(raw);
    return true;
}

class ClassKeys {
public:
    ClassKeys() { Clean(); }
    ~ClassKeys() { Clean(); }
    ClassKeys(const ClassKeys&) = delete;
    ClassKeys& operator=(const ClassKeys&) = delete;

private:
    static void Clean() {
        for (const wchar_t* key : {L"XMPlay", L"XMPlayer", L".vellicor-e2e"}) ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    }
};

TEST(FixFileAssociations, RemovesThePlayersClassKeyOnlyWithoutAskingAndFailsTheSecondTime) {
    ScratchSettings settings;
    ClassKeys classes;
    SetClassText(L"XMPlay", L"", L"XMPlay file");
    SetClassText(L"XMPlay\\DefaultIcon", L"", L"xmplay.exe,1");
    SetClassText(L"XMPlay\\shell\\open\\command", L"", L"\"xmplay.exe\" \"%1\"");
    SetClassText(L"XMPlayer", L"", L"another program");
    SetClassText(L".vellicor-e2e", L"", L"XMPlay");

    VellicorProcess program;
    ASSERT_TRUE(program.WaitForMainWindow());
    const Conversation done = program.Converse(L"cmdFixAssoc", false);
    ASSERT_TRUE(done.result);
    EXPECT_EQ(msg::kAssociationsDeleted, done.result->text) << "the first box must be the result: no question is asked";
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, done.result->buttons);
    EXPECT_FALSE(ClassKeyExists(L"XMPlay"));
    EXPECT_EQ(L"another program", ClassText(L"XMPlayer"));
    EXPECT_EQ(L"XMPlay", ClassText(L".vellicor-e2e"));

    const Conversation failed = program.Converse(L"cmdFixAssoc", false);
    ASSERT_TRUE(failed.result);
    EXPECT_EQ(FailureReport(msg::kErrorFixingAssociations, ERROR_FILE_NOT_FOUND), failed.result->text);
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, failed.result->buttons);
    EXPECT_EQ(L"another program", ClassText(L"XMPlayer"));
    EXPECT_TRUE(program.Sync());
}

class DeleteSettingsDeclined : public testing::TestWithParam<Answer> {};

TEST_P(DeleteSettingsDeclined, ChangesNothingAndTheWindowStays) {
    ScratchSettings settings;
    settings.SetDword(L"NoTenths", 0);
    settings.SetText(L"Vellicor e2e text", L"kept as it is");
    WriteValue(std::wstring(kSettingsSubKey) + L"\\Plugins", L"Kept", DwordValue(3));
    const ValueSnapshot before = settings.Values();

    VellicorProcess program;
    ASSERT_TRUE(program.WaitForMainWindow());
    ASSERT_TRUE(program.PostClick(program.Control(L"cmdKillReg")));
    const auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question);
    EXPECT_EQ(msg::kConfirmDeleteSettings, question->text);
    EXPECT_EQ((std::vector<std::wstring>{L"OK", L"Cancel"}), question->buttons);
    ASSERT_TRUE(AnswerMessageBox(*question, GetParam()));

    EXPECT_FALSE(program.NextMessageBox(question->window, kQuietPeriod)) << "nothing more is shown";
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(program.Sync());
    EXPECT_EQ(before, settings.Values());
    EXPECT_EQ(DwordValue(3), ReadValue(std::wstring(kSettingsSubKey) + L"\\Plugins", L"Kept"));
}

INSTANTIATE_TEST_SUITE_P(Answers, DeleteSettingsDeclined,
                         testing::Values(Answer::Cancel, Answer::Escape, Answer::CloseBox),
                         [](const auto& info) {
                             switch (info.param) {
                             case Answer::Cancel: return std::string("Cancel");
                             case Answer::Escape: return std::string("Escape");
                             default: return std::string("CloseBox");
                             }
                         });

TEST(DeleteSettings, ConfirmedDeletesTheWholeKeyKeepsItsParentAndEndsTheProgram) {
    ScratchSettings settings;
    settings.SetDword(L"NoTenths", 0);
    settings.SetDword(L"Boost", 1);
    WriteValue(std::wstring(kSettingsSubKey) + L"\\Plugins\\Deep", L"Value", DwordValue(1));
    const std::wstring sibling = std::wstring(kVendorSubKey) + L"\\Vellicor e2e sibling";
    WriteValue(sibling, L"Kept", DwordValue(9));

    VellicorProcess program;
    ASSERT_TRUE(program.WaitForMainWindow());
    ASSERT_TRUE(program.PostClick(program.Control(L"cmdKillReg")));
    const auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question);
    ASSERT_TRUE(AnswerMessageBox(*question, Answer::Ok));

    const auto done = program.NextMessageBox(question->window);
    ASSERT_TRUE(done);
    EXPECT_EQ(msg::kSettingsDeleted, done->text);
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, done->buttons);
    EXPECT_FALSE(settings.Exists());
    EXPECT_TRUE(KeyExists(kVendorSubKey));
    EXPECT_EQ(DwordValue(9), ReadValue(sibling, L"Kept"));
    EXPECT_TRUE(program.Running()) << "the program ends only once the notice is dismissed";

    ASSERT_TRUE(AnswerMessageBox(*done, Answer::Ok));
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_FALSE(settings.Exists()) << "nothing is written on the way out";
    DeleteKeyTree(sibling);
}

TEST(DeleteSettings, AKeyRemovedByAnotherProgramIsReportedAndTheWindowStaysUsable) {
    ScratchSettings settings;
    settings.SetDword(L"NoTenths", 0);
    VellicorProcess program;
    ASSERT_TRUE(program.WaitForMainWindow());
    settings.DeleteKey();

    const Conversation c = program.Converse(L"cmdKillReg", true);
    ASSERT_TRUE(c.question);
    ASSERT_TRUE(c.result);
    EXPECT_EQ(FailureReport(msg::kErrorDeletingSettings, ERROR_FILE_NOT_FOUND), c.result->text);
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, c.result->buttons);

    EXPECT_TRUE(program.Running());
    ASSERT_TRUE(program.Click(program.Control(L"cmdRefresh")));
    EXPECT_EQ(BST_INDETERMINATE, program.CheckState(program.Control(L"chkTenths")));
    EXPECT_FALSE(settings.Exists()) << "nothing recreated the key";
}

} // namespace
} // namespace vellicor::e2e
