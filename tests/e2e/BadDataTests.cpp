// Whatever other programs left in the registry, the program starts, shows honest
// states, writes nothing by itself, and reports what it cannot use.
#include "e2e/Driver.h"

#include "ui/MainLayout.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

namespace vellicor::e2e {
namespace {

namespace msg = ui::messages;

RawValue Raw(DWORD type, std::vector<BYTE> data) { return RawValue{type, std::move(data)}; }

RawValue Utf16(DWORD type, const std::wstring& text, bool terminated = true) {
    RawValue value{type, {}};
    for (wchar_t ch : text) {
        value.data.push_back(static_cast<BYTE>(ch & 0xFF));
        value.data.push_back(static_cast<BYTE>(ch >> 8));
    }
    if (terminated) value.data.insert(value.data.end(), {0, 0});
    return value;
}

struct ToggleCase {
    const char* what;
    RawValue stored;
    int inverted; // what chkTenths (NoTenths) shows
    int presence; // what chkBoost (Boost) shows
};

// Numbers are a REG_DWORD or REG_DWORD_BIG_ENDIAN of four bytes, or a REG_QWORD of eight
// that fits in 32 bits; nothing else is taken for a number.
const std::vector<ToggleCase> kToggleCases = {
    {"dword 0", Raw(REG_DWORD, {0, 0, 0, 0}), BST_CHECKED, BST_CHECKED},
    {"dword 1", Raw(REG_DWORD, {1, 0, 0, 0}), BST_UNCHECKED, BST_CHECKED},
    {"dword of 3 bytes", Raw(REG_DWORD, {0, 0, 0}), BST_INDETERMINATE, BST_UNCHECKED},
    {"dword of 1 byte", Raw(REG_DWORD, {1}), BST_INDETERMINATE, BST_UNCHECKED},
    {"dword of no bytes", Raw(REG_DWORD, {}), BST_INDETERMINATE, BST_UNCHECKED},
    {"small qword", Raw(REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}), BST_UNCHECKED, BST_CHECKED},
    {"large qword", Raw(REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 1}), BST_INDETERMINATE, BST_UNCHECKED},
    {"big-endian dword 0", Raw(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0}), BST_CHECKED, BST_CHECKED},
    {"text 0", Utf16(REG_SZ, L"0"), BST_INDETERMINATE, BST_UNCHECKED},
    {"text 1", Utf16(REG_SZ, L"1"), BST_INDETERMINATE, BST_UNCHECKED},
    {"text abc", Utf16(REG_SZ, L"abc"), BST_INDETERMINATE, BST_UNCHECKED},
    {"empty text", Utf16(REG_SZ, L""), BST_INDETERMINATE, BST_UNCHECKED},
    {"unterminated text", Utf16(REG_SZ, L"0", false), BST_INDETERMINATE, BST_UNCHECKED},
    {"expandable text", Utf16(REG_EXPAND_SZ, L"0"), BST_INDETERMINATE, BST_UNCHECKED},
    {"multi text", Utf16(REG_MULTI_SZ, std::wstring(L"0\0", 2)), BST_INDETERMINATE, BST_UNCHECKED},
    {"binary", Raw(REG_BINARY, {0, 0, 0, 0}), BST_INDETERMINATE, BST_UNCHECKED},
    {"none", Raw(REG_NONE, {}), BST_INDETERMINATE, BST_UNCHECKED},
    {"1 MB binary", Raw(REG_BINARY, std::vector<BYTE>(1 << 20, 0)), BST_INDETERMINATE, BST_UNCHECKED},
};

