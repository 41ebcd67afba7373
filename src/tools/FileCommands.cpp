#include "tools/FileCommands.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/FailureReport.h"
#include "tools/HostFiles.h"
#include "ui/Messages.h"

#include <string>

namespace vellicor::tools {

namespace {

using namespace win32values;
namespace msg = ui::messages;

bool Confirmed(platform::Dialogs& dialogs, const wchar_t* question) {
    return dialogs.Show(question, kMbOkCancel | kMbIconQuestion) == kIdOk;
}

// The checks a deletion would have made: the playlist must exist, be a file, and not
// be read-only (a rename over a read-only file is not refused everywhere, so we refuse
// it ourselves).
void CheckReplaceable(platform::FileSystem& files, const std::wstring& path) {
    const std::uint32_t attributes = files.GetAttributes(path);
    if ((attributes & (kAttributeReadOnly | kAttributeDirectory)) != 0) throw SystemFailure(errors::kAccessDenied);
}

std::wstring OpenFailureReport(const Failure& failure, const std::wstring& path) {
    std::wstring text = msg::kErrorOpeningPlaylist;
    text += std::to_wstring(failure.Number());
    text += L' ';
    text += failure.Description();
    // The system's descriptions already end with a full stop; don't double it.
    if (!failure.Description().ends_with(L'.')) text += L'.';
    text += L"\r\n\r\n";
    text += path;
    return text;
}

} // namespace

void EmptyMediaLibrary(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                       platform::Dialogs& dialogs) {
    if (!Confirmed(dialogs, msg::kConfirmEmptyLibrary)) return;
    try {
        const std::wstring path = HostFilePath(settingsKey, kMediaLibraryFile);
        files.Delete(path);
        dialogs.Show(msg::kLibraryEmptied + path, kMbOk | kMbIconInformation);
    } catch (const Failure& failure) {
        dialogs.Show(FailureReport(msg::kErrorEmptyingLibrary, failure), kMbOk | kMbIconExclamation);
    }
}

void EmptyDefaultPlaylist(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                          platform::Dialogs& dialogs) {
    if (!Confirmed(dialogs, msg::kConfirmEmptyPlaylist)) return;
    try {
        const std::wstring path = HostFilePath(settingsKey, kDefaultPlaylistFile);
        CheckReplaceable(files, path);

        std::unique_ptr<platform::ReplacementFile> replacement;
        try {
            replacement = files.CreateReplacement(path);
        } catch (const Failure& failure) {
            dialogs.Show(OpenFailureReport(failure, path), kMbOk | kMbIconExclamation);
            return;
        }
        replacement->Write({kEmptyPlaylist, sizeof kEmptyPlaylist - 1});
        replacement->Commit();
        dialogs.Show(msg::kPlaylistEmptied + path, kMbOk | kMbIconInformation);
    } catch (const Failure& failure) {
        dialogs.Show(FailureReport(msg::kErrorEmptyingPlaylist, failure), kMbOk | kMbIconExclamation);
    }
}

} // namespace vellicor::tools
