#include "doubles/FormHarness.h"

#include "app/RegistryToggles.h"

#include <gtest/gtest.h>

namespace vellicor::test {
namespace {

using registry::EncodeDword;
using registry::RawValue;

struct LoadCase {
    const char* what;
    std::optional<RawValue> stored;
    int inverted; // state an inverted toggle loads to
    int presence; // state the presence toggle loads to
};

TEST(Toggles, LoadFollowsTheStoredValue) {
    const std::vector<LoadCase> cases = {
        {"0", EncodeDword(0), ui::kChecked, ui::kChecked},
        {"1", EncodeDword(1), ui::kUnchecked, ui::kChecked},
        {"2", EncodeDword(2), ui::kGrayed, ui::kChecked},
        {"-1", EncodeDword(-1), ui::kGrayed, ui::kChecked},
        {"missing", std::nullopt, ui::kGrayed, ui::kUnchecked},
        {"text", registry::EncodeText(L"0"), ui::kGrayed, ui::kUnchecked},
        {"short dword", RawValue{registry::kRegDword, {0, 0}}, ui::kGrayed, ui::kUnchecked},
        {"binary", RawValue{registry::kRegBinary, {0, 0, 0, 0}}, ui::kGrayed, ui::kUnchecked},
    };
    for (const LoadCase& c : cases) {
        for (const app::ToggleDef& toggle : app::RegistryToggles()) {
            FormHarness h;
            const std::wstring name(toggle.valueName);
            if (c.stored) h.registry->SetValue(kSettings, name, *c.stored);
            ASSERT_TRUE(h.Start());
            const int expected = toggle.kind == app::ToggleKind::Inverted ? c.inverted : c.presence;
            EXPECT_EQ(expected, h.Box(std::wstring(toggle.control)).Value()) << c.what << " " << Narrow(name);
            EXPECT_EQ(0, h.registry->WriteCount()) << c.what;
        }
    }
}

TEST(Toggles, EachUserClickWritesOnceTheInvertedNumber) {
    for (const app::ToggleDef& toggle : app::RegistryToggles()) {
        if (toggle.kind != app::ToggleKind::Inverted) continue;
        FormHarness h;
        const std::wstring name(toggle.valueName);
        h.SetDword(name, 1);
        ASSERT_TRUE(h.Start());
        ui::Control& box = h.Box(std::wstring(toggle.control));

        box.UserClick();
        EXPECT_EQ(ui::kChecked, box.Value());
        EXPECT_EQ(EncodeDword(0), h.Value(name)) << Narrow(name);
        box.UserClick();
        EXPECT_EQ(EncodeDword(1), h.Value(name)) << Narrow(name);
        EXPECT_EQ(2, h.registry->WriteCount());
    }
}

TEST(Toggles, ClickOnAGrayedBoxCreatesTheMissingValueAsADword) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    ui::Control& box = h.Box(L"chkTenths");
    ASSERT_EQ(ui::kGrayed, box.Value());
    box.UserClick();
    EXPECT_EQ(ui::kChecked, box.Value());
    EXPECT_EQ(EncodeDword(0), h.Value(L"NoTenths"));
    box.UserClick();
    EXPECT_EQ(EncodeDword(1), h.Value(L"NoTenths"));
}

TEST(Toggles, WritingOverAValueOfAnotherTypeLeavesADword) {
    FormHarness h;
    h.registry->SetValue(kSettings, L"NoCheckDead", registry::EncodeText(L"yes"));
    ASSERT_TRUE(h.Start());
    ui::Control& box = h.Box(L"chkVerify");
    ASSERT_EQ(ui::kGrayed, box.Value());
    box.UserClick();
    EXPECT_EQ(EncodeDword(0), h.Value(L"NoCheckDead"));
}

TEST(Toggles, BoostIsCreatedOnCheckAndDeletedOnUncheck) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    ui::Control& box = h.Box(L"chkBoost");
    ASSERT_EQ(ui::kUnchecked, box.Value());

    box.UserClick();
    EXPECT_EQ(EncodeDword(1), h.Value(L"Boost"));
    box.UserClick();
    EXPECT_FALSE(h.Value(L"Boost"));
    EXPECT_EQ(2, h.registry->WriteCount());

    h.registry->SetValue(kSettings, L"Boost", EncodeDword(9));
    box.UserClick();
    EXPECT_EQ(EncodeDword(1), h.Value(L"Boost")) << "checking writes 1 over what was there";
}

TEST(Toggles, UncheckingBoostWhileAbsentWritesNothing) {
    FormHarness h;
    h.SetDword(L"Boost", 1);
    ASSERT_TRUE(h.Start());
    h.registry->DeleteValue(kSettings, L"Boost");
    h.Box(L"chkBoost").UserClick();
    EXPECT_EQ(ui::kUnchecked, h.Box(L"chkBoost").Value());
    EXPECT_FALSE(h.Value(L"Boost"));
    EXPECT_EQ(0, h.registry->WriteCount());
}

TEST(Toggles, FailedWritesAreSilentAndTheBoxShowsWhatIsStored) {
    FormHarness h;
    h.SetDword(L"NoTenths", 1);
    h.SetDword(L"Boost", 1);
    ASSERT_TRUE(h.Start());
    h.registry->DenyWrites(kSettings);
    h.Box(L"chkTenths").UserClick();
    h.Box(L"chkBoost").UserClick();
    EXPECT_EQ(ui::kUnchecked, h.Box(L"chkTenths").Value());
    EXPECT_EQ(ui::kChecked, h.Box(L"chkBoost").Value()) << "the deletion failed: Boost is still there";
    EXPECT_EQ(EncodeDword(1), h.Value(L"NoTenths"));
    EXPECT_TRUE(h.dialogs.shown.empty());
}

} // namespace
} // namespace vellicor::test
