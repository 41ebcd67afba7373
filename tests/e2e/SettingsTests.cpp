// The player's settings in the registry, through the real window: start-up with and
// without the settings key, the eight toggles, whatever data other programs left, and
// the two registry repairs.
#include "e2e/Expected.h"

#include <gtest/gtest.h>

namespace vellicor::e2e {
namespace {

// Kept in the key before every start: a program that cleared or recreated the key would
// lose it.
const std::wstring kSentinel = L"Vellicor e2e sentinel";

int Shows(const Toggle& toggle, const std::optional<RawValue>& stored) {
    if (toggle.presence) return stored ? BST_CHECKED : BST_UNCHECKED;
    if (stored == Dword(0)) return BST_CHECKED;
    return stored == Dword(1) ? BST_UNCHECKED : BST_INDETERMINATE;
}

TEST(Startup, WithoutTheSettingsKeyOneCriticalBoxAndNothingElse) {
    for (const Answer answer : {Answer::Ok, Answer::Escape, Answer::CloseBox}) {
        ScratchSettings settings(false);
        Program program;
        const std::optional<Box> box = program.NextBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(Critical(L"Could not open the XMPlay registry section. Please run XMPlay to create the keys."), box->shown);
        EXPECT_EQ(std::vector<HWND>{box->window}, program.TopLevelWindows()) << "no main window";
        ASSERT_TRUE(AnswerBox(*box, answer));
        EXPECT_TRUE(program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
        EXPECT_FALSE(settings.Exists());
    }
}

TEST(Toggles, EachBoxLoadsItsOwnValueAndNothingIsWritten) {
    // Run k stores bit k of each toggle's position (so that no two share every value),
    // and a last run stores none.
    for (int run = 0; run < 4; ++run) {
        ScratchSettings settings;
        settings.Set(kSentinel, Dword(7));
        for (int i = 0; i < 8; ++i) {
            if (run < 3) settings.Set(kToggles[i].value, Dword((i >> run) & 1));
        }
        const Values before = settings.Read();
        Program program;
        EXPECT_TRUE(program.StartupBoxes().empty());
        for (int i = 0; i < 8; ++i) {
            const auto stored = run < 3 ? std::optional(Dword((i >> run) & 1)) : std::nullopt;
            EXPECT_EQ(Shows(kToggles[i], stored), program.State(ControlOf(program, kToggles[i].box))) << Utf8(kToggles[i].box) << " run " << run;
        }
        // Without an install folder the file boxes have nothing to show and say nothing.
        EXPECT_EQ(BST_INDETERMINATE, program.State(ControlOf(program, L"chkLibReadOnly")));
        EXPECT_EQ(BST_INDETERMINATE, program.State(ControlOf(program, L"chkPlayReadOnly")));
        EXPECT_EQ(before, settings.Read());
    }
}

TEST(Toggles, ClicksWriteZeroOrOneAsADwordAndBoostIsCreatedAndDeleted) {
    ScratchSettings settings;
    settings.Set(kSentinel, Dword(7));
    // Inverted toggles start missing, as text, 1 and 0 in turn; Boost starts missing.
    const std::optional<RawValue> starts[] = {std::nullopt, Text(L"yes"), Dword(1), Dword(0)};
    for (int i = 0; i < 8; ++i) {
        if (!kToggles[i].presence && starts[i % 4]) settings.Set(kToggles[i].value, *starts[i % 4]);
    }
    Program program;
    ASSERT_TRUE(program.Main());
    Values expected = settings.Read();
    for (int i = 0; i < 8; ++i) {
        const Toggle& toggle = kToggles[i];
        const HWND box = ControlOf(program, toggle.box);
        int state = program.State(box);
        ASSERT_EQ(toggle.presence ? BST_UNCHECKED : Shows(toggle, starts[i % 4]), state) << Utf8(toggle.box);
        for (int click = 1; click <= 3; ++click) {
            // A grayed box becomes checked; then each click flips it.
            state = state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            ASSERT_TRUE(program.Click(box));
            EXPECT_EQ(state, program.State(box)) << Utf8(toggle.box) << " click " << click;
            if (toggle.presence && state == BST_UNCHECKED) expected.erase(toggle.value);
            else expected[toggle.value] = Dword(toggle.presence || state == BST_UNCHECKED ? 1 : 0);
            EXPECT_EQ(expected, settings.Read()) << Utf8(toggle.box) << " click " << click;
        }
    }
    // Any number counts as present; unchecking removes it, whatever it was.
    settings.Set(L"Boost", Dword(5));
    ASSERT_TRUE(program.Click(ControlOf(program, L"cmdRefresh")));
    ASSERT_EQ(BST_CHECKED, program.State(ControlOf(program, L"chkBoost")));
    ASSERT_TRUE(program.Click(ControlOf(program, L"chkBoost")));
    expected.erase(L"Boost");
    EXPECT_EQ(expected, settings.Read());
}

TEST(Toggles, RefreshShowsWhatOtherProgramsStoredOrDeletedAndWritesNothing) {
    ScratchSettings settings;
    settings.Set(kSentinel, Dword(7));
    Program program;
    ASSERT_TRUE(program.Main());
    for (const bool stored : {true, false}) {
        for (int i = 0; i < 8; ++i) {
            if (stored) settings.Set(kToggles[i].value, Dword(i % 2));
            else settings.Delete(kToggles[i].value);
        }
        const Values before = settings.Read();
        ASSERT_TRUE(program.Click(ControlOf(program, L"cmdRefresh")));
        for (int i = 0; i < 8; ++i) {
            const auto value = stored ? std::optional(Dword(i % 2)) : std::nullopt;
            EXPECT_EQ(Shows(kToggles[i], value), program.State(ControlOf(program, kToggles[i].box))) << Utf8(kToggles[i].box);
        }
        EXPECT_EQ(before, settings.Read());
        EXPECT_FALSE(program.NextBox(nullptr, kQuiet)) << "refresh shows no message";
    }
}

// Numbers are a REG_DWORD or REG_DWORD_BIG_ENDIAN of four bytes, or a REG_QWORD of eight
// that fits in 32 signed bits; nothing else, text included, is taken for a number.
TEST(BadRegistryData, TogglesFollowTheNumberRuleAndNothingIsWritten) {
    const struct {
        const char* what;
        RawValue stored;
        int inverted, presence;
    } cases[] = {
        {"dword 0", Dword(0), BST_CHECKED, BST_CHECKED},
        {"dword 1", Dword(1), BST_UNCHECKED, BST_CHECKED},
        {"dword 2", Dword(2), BST_INDETERMINATE, BST_CHECKED},
        {"dword -1", Dword(0xFFFFFFFF), BST_INDETERMINATE, BST_CHECKED},
        {"dword of 3 bytes", Bytes(REG_DWORD, {0, 0, 0}), BST_INDETERMINATE, BST_UNCHECKED},
        {"dword of 1 byte", Bytes(REG_DWORD, {1}), BST_INDETERMINATE, BST_UNCHECKED},
        {"dword of no bytes", Bytes(REG_DWORD, {}), BST_INDETERMINATE, BST_UNCHECKED},
        {"dword of 5 bytes", Bytes(REG_DWORD, {1, 0, 0, 0, 0}), BST_INDETERMINATE, BST_UNCHECKED},
        {"small qword", Bytes(REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}), BST_UNCHECKED, BST_CHECKED},
        {"negative qword", Bytes(REG_QWORD, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), BST_INDETERMINATE, BST_CHECKED},
        {"large qword", Bytes(REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 1}), BST_INDETERMINATE, BST_UNCHECKED},
        {"qword of 4 bytes", Bytes(REG_QWORD, {0, 0, 0, 0}), BST_INDETERMINATE, BST_UNCHECKED},
        {"big-endian 0", Bytes(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0}), BST_CHECKED, BST_CHECKED},
        {"big-endian 1", Bytes(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}), BST_UNCHECKED, BST_CHECKED},
        {"text 0", Text(L"0"), BST_INDETERMINATE, BST_UNCHECKED},
        {"text 1", Text(L"1"), BST_INDETERMINATE, BST_UNCHECKED},
        {"empty text", Text(L""), BST_INDETERMINATE, BST_UNCHECKED},
        {"unterminated text", Text(L"0", REG_SZ, false), BST_INDETERMINATE, BST_UNCHECKED},
        {"expandable text", Text(L"0", REG_EXPAND_SZ), BST_INDETERMINATE, BST_UNCHECKED},
        {"multi text", Text(std::wstring(L"0\0", 2), REG_MULTI_SZ), BST_INDETERMINATE, BST_UNCHECKED},
        {"binary", Bytes(REG_BINARY, {0, 0, 0, 0}), BST_INDETERMINATE, BST_UNCHECKED},
        {"none", Bytes(REG_NONE, {}), BST_INDETERMINATE, BST_UNCHECKED},
        {"1 MB binary", Bytes(REG_BINARY, std::vector<BYTE>(1 << 20)), BST_INDETERMINATE, BST_UNCHECKED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchSettings settings;
        settings.Set(L"NoTenths", c.stored);
        settings.Set(L"Boost", c.stored);
        const Values before = settings.Read();
        Program program;
        ASSERT_TRUE(program.Main());
        EXPECT_EQ(c.inverted, program.State(ControlOf(program, L"chkTenths")));
        EXPECT_EQ(c.presence, program.State(ControlOf(program, L"chkBoost")));
        EXPECT_EQ(before, settings.Read());
    }
}

