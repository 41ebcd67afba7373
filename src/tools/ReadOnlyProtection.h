#pragma once

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"
#include "ui/toolkit/Control.h"

#include <span>
#include <string_view>

namespace vellicor::tools {

// A check box that shows and sets the read-only attribute of one of the player's files.
struct ReadOnlyBoxDef {
    std::wstring_view control;
    std::wstring_view fileName;
    bool globalPlaylistNote; // the missing-file message adds the note on global playlists
};

std::span<const ReadOnlyBoxDef> ReadOnlyBoxes();

// One run of the tri-state protocol on the file's attributes: checked sets the
// read-only bit, unchecked clears it (every other bit written back as read), grayed
// loads it, showing the missing-file message when the attributes cannot be read. A
// write that fails loads the box again, silently, so that it shows what is stored.
void RunReadOnlyBox(const ReadOnlyBoxDef& def, ui::Control& box, const registry::RegistryKey* settingsKey,
                    platform::FileSystem& files, platform::Dialogs& dialogs);

} // namespace vellicor::tools
