// Start-up with and without the player's settings key, and the registry toggles seen
// through the real window and the real registry.
#include "e2e/Driver.h"

#include "app/RegistryToggles.h"
#include "tools/ReadOnlyProtection.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vellicor::e2e {
namespace {

using app::ToggleDef;
using app::ToggleKind;

// Stored before every start, so that the key's snapshot is never trivially empty: a
// program that cleared or recreated the key would show up as a lost sentinel.
constexpr wchar_t kSentinel[] = L"Vellicor e2e sentinel";
constexpr DWORD kSentinelValue = 0x5EED;

bool IsInverted(const ToggleDef& toggle) { return toggle.kind == ToggleKind::Inverted; }

std::wstring Name(std::wstring_view view) { return std::wstring(view); }

// ---------------------------------------------------------------------------------------

class StartupWithoutSettings : public testing::TestWithParam<Answer> {};

TEST_P(StartupWithoutSettings, OneMessageBoxNoWindowAndTheKeyIsNotCreated) {
    ScratchSettings settings(ScratchSettings::Start::WithoutKey);
    VellicorProcess program;

    const auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box appeared";
    EXPECT_EQ(L"Vellicor", box->title);
    EXPECT_EQ(ui::messages::kCouldNotOpenSettings, box->text);
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, box->buttons);
    EXPECT_EQ(std::vector<HWND>{box->window}, program.TopLevelWindows()) << "the box must be alone";

    const auto mainWindowExists = [&program] {
        for (HWND window : program.TopLevelWindows(true)) {
            if (ClassOf(window) == L"VellicorForm") return true;
        }
        return false;
    };
    EXPECT_FALSE(mainWindowExists());
    ASSERT_TRUE(AnswerMessageBox(*box, GetParam()));

    bool sawMainWindow = false;
    WaitUntil([&] {
        sawMainWindow = sawMainWindow || mainWindowExists();
        return !program.Running();
    });
    ASSERT_FALSE(program.Running()) << "dismissing the box must end the program";
    EXPECT_FALSE(sawMainWindow);
    EXPECT_EQ(0u, program.ExitCode().value_or(~0u));
    EXPECT_FALSE(settings.Exists());
}

INSTANTIATE_TEST_SUITE_P(Dismissed, StartupWithoutSettings,
                         testing::Values(Answer::Ok, Answer::Escape, Answer::CloseBox),
                         [](const testing::TestParamInfo<Answer>& info) {
                             switch (info.param) {
                             case Answer::Ok: return "WithOk";
                             case Answer::Escape: return "WithEsc";
                             case Answer::CloseBox: return "WithTheCloseBox";
                             default: return "Other";
                             }
                         });

// ---------------------------------------------------------------------------------------

struct StoredCase {
    const char* what;
    std::optional<RawValue> stored;
    int inverted; // the state an inverted toggle shows
    int presence; // the state the presence toggle shows
};

const std::vector<StoredCase>& StoredCases() {
    static const std::vector<StoredCase> cases = {
        {"0", DwordValue(0), BST_CHECKED, BST_CHECKED},
        {"1", DwordValue(1), BST_UNCHECKED, BST_CHECKED},
        {"2", DwordValue(2), BST_INDETERMINATE, BST_CHECKED},
        {"0xFFFFFFFF", DwordValue(0xFFFFFFFF), BST_INDETERMINATE, BST_CHECKED},
        {"missing", std::nullopt, BST_INDETERMINATE, BST_UNCHECKED},
        {"text \"0\"", TextValue(L"0"), BST_INDETERMINATE, BST_UNCHECKED},
        {"two-byte REG_DWORD", RawValue{REG_DWORD, {0, 0}}, BST_INDETERMINATE, BST_UNCHECKED},
        {"REG_BINARY zero", RawValue{REG_BINARY, {0, 0, 0, 0}}, BST_INDETERMINATE, BST_UNCHECKED},
    };
    return cases;
}

// Run k gives toggle i the case (i + k) mod n: over all runs every toggle meets every
// case, at one program start per run.
class ToggleLoad : public testing::TestWithParam<std::size_t> {};

TEST_P(ToggleLoad, EachBoxShowsItsValueAndNothingIsWritten) {
    const auto toggles = app::RegistryToggles();
    const auto& cases = StoredCases();
    ASSERT_EQ(cases.size(), toggles.size()) << "the rotation needs one case per toggle";

    ScratchSettings settings;
    settings.SetDword(kSentinel, kSentinelValue);
    std::vector<const StoredCase*> given;
    for (std::size_t i = 0; i < toggles.size(); ++i) {
        given.push_back(&cases[(i + GetParam()) % cases.size()]);
        if (given.back()->stored) settings.SetRaw(Name(toggles[i].valueName), *given.back()->stored);
    }
    const ValueSnapshot before = settings.Values();

    VellicorProcess program;
    ASSERT_TRUE(program.WaitForMainWindow()) << "no main window";
    ASSERT_TRUE(program.Sync());

    for (std::size_t i = 0; i < toggles.size(); ++i) {
        const int expected = IsInverted(toggles[i]) ? given[i]->inverted : given[i]->presence;
        EXPECT_EQ(expected, program.CheckState(program.Control(toggles[i].control)))
            << Utf8(toggles[i].control) << " with " << given[i]->what;
    }
    // Without an install folder the file boxes have nothing to look at and say nothing.
    for (const auto& box : tools::ReadOnlyBoxes()) {
        EXPECT_EQ(BST_INDETERMINATE, program.CheckState(program.Control(box.control))) << Utf8(box.control);
    }
    EXPECT_EQ(1u, program.TopLevelWindows().size()) << "start-up must not show a message box";
    EXPECT_EQ(before, settings.Values());
}

