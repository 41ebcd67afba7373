#include "tools/ReadOnlyProtection.h"

#include "core/ErrorCodes.h"
#include "core/ErrorState.h"
#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/HostFiles.h"
#include "ui/Messages.h"

#include <array>
#include <string>

namespace vellicor::tools {

namespace {

using namespace win32values;

constexpr std::array<ReadOnlyBoxDef, 2> kBoxes{{
    {L"chkLibReadOnly", kMediaLibraryFile, true},
    {L"chkPlayReadOnly", kDefaultPlaylistFile, false},
}};

// A directory standing where the file should be is not the player's file: it counts
// as missing, and its attributes are never touched.
std::uint32_t FileAttributes(platform::FileSystem& files, const std::wstring& path) {
    const std::uint32_t attributes = files.GetAttributes(path);
    if ((attributes & kAttributeDirectory) != 0) throw SystemFailure(errors::kFileNotFound);
    return attributes;
}

std::wstring MissingFileMessage(const ReadOnlyBoxDef& def, const std::wstring& path) {
    std::wstring text = ui::messages::kCouldNotFind;
    text += path;
    if (def.globalPlaylistNote) text += ui::messages::kGlobalPlaylistNote;
    return text;
}

} // namespace

std::span<const ReadOnlyBoxDef> ReadOnlyBoxes() { return kBoxes; }

void RunReadOnlyBox(const ReadOnlyBoxDef& def, ui::Control& box, const registry::RegistryKey* settingsKey,
                    platform::FileSystem& files, platform::Dialogs& dialogs) {
    ErrorState error;
    std::wstring path;
    if (!error.Try([&] { path = HostFilePath(settingsKey, def.fileName); })) return;

    switch (box.Value()) {
    case ui::kChecked:
        error.Try([&] { files.SetAttributes(path, FileAttributes(files, path) | kAttributeReadOnly); });
        break;
    case ui::kUnchecked:
        error.Try([&] { files.SetAttributes(path, FileAttributes(files, path) & ~kAttributeReadOnly); });
        break;
    case ui::kGrayed: {
        std::uint32_t attributes = 0;
        if (!error.Try([&] { attributes = FileAttributes(files, path); })) {
            dialogs.Show(MissingFileMessage(def, path), kMbOk | kMbIconExclamation);
            return;
        }
        box.SetValue((attributes & kAttributeReadOnly) != 0 ? ui::kChecked : ui::kUnchecked);
        break;
    }
    default:
        break;
    }
}

} // namespace vellicor::tools
