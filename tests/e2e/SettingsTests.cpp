// The player's settings in the registry, through the real window: start-up with and
// without the settings key, the eight toggles, whatever data other programs left, and
// the two registry repairs.
#include "e2e/Expected.h"

namespace vellicor::e2e {
namespace {

// Kept in the key throughout: a program that cleared or recreated the key would lose it.
const std::wstring kSentinel = L"Vellicor e2e sentinel";

TEST(Startup, WithoutTheSettingsKeyOneCriticalBoxAndNothingElse) {
    ScratchSettings settings(false);
    Program program;
    const std::optional<Box> box = program.NextBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Critical(L"Could not open the XMPlay registry section. Please run XMPlay to create the keys."),
              box->shown);
    EXPECT_EQ(std::vector<HWND>{box->window}, program.TopLevelWindows()) << "no main window";
    EXPECT_TRUE(AnswerBox(*box, Answer::Ok) && program.WaitForExit());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_FALSE(settings.Exists());
}

// Each box shows its own value, whatever other programs stored or deleted, at start and on
// every refresh, and nothing is written. Numbers are a REG_DWORD or REG_DWORD_BIG_ENDIAN of
// four bytes, or a REG_QWORD of eight that fits in 32 signed bits; nothing else, text
// included, is taken for a number. Each toggle walks the cases in order, the i-th from
// case i, so that no two toggles meet the same case in a round.
TEST(Toggles, EachBoxLoadsItsOwnValueWhateverIsStoredAndNothingIsWritten) {
    constexpr int on = BST_CHECKED, off = BST_UNCHECKED, grayed = BST_INDETERMINATE;
    const struct {
        const char* what;
        std::optional<RawValue> stored;
        int inverted, presence;
    } cases[] = {
        {"dword 0", Dword(0), on, on},
        {"missing", std::nullopt, grayed, off},
        {"dword 1", Dword(1), off, on},
        {"dword 2", Dword(2), grayed, on},
        {"dword -1", Dword(0xFFFFFFFF), grayed, on},
        {"dword of 3 bytes", Bytes(REG_DWORD, {0, 0, 0}), grayed, off},
        {"dword of 1 byte", Bytes(REG_DWORD, {1}), grayed, off},
        {"dword of no bytes", Bytes(REG_DWORD, {}), grayed, off},
        {"dword of 5 bytes", Bytes(REG_DWORD, {1, 0, 0, 0, 0}), grayed, off},
        {"small qword", Bytes(REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}), off, on},
        {"qword -1", Bytes(REG_QWORD, std::vector<BYTE>(8, 0xFF)), grayed, on},
        {"large qword", Bytes(REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 1}), grayed, off},
        {"qword of 4 bytes", Bytes(REG_QWORD, {0, 0, 0, 0}), grayed, off},
        {"big-endian 0", Bytes(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0}), on, on},
        {"big-endian 1", Bytes(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}), off, on},
        {"text 0", Text(L"0"), grayed, off},
        {"text 1", Text(L"1"), grayed, off},
        {"empty text", Text(L""), grayed, off},
        {"unterminated text", Text(L"0", REG_SZ, false), grayed, off},
        {"expandable text", Text(L"0", REG_EXPAND_SZ), grayed, off},
        {"multi text", Text(std::wstring(L"0\0", 2), REG_MULTI_SZ), grayed, off},
        {"binary", Bytes(REG_BINARY, {0, 0, 0, 0}), grayed, off},
        {"none", Bytes(REG_NONE, {}), grayed, off},
        {"1 MB binary", Bytes(REG_BINARY, std::vector<BYTE>(1 << 20)), grayed, off},
        {"link", Bytes(REG_LINK, {0, 0, 0, 0}), grayed, off},
        {"resource list", Bytes(REG_RESOURCE_LIST, {0, 0, 0, 0}), grayed, off},
        {"resource descriptor", Bytes(REG_FULL_RESOURCE_DESCRIPTOR, {0, 0, 0, 0}), grayed, off},
        {"resource requirements", Bytes(REG_RESOURCE_REQUIREMENTS_LIST, {0, 0, 0, 0}), grayed, off},
    };
    ScratchSettings settings;
    settings.Set(kSentinel, Dword(7));
    std::optional<Program> program;
    for (std::size_t round = 0; round < std::size(cases); ++round) {
        const auto met = [&](std::size_t i) -> const auto& { return cases[(round + i) % std::size(cases)]; };
        for (std::size_t i = 0; i < 8; ++i) settings.Delete(kToggles[i].value);
        for (std::size_t i = 0; i < 8; ++i) {
            if (met(i).stored) settings.Set(kToggles[i].value, *met(i).stored);
        }
        const Values before = settings.Read();
        if (round == 0)
            EXPECT_TRUE(program.emplace().AnsweredBoxes().empty());
        else
            ASSERT_TRUE(ClickOn(*program, L"cmdRefresh"));
        for (std::size_t i = 0; i < 8; ++i) {
            SCOPED_TRACE(testing::Message() << std::wstring(kToggles[i].box) << ": " << met(i).what);
            EXPECT_EQ(kToggles[i].presence ? met(i).presence : met(i).inverted, StateOf(*program, kToggles[i].box));
        }
        EXPECT_EQ(before, settings.Read()) << "round " << round;
    }
}