INSTANTIATE_TEST_SUITE_P(Rotations, ToggleLoad, testing::Range<std::size_t>(0, 8));

// ---------------------------------------------------------------------------------------

class WithProgram : public testing::Test {
protected:
    // Starts the program on the key as the test has filled it.
    void Start() {
        program_.emplace();
        ASSERT_TRUE(program_->WaitForMainWindow()) << "no main window";
        ASSERT_TRUE(program_->Sync());
    }
    HWND Box(std::wstring_view name) const { return program_->Control(name); }
    int State(std::wstring_view name) const { return program_->CheckState(Box(name)); }

    // Clicks and waits until the handler has run (BM_CLICK is sent, not posted).
    void Click(std::wstring_view name) const { ASSERT_TRUE(program_->Click(Box(name))) << Utf8(name); }

    ScratchSettings settings_;
    std::optional<VellicorProcess> program_;
};

using ToggleClick = WithProgram;

TEST_F(ToggleClick, InvertedBoxesWriteZeroWhenCheckedAndOneWhenUnchecked) {
    // Grayed by a missing value, by a foreign type, and plain unchecked and checked.
    struct Initial {
        const char* what;
        std::optional<RawValue> stored;
        int shows;
    };
    const Initial initial[] = {
        {"missing", std::nullopt, BST_INDETERMINATE},
        {"text", TextValue(L"yes"), BST_INDETERMINATE},
        {"1", DwordValue(1), BST_UNCHECKED},
        {"0", DwordValue(0), BST_CHECKED},
    };
    std::vector<const Initial*> given;
    settings_.SetDword(kSentinel, kSentinelValue);
    std::size_t next = 0;
    for (const ToggleDef& toggle : app::RegistryToggles()) {
        if (!IsInverted(toggle)) continue;
        given.push_back(&initial[next++ % std::size(initial)]);
        if (given.back()->stored) settings_.SetRaw(Name(toggle.valueName), *given.back()->stored);
    }
    ASSERT_NO_FATAL_FAILURE(Start());

    ValueSnapshot expected = settings_.Values();
    std::size_t index = 0;
    for (const ToggleDef& toggle : app::RegistryToggles()) {
        if (!IsInverted(toggle)) continue;
        const Initial& start = *given[index++];
        SCOPED_TRACE(Utf8(toggle.control) + " starting " + start.what);
        ASSERT_EQ(start.shows, State(toggle.control));

        // A grayed box becomes checked; then each click flips it.
        int shows = start.shows == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        for (int click = 0; click < 3; ++click) {
            Click(toggle.control);
            EXPECT_EQ(shows, State(toggle.control)) << "after click " << click + 1;
            expected[Name(toggle.valueName)] = DwordValue(shows == BST_CHECKED ? 0 : 1);
            EXPECT_EQ(expected, settings_.Values()) << "after click " << click + 1;
            shows = shows == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        }
    }
}

TEST_F(ToggleClick, BoostIsCreatedAsOneWhenCheckedAndDeletedWhenUnchecked) {
    const auto toggles = app::RegistryToggles();
    const auto& boost = *std::find_if(toggles.begin(), toggles.end(), [](const ToggleDef& t) { return !IsInverted(t); });
    const std::wstring value = Name(boost.valueName);
    settings_.SetDword(kSentinel, kSentinelValue);
    ASSERT_NO_FATAL_FAILURE(Start());
    const ValueSnapshot without = settings_.Values();
    ValueSnapshot with = without;
    with[value] = DwordValue(1);

    ASSERT_EQ(BST_UNCHECKED, State(boost.control));
    Click(boost.control);
    EXPECT_EQ(BST_CHECKED, State(boost.control));
    EXPECT_EQ(with, settings_.Values());
    Click(boost.control);
    EXPECT_EQ(BST_UNCHECKED, State(boost.control));
    EXPECT_EQ(without, settings_.Values());

    // Any number counts as present; unchecking removes it whatever it was.
    settings_.SetDword(value, 5);
    Click(L"cmdRefresh");
    ASSERT_EQ(BST_CHECKED, State(boost.control));
    Click(boost.control);
    EXPECT_EQ(BST_UNCHECKED, State(boost.control));
    EXPECT_EQ(without, settings_.Values());
}

using Refresh = WithProgram;

TEST_F(Refresh, ReloadsValuesChangedOutsideWithoutWriting) {
    settings_.SetDword(kSentinel, kSentinelValue);
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto toggles = app::RegistryToggles();

    // Another program stores every value: inverted ones 0 and 1 in turn.
    for (std::size_t i = 0; i < toggles.size(); ++i) settings_.SetDword(Name(toggles[i].valueName), i % 2);
    const ValueSnapshot stored = settings_.Values();
    Click(L"cmdRefresh");
    for (std::size_t i = 0; i < toggles.size(); ++i) {
        const int expected = !IsInverted(toggles[i]) || i % 2 == 0 ? BST_CHECKED : BST_UNCHECKED;
        EXPECT_EQ(expected, State(toggles[i].control)) << Utf8(toggles[i].control) << " after the values appeared";
    }
    EXPECT_EQ(stored, settings_.Values());

    // ...and deletes them again.
    for (const ToggleDef& toggle : toggles) settings_.Delete(Name(toggle.valueName));
    const ValueSnapshot emptied = settings_.Values();
    Click(L"cmdRefresh");
    for (const ToggleDef& toggle : toggles) {
        EXPECT_EQ(IsInverted(toggle) ? BST_INDETERMINATE : BST_UNCHECKED, State(toggle.control))
            << Utf8(toggle.control) << " after the values went";
    }
    EXPECT_EQ(emptied, settings_.Values());
    EXPECT_EQ(1u, program_->TopLevelWindows().size()) << "refresh must not show a message box";
}

} // namespace
} // namespace vellicor::e2e
