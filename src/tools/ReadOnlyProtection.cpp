#include "tools/ReadOnlyProtection.h"

#include "core/ErrorState.h"
#include "core/Win32Values.h"
#include "tools/HostFiles.h"

namespace vellicor::tools {

namespace {

using namespace win32values;

// Only the read-only bit changes; every other bit goes back exactly as read, whatever it
// is. The system takes a word of 0 for "change nothing", and NORMAL, which means "no
// other bit", is valid only alone: it is dropped where other bits remain and sent in
// place of an empty word.
std::uint32_t AttributeWord(std::uint32_t read, bool readOnly) {
    std::uint32_t word = (readOnly ? read | kAttributeReadOnly : read & ~kAttributeReadOnly) & ~kAttributeNormal;
    return word != 0 ? word : kAttributeNormal;
}

} // namespace

Protection ReadProtection(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                          std::wstring_view fileName) {
    ErrorState error;
    Protection protection{Protection::State::FolderUnknown, {}};
    std::uint32_t attributes = 0;
    if (!error.Try([&] { protection.path = HostFilePath(settingsKey, fileName); })) return protection;
    if (!error.Try([&] {
            attributes = OpenChecked(files, protection.path, platform::FileAccess::ReadAttributes)->Attributes();
        })) {
        protection.state = Protection::State::FileMissing;
        return protection;
    }
    protection.state =
        (attributes & kAttributeReadOnly) != 0 ? Protection::State::ReadOnly : Protection::State::Writable;
    return protection;
}

bool WriteProtection(const registry::RegistryKey* settingsKey, platform::FileSystem& files, std::wstring_view fileName,
                     bool readOnly) {
    ErrorState error;
    return error.Try([&] {
        const auto file =
            OpenChecked(files, HostFilePath(settingsKey, fileName), platform::FileAccess::WriteAttributes);
        file->SetAttributes(AttributeWord(file->Attributes(), readOnly));
    });
}

} // namespace vellicor::tools