TEST(Toggles, ClicksWriteZeroOrOneAsADwordAndBoostIsCreatedAndDeleted) {
    ScratchSettings settings;
    settings.Set(kSentinel, Dword(7));
    // Inverted toggles start grayed, missing and as text in turn, so that the first click
    // creates a value or changes its type; Boost starts missing.
    for (int i = 1; i < 8; i += 2) settings.Set(kToggles[i].value, Text(L"yes"));
    Program program;
    ASSERT_TRUE(program.Main());
    Values expected = settings.Read();
    for (const Toggle& toggle : kToggles) {
        SCOPED_TRACE(std::wstring(toggle.box));
        const HWND box = ControlOf(program, toggle.box);
        int state = toggle.presence ? BST_UNCHECKED : BST_INDETERMINATE;
        ASSERT_EQ(state, program.State(box));
        for (int click = 1; click <= 3; ++click) {
            SCOPED_TRACE(click);
            // A grayed box becomes checked; then each click flips it.
            state = state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            ASSERT_TRUE(program.Click(box));
            EXPECT_EQ(state, program.State(box));
            if (toggle.presence && state == BST_UNCHECKED)
                expected.erase(toggle.value);
            else
                expected[toggle.value] = Dword(toggle.presence || state == BST_UNCHECKED ? 1 : 0);
            EXPECT_EQ(expected, settings.Read());
        }
    }
    // Any number counts as present; unchecking removes it, whatever it was.
    settings.Set(L"Boost", Dword(5));
    ASSERT_TRUE(ClickOn(program, L"cmdRefresh") && ClickOn(program, L"chkBoost"));
    expected.erase(L"Boost");
    EXPECT_EQ(expected, settings.Read());
}

// "Fix broken file associations" removes the player's class key alone, without asking,
// and fails the second time. "Delete settings from registry", declined, changes nothing
// and the window stays; confirmed, the whole key goes, its siblings stay, and the program
// ends once the notice is dismissed.
TEST(RegistryCommands, FixAssociationsThenDeleteTheSettings) {
    ScratchSettings settings;
    const ScratchKeys classes(HKEY_CLASSES_ROOT, {L"XMPlay", L"XMPlayer", L".vellicor-e2e"}),
        sibling(HKEY_CURRENT_USER, {std::wstring(kVendorKey) + L"\\Sibling"});
    WriteValue(HKEY_CLASSES_ROOT, L"XMPlay\\shell\\open\\command", L"", Text(L"\"xmplay.exe\" \"%1\""));
    WriteValue(HKEY_CLASSES_ROOT, L"XMPlayer", L"", Text(L"another program"));
    WriteValue(HKEY_CLASSES_ROOT, L".vellicor-e2e", L"", Text(L"XMPlay"));
    settings.Set(L"NoTenths", Dword(0));
    WriteValue(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\Plugins\\Deep", L"Kept", Dword(3));
    WriteValue(HKEY_CURRENT_USER, std::wstring(kVendorKey) + L"\\Sibling", L"Kept", Dword(9));
    const Values before = settings.Read();
    const Shown question = Question(L"Warning: all XMPlay settings will be deleted. Are you sure you want to "
                                    L"continue?\r\n\r\nVellicor will exit after deleting settings");
    Program program;
    EXPECT_EQ(
        std::vector{Notice(L"File association information deleted - run XMPlay to recreate association information.")},
        program.Converse(ControlOf(program, L"cmdFixAssoc"), false));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"XMPlay"));
    EXPECT_EQ(std::vector{Warning(FailureReport(L"Error fixing file associations", ERROR_FILE_NOT_FOUND))},
              program.Converse(ControlOf(program, L"cmdFixAssoc"), false));
    EXPECT_EQ(Text(L"another program"), ReadValue(HKEY_CLASSES_ROOT, L"XMPlayer", L""));
    EXPECT_EQ(Text(L"XMPlay"), ReadValue(HKEY_CLASSES_ROOT, L".vellicor-e2e", L""));
    EXPECT_EQ(std::vector{question}, program.Converse(ControlOf(program, L"cmdKillReg"), true, Answer::Cancel));
    EXPECT_EQ(before, settings.Read());
    ASSERT_TRUE(program.PostClick(ControlOf(program, L"cmdKillReg")));
    const std::optional<Box> asked = program.NextBox();
    const std::optional<Box> done =
        asked && AnswerBox(*asked, Answer::Ok) ? program.NextBox(asked->window) : std::nullopt;
    ASSERT_TRUE(done);
    EXPECT_EQ(Notice(L"Settings deleted!"), done->shown);
    EXPECT_FALSE(settings.Exists());
    EXPECT_EQ(Dword(9), ReadValue(HKEY_CURRENT_USER, std::wstring(kVendorKey) + L"\\Sibling", L"Kept"));
    EXPECT_TRUE(program.Running()) << "the program ends once the notice is dismissed";
    EXPECT_TRUE(AnswerBox(*done, Answer::Ok) && program.WaitForExit());
    EXPECT_FALSE(settings.Exists()) << "nothing is written on the way out";
}

} // namespace
} // namespace vellicor::e2e
