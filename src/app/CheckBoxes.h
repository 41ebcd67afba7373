#pragma once

#include <span>
#include <string_view>

namespace vellicor::app {

// What a check box of the main window shows and stores.
enum class CheckBoxKind {
    InvertedToggle, // a registry value whose stored 0 shows checked
    PresenceToggle, // a registry value, checked while it exists
    ProtectedFile,  // one of the player's files, checked while it is read-only
};

// One check box: its control in the main window's layout, and the registry value (under
// the player's settings key) or the player's file it stands for.
struct CheckBoxRow {
    std::wstring_view control;
    CheckBoxKind kind;
    std::wstring_view target;
    bool globalPlaylistNote = false; // a protected file's missing-file message adds the note
};

// Every check box of the main window, the registry toggles top to bottom first.
std::span<const CheckBoxRow> CheckBoxes();

} // namespace vellicor::app