TEST(BadRegistryData, TogglesFollowTheNumberRuleAndNothingIsWritten) {
    for (const ToggleCase& c : kToggleCases) {
        SCOPED_TRACE(c.what);
        ScratchSettings settings;
        settings.SetRaw(L"NoTenths", c.stored);
        settings.SetRaw(L"Boost", c.stored);
        const ValueSnapshot before = settings.Values();

        VellicorProcess program;
        ASSERT_TRUE(program.WaitForMainWindow());
        EXPECT_EQ(c.inverted, program.CheckState(program.Control(L"chkTenths")));
        EXPECT_EQ(c.presence, program.CheckState(program.Control(L"chkBoost")));
        ASSERT_TRUE(program.Click(program.Control(L"cmdRefresh")));
        EXPECT_EQ(c.inverted, program.CheckState(program.Control(L"chkTenths")));
        EXPECT_EQ(before, settings.Values());
    }
}

struct FolderCase {
    const char* what;
    std::function<RawValue(const std::wstring& folder)> stored;
    bool usable;
};

TEST(BadRegistryData, AnInstallFolderThatIsNotAbsoluteTextIsUnreadableAndReportedByTheCommands) {
    const std::vector<FolderCase> cases = {
        {"text", [](const std::wstring& f) { return Utf16(REG_SZ, f); }, true},
        {"unterminated text", [](const std::wstring& f) { return Utf16(REG_SZ, f, false); }, true},
        {"expandable text", [](const std::wstring& f) { return Utf16(REG_EXPAND_SZ, f); }, true},
        {"empty text", [](const std::wstring&) { return Utf16(REG_SZ, L""); }, false},
        {"dword 5", [](const std::wstring&) { return Raw(REG_DWORD, {5, 0, 0, 0}); }, false},
        {"multi text", [](const std::wstring& f) { return Utf16(REG_MULTI_SZ, f + std::wstring(1, L'\0')); }, false},
        {"binary", [](const std::wstring& f) { return Raw(REG_BINARY, Utf16(REG_SZ, f).data); }, false},
        {"none", [](const std::wstring&) { return Raw(REG_NONE, {}); }, false},
        // The program runs in the folder itself: these would lead there.
        {"relative", [](const std::wstring&) { return Utf16(REG_SZ, L"."); }, false},
        {"root-relative", [](const std::wstring& f) { return Utf16(REG_SZ, f.substr(2)); }, false},
        {"device", [](const std::wstring& f) { return Utf16(REG_SZ, L"\\\\.\\" + f); }, false},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchSettings settings;
        const ScratchFolder folder(L"vellicor-e2e");
        WriteBytes(folder.File(L"xmplay.library"), "library");
        WriteBytes(folder.File(L"xmplay.pls"), "[playlist]\r\nnumberofentries=0\r\n");
        SetAttributes(folder.File(L"xmplay.pls"), FILE_ATTRIBUTE_READONLY);
        settings.SetRaw(L"Install_Dir", c.stored(folder.Path()));

        VellicorProcess program({}, VellicorPath(), folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow());
        EXPECT_FALSE(program.WaitForMessageBox(kQuietPeriod)) << "no missing-file message either way";
        EXPECT_EQ(c.usable ? BST_CHECKED : BST_INDETERMINATE, program.CheckState(program.Control(L"chkPlayReadOnly")));
        EXPECT_EQ(c.usable ? BST_UNCHECKED : BST_INDETERMINATE, program.CheckState(program.Control(L"chkLibReadOnly")));

        const Conversation emptying = program.Converse(L"cmdKillLib", true);
        ASSERT_TRUE(emptying.question);
        ASSERT_TRUE(emptying.result);
        EXPECT_EQ(c.usable ? msg::kLibraryEmptied + folder.File(L"xmplay.library")
                           : FailureReport(msg::kErrorEmptyingLibrary, ERROR_INVALID_DATA),
                  emptying.result->text);
        EXPECT_EQ(!c.usable, Attributes(folder.File(L"xmplay.library")) != INVALID_FILE_ATTRIBUTES);
        SetAttributes(folder.File(L"xmplay.pls"), FILE_ATTRIBUTE_NORMAL);
    }
}

// Answers a command's question with OK and returns the text of the box that follows.
std::wstring RunConfirmed(const VellicorProcess& program, const wchar_t* button, bool asks = true) {
    const Conversation c = program.Converse(button, asks);
    return c.result ? c.result->text : L"<no box>";
}