TEST(FixFileAssociations, RemovesThePlayersClassKeyOnlyWithoutAskingAndFailsTheSecondTime) {
    ScratchSettings settings;
    for (const wchar_t* key : {L"XMPlay", L"XMPlayer", L".vellicor-e2e"}) DeleteKeyTree(HKEY_CLASSES_ROOT, key);
    WriteValue(HKEY_CLASSES_ROOT, L"XMPlay", L"", Text(L"XMPlay file"));
    WriteValue(HKEY_CLASSES_ROOT, L"XMPlay\\shell\\open\\command", L"", Text(L"\"xmplay.exe\" \"%1\""));
    WriteValue(HKEY_CLASSES_ROOT, L"XMPlayer", L"", Text(L"another program"));
    WriteValue(HKEY_CLASSES_ROOT, L".vellicor-e2e", L"", Text(L"XMPlay"));
    Program program;
    EXPECT_EQ(std::vector{Notice(L"File association information deleted - run XMPlay to recreate association information.")},
              program.Converse(ControlOf(program, L"cmdFixAssoc"), false));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"XMPlay"));
    EXPECT_EQ(std::vector{Warning(FailureReport(kFixAssociations, ERROR_FILE_NOT_FOUND))},
              program.Converse(ControlOf(program, L"cmdFixAssoc"), false));
    EXPECT_EQ(Text(L"another program"), ReadValue(HKEY_CLASSES_ROOT, L"XMPlayer", L""));
    EXPECT_EQ(Text(L"XMPlay"), ReadValue(HKEY_CLASSES_ROOT, L".vellicor-e2e", L""));
    for (const wchar_t* key : {L"XMPlayer", L".vellicor-e2e"}) DeleteKeyTree(HKEY_CLASSES_ROOT, key);
}

