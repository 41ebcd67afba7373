// The check box as the program's logic sees it: what raises Click, what a user click
// gives, and the guard that keeps a handler from running inside itself.
#include "ui/toolkit/ReentryGuard.h"
#include "ui/toolkit/Window.h"

#include <gtest/gtest.h>

namespace vellicor::ui {
namespace {

constexpr ControlDef kBox[] = {{L"chkA", ControlKind::CheckBox, L"", L"A", 0, 0, 10, 10, 0, L"", kGrayed}};

TEST(CheckBoxModel, ChangesRaiseClickOnceUsersNeverGetGrayedAndTheGuardHoldsOffNestingAndDisabledBoxes) {
    Window window(kBox);
    Control& box = window.Get(L"chkA");
    ReentryGuard guard;
    std::vector<int> seen;
    // Like a handler that loads: grayed asks it to set the state, which raises Click again.
    box.onClick = [&] { guard.Run(box, [&] { seen.push_back(box.Value()), box.Value() == kGrayed ? box.SetValue(kChecked) : void(); }); };

    box.SetValue(kGrayed); // no change, no Click
    box.UserClick();
    box.UserClick();
    box.SetValue(kGrayed);
    EXPECT_EQ((std::vector{kChecked, kUnchecked, kGrayed}), seen);
    EXPECT_EQ(kChecked, box.Value()) << "the nested Click of the load ran nothing";
    box.SetEnabled(false);
    box.UserClick();
    box.SetValue(kUnchecked);
    EXPECT_EQ(3u, seen.size()) << "a disabled box runs nothing";
}

} // namespace
} // namespace vellicor::ui
