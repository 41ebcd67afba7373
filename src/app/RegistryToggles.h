#pragma once

#include "registry/Registry.h"
#include "ui/toolkit/Control.h"

#include <span>
#include <string_view>

namespace vellicor::app {

// Inverted: the value's name starts with "No", so a stored 0 shows checked.
// Presence: checked while the value exists, whatever it holds; unchecking deletes it.
enum class ToggleKind { Inverted, Presence };

// One registry toggle: its check box (whose caption is in the window layout) and the
// value under the player's settings key that it shows and switches.
struct ToggleDef {
    std::wstring_view control;
    std::wstring_view valueName;
    ToggleKind kind;
};

// Top to bottom as they stand in the "Registry settings" group.
std::span<const ToggleDef> RegistryToggles();

// One run of the tri-state protocol for a toggle whose box has just changed (or is
// asked to load): checked and unchecked are written at once, grayed loads. Failures
// are silent; a write that fails loads the box again, so that it shows what is stored.
// settingsKey may be empty, in which case every registry step fails.
void RunToggle(const ToggleDef& toggle, ui::Control& box, const registry::RegistryKey* settingsKey);

} // namespace vellicor::app