TEST(ChangedUnderneath, SettingsKeyRemovedWhileRunningGivesHonestStatesAndReports) {
    ScratchSettings settings;
    const ScratchFolder folder(L"vellicor-e2e");
    WriteBytes(folder.File(L"xmplay.library"), "library");
    WriteBytes(folder.File(L"xmplay.pls"), "[playlist]\r\nnumberofentries=0\r\n");
    settings.SetText(L"Install_Dir", folder.Path());
    settings.SetDword(L"NoTenths", 0);
    settings.SetDword(L"Boost", 1);
    VellicorProcess program;
    ASSERT_TRUE(program.WaitForMainWindow());
    settings.DeleteKey();

    // Nothing a click asks for can be stored now: each box shows what it can tell.
    for (const auto& control : ui::MainLayout()) {
        if (control.kind != ui::ControlKind::CheckBox) continue;
        ASSERT_TRUE(program.Click(program.Control(control.name)));
        const int expected = control.name == std::wstring_view(L"chkBoost") ? BST_UNCHECKED : BST_INDETERMINATE;
        EXPECT_EQ(expected, program.CheckState(program.Control(control.name))) << Utf8(control.name);
    }
    ASSERT_TRUE(program.Click(program.Control(L"cmdRefresh")));
    EXPECT_FALSE(program.WaitForMessageBox(kQuietPeriod)) << "the folder is unknown now: no missing-file message";

    // The key's handle is stale now: the system reports the key as deleted.
    EXPECT_EQ(FailureReport(msg::kErrorEmptyingLibrary, ERROR_KEY_DELETED), RunConfirmed(program, L"cmdKillLib"));
    EXPECT_EQ(FailureReport(msg::kErrorEmptyingPlaylist, ERROR_KEY_DELETED), RunConfirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_EQ(FailureReport(msg::kErrorFixingAssociations, ERROR_FILE_NOT_FOUND),
              RunConfirmed(program, L"cmdFixAssoc", false));
    EXPECT_EQ(FailureReport(msg::kErrorDeletingSettings, ERROR_FILE_NOT_FOUND), RunConfirmed(program, L"cmdKillReg"));
    EXPECT_TRUE(program.Running());
    EXPECT_FALSE(settings.Exists()) << "nothing recreated the key";
    EXPECT_EQ(std::optional<std::string>("library"), ReadBytes(folder.File(L"xmplay.library")));
}

TEST(ChangedUnderneath, ADirectoryWhereThePlaylistShouldBeIsNeverTreatedAsIt) {
    ScratchSettings settings;
    const ScratchFolder folder(L"vellicor-e2e");
    WriteBytes(folder.File(L"xmplay.library"), "library");
    ASSERT_TRUE(::CreateDirectoryW(folder.File(L"xmplay.pls").c_str(), nullptr));
    WriteBytes(folder.File(L"xmplay.pls") + L"\\inside.txt", "kept");
    settings.SetText(L"Install_Dir", folder.Path());

    VellicorProcess program;
    const auto missing = program.WaitForMessageBox();
    ASSERT_TRUE(missing);
    EXPECT_EQ(std::wstring(msg::kCouldNotFind) + folder.File(L"xmplay.pls"), missing->text);
    AnswerMessageBox(*missing, Answer::Ok);
    ASSERT_TRUE(program.WaitForMainWindow());
    EXPECT_EQ(BST_INDETERMINATE, program.CheckState(program.Control(L"chkPlayReadOnly")));

    EXPECT_EQ(FailureReport(msg::kErrorEmptyingPlaylist, ERROR_ACCESS_DENIED), RunConfirmed(program, L"cmdEmptyPlaylist"));
    EXPECT_EQ(std::optional<std::string>("kept"), ReadBytes(folder.File(L"xmplay.pls") + L"\\inside.txt"));
    EXPECT_NE(0u, Attributes(folder.File(L"xmplay.pls")) & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace
} // namespace vellicor::e2e
