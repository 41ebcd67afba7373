#include "ui/toolkit/Control.h"
#include "ui/toolkit/ReentryGuard.h"
#include "ui/toolkit/Window.h"

#include "core/Failure.h"

#include <gtest/gtest.h>

#include <array>

namespace vellicor::ui {
namespace {

constexpr std::array<ControlDef, 3> kDefinition{{
    {L"fraA", ControlKind::Frame, L"", L"A", 0, 0, 10, 10, 1, L""},
    {L"chkA", ControlKind::CheckBox, L"fraA", L"Check", 0, 0, 10, 10, 0, L"tip", kGrayed},
    {L"cmdA", ControlKind::CommandButton, L"", L"Go", 0, 0, 10, 10, 2, L"go tip"},
}};

TEST(CheckBoxModel, EveryChangeRaisesClickOnceAndNoChangeRaisesNothing) {
    Window window(kDefinition);
    Control& box = window.Get(L"chkA");
    std::vector<int> seen;
    box.onClick = [&] { seen.push_back(box.Value()); };

    box.SetValue(kGrayed);
    EXPECT_TRUE(seen.empty()) << "same state raises nothing";
    box.SetValue(kUnchecked);
    box.SetValue(kChecked);
    box.SetValue(kChecked);
    EXPECT_EQ((std::vector<int>{kUnchecked, kChecked}), seen);
}

TEST(CheckBoxModel, UserClicksNeverProduceGrayedAndAreIgnoredWhileDisabled) {
    Window window(kDefinition);
    Control& box = window.Get(L"chkA");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };

    box.UserClick();
    EXPECT_EQ(kChecked, box.Value()) << "a click on a grayed box checks it";
    box.UserClick();
    EXPECT_EQ(kUnchecked, box.Value());
    box.UserClick();
    EXPECT_EQ(kChecked, box.Value());
    EXPECT_EQ(3, clicks);

    box.SetEnabled(false);
    box.UserClick();
    EXPECT_EQ(kChecked, box.Value());
    EXPECT_EQ(3, clicks);
}

TEST(CheckBoxModel, NestedChangeInsideTheHandlerIsSwallowedByTheGuard) {
    Window window(kDefinition);
    Control& box = window.Get(L"chkA");
    ReentryGuard guard;
    int bodies = 0;
    box.onClick = [&] {
        guard.Run(box, [&] {
            ++bodies;
            if (box.Value() == kGrayed) box.SetValue(kChecked); // a load, raising Click again
        });
    };
    box.SetValue(kUnchecked);
    box.SetValue(kGrayed);
    EXPECT_EQ(kChecked, box.Value());
    EXPECT_EQ(2, bodies) << "the nested run must return at once";
    EXPECT_FALSE(guard.Active());
}

TEST(WindowModel, ControlsKeepCreationOrderAndPropertiesAndOperationsGoByName) {
    Window window(kDefinition);
    std::vector<std::wstring> order;
    for (const auto& control : window.Controls()) order.push_back(control->Name());
    EXPECT_EQ((std::vector<std::wstring>{L"fraA", L"chkA", L"cmdA"}), order);

    EXPECT_EQ(L"CheckBox", window.Get(L"chkA").TypeName());
    EXPECT_EQ(L"tip", window.Get(L"chkA").Property(L"Tag"));
    EXPECT_EQ(L"Go", window.Get(L"cmdA").Property(L"Caption"));
    EXPECT_THROW(window.Get(L"cmdA").Property(L"Colour"), Failure);

    int calls = 0;
    window.DefineOperation(L"chkA_Click", [&] { ++calls; });
    window.CallByName(L"chkA_Click");
    EXPECT_EQ(1, calls);
    EXPECT_THROW(window.CallByName(L"chkA_click"), Failure) << "names are exact";
    EXPECT_THROW(window.Get(L"chkB"), Failure);
}

} // namespace
} // namespace vellicor::ui