const Shown kConfirmDeleteSettings = Question(
    L"Warning: all XMPlay settings will be deleted. Are you sure you want to continue?\r\n\r\nVellicor will exit after deleting settings");

TEST(DeleteSettings, DeclinedChangesNothingAndTheWindowStays) {
    for (const Answer answer : {Answer::Cancel, Answer::Escape, Answer::CloseBox}) {
        ScratchSettings settings;
        settings.Set(L"NoTenths", Dword(0));
        WriteValue(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\Plugins", L"Kept", Dword(3));
        const Values before = settings.Read();
        Program program;
        EXPECT_EQ(std::vector{kConfirmDeleteSettings}, program.Converse(ControlOf(program, L"cmdKillReg"), true, answer));
        EXPECT_TRUE(program.Sync());
        EXPECT_EQ(before, settings.Read());
        EXPECT_EQ(Dword(3), ReadValue(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\Plugins", L"Kept"));
    }
}

TEST(DeleteSettings, ConfirmedDeletesTheWholeKeyKeepsItsSiblingsAndEndsTheProgram) {
    ScratchSettings settings;
    settings.Set(L"Boost", Dword(1));
    WriteValue(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\Plugins\\Deep", L"Value", Dword(1));
    const std::wstring sibling = std::wstring(kVendorKey) + L"\\Vellicor e2e sibling";
    WriteValue(HKEY_CURRENT_USER, sibling, L"Kept", Dword(9));
    Program program;
    ASSERT_TRUE(program.PostClick(ControlOf(program, L"cmdKillReg")));
    const std::optional<Box> question = program.NextBox();
    ASSERT_TRUE(question && AnswerBox(*question, Answer::Ok));
    const std::optional<Box> done = program.NextBox(question->window);
    ASSERT_TRUE(done);
    EXPECT_EQ(Notice(L"Settings deleted!"), done->shown);
    EXPECT_FALSE(settings.Exists());
    EXPECT_EQ(Dword(9), ReadValue(HKEY_CURRENT_USER, sibling, L"Kept"));
    EXPECT_TRUE(program.Running()) << "the program ends once the notice is dismissed";
    ASSERT_TRUE(AnswerBox(*done, Answer::Ok));
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_FALSE(settings.Exists()) << "nothing is written on the way out";
    DeleteKeyTree(HKEY_CURRENT_USER, sibling);
}

} // namespace
} // namespace vellicor::e2e
