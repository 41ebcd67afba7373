// The check box as the program's logic sees it: what raises Click, what a user click
// gives, and the guard that keeps a handler from running inside itself.
#include "app/RegistryToggles.h"
#include "unit/Doubles.h"
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

// Where the registry refuses a write (no right to write), the box shows what is stored,
// not what the user asked for: an inverted toggle whose 0 was refused, and Boost whose
// deletion was.
TEST(Toggles, AWriteTheRegistryRefusesLeavesTheBoxShowingWhatIsStored) {
    const auto key = std::make_shared<test::MemoryKey>();
    key->values = {{L"NoTenths", registry::EncodeDword(1)}, {L"Boost", registry::EncodeDword(1)}};
    const registry::RegistryKey settings = test::KeyOver(key);
    for (const app::ToggleDef& toggle : app::RegistryToggles()) {
        if (toggle.valueName != L"NoTenths" && toggle.valueName != L"Boost") continue;
        const ControlDef def[] = {{toggle.control, ControlKind::CheckBox, L"", L"", 0, 0, 1, 1, 0, L"", kGrayed}};
        Window window(def);
        Control& box = window.Get(toggle.control);
        ReentryGuard guard;
        box.onClick = [&] { guard.Run(box, [&] { app::RunToggle(toggle, box, &settings); }); };
        key->denyWrites = false;
        box.onClick(); // loaded as the sweep would
        const int loaded = box.Value();
        key->denyWrites = true;
        box.UserClick();
        EXPECT_EQ(loaded, box.Value()) << std::string(toggle.control.begin(), toggle.control.end());
    }
    EXPECT_EQ(registry::EncodeDword(1), key->values.at(L"NoTenths"));
    EXPECT_EQ(registry::EncodeDword(1), key->values.at(L"Boost"));
}

} // namespace
} // namespace vellicor::ui
