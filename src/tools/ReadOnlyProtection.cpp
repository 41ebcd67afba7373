#include "tools/ReadOnlyProtection.h"

#include "core/ErrorState.h"
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

// Only the read-only bit changes; every other bit goes back exactly as read, whatever it
// is. The system takes a word of 0 for "change nothing", and NORMAL, which means "no
// other bit", is valid only alone: it is dropped where other bits remain and sent in
// place of an empty word.
std::uint32_t AttributeWord(std::uint32_t read, bool readOnly) {
    std::uint32_t word = (readOnly ? read | kAttributeReadOnly : read & ~kAttributeReadOnly) & ~kAttributeNormal;
    return word != 0 ? word : kAttributeNormal;
}

std::wstring MissingFileMessage(const ReadOnlyBoxDef& def, const std::wstring& path) {
    std::wstring text = ui::messages::kCouldNotFind;
    text += path;
    if (def.globalPlaylistNote) text += ui::messages::kGlobalPlaylistNote;
    return text;
}

// Shows whether the file is read-only. Where the file cannot be read the box stays
// grayed, with the missing-file message when there are dialogs to show it; an unreadable
// folder leaves it grayed without a word.
void Load(const ReadOnlyBoxDef& def, ui::Control& box, const registry::RegistryKey* settingsKey,
          platform::FileSystem& files, platform::Dialogs* dialogs) {
    ErrorState error;
    std::wstring path;
    std::uint32_t attributes = 0;
    if (!error.Try([&] { path = HostFilePath(settingsKey, def.fileName); })) return;
    if (!error.Try([&] { attributes = OpenChecked(files, path, platform::FileAccess::ReadAttributes)->Attributes(); })) {
        if (dialogs) dialogs->Show(MissingFileMessage(def, path), kMbOk | kMbIconExclamation);
        return;
    }
    box.SetValue((attributes & kAttributeReadOnly) != 0 ? ui::kChecked : ui::kUnchecked);
}

} // namespace

std::span<const ReadOnlyBoxDef> ReadOnlyBoxes() { return kBoxes; }

void RunReadOnlyBox(const ReadOnlyBoxDef& def, ui::Control& box, const registry::RegistryKey* settingsKey,
                    platform::FileSystem& files, platform::Dialogs& dialogs) {
    const int state = box.Value();
    if (state == ui::kGrayed) {
        Load(def, box, settingsKey, files, &dialogs);
        return;
    }
    if (state != ui::kChecked && state != ui::kUnchecked) return;
    ErrorState error;
    error.Try([&] {
        const auto file = OpenChecked(files, HostFilePath(settingsKey, def.fileName), platform::FileAccess::WriteAttributes);
        file->SetAttributes(AttributeWord(file->Attributes(), state == ui::kChecked));
    });
    if (!error.Failed()) return;
    // Nothing was stored: show what is, not what the user asked for.
    box.SetValue(ui::kGrayed);
    Load(def, box, settingsKey, files, nullptr);
}

} // namespace vellicor::tools
