#include "tools/FileCommands.h"

#include "core/ErrorCodes.h"
#include "core/ErrorState.h"
#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/FailureReport.h"
#include "tools/HostFiles.h"
#include "ui/Messages.h"

#include <memory>
#include <optional>
#include <string>

namespace vellicor::tools {

namespace {

using namespace win32values;
namespace msg = ui::messages;

bool Confirmed(platform::Dialogs& dialogs, const wchar_t* question) {
    return dialogs.Show(question, kMbOkCancel | kMbIconQuestion) == kIdOk;
}

// The final path of the playlist to replace, checked as a deletion would check it: the
// file must exist, be named xmplay.pls, and not be read-only (a rename over a read-only
// file is not refused everywhere, so we refuse it ourselves). The handle is closed
// again at once: a file held open cannot be replaced.
std::wstring ReplaceableTarget(platform::FileSystem& files, const std::wstring& path) {
    const auto target = OpenChecked(files, path, platform::FileAccess::ReadAttributes);
    if ((target->Attributes() & kAttributeReadOnly) != 0) throw SystemFailure(errors::kAccessDenied);
    return target->FinalPath();
}

// The new playlist until it is in place: should anything fail first, it is deleted
// through its own handle, which reaches nothing but the file created.
class NewPlaylist {
public:
    explicit NewPlaylist(std::unique_ptr<platform::OpenFile> file) : file_(std::move(file)) {}
    ~NewPlaylist() {
        ErrorState ignored;
        if (file_) ignored.Try([&] { file_->Delete(); });
    }
    NewPlaylist(const NewPlaylist&) = delete;
    NewPlaylist& operator=(const NewPlaylist&) = delete;

    platform::OpenFile& File() { return *file_; }
    void PutInPlaceOf(const std::wstring& target) {
        file_->Write(kEmptyPlaylist);
        file_->MoveOver(target);
        file_.reset();
    }

private:
    std::unique_ptr<platform::OpenFile> file_;
};

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

bool EmptyMediaLibrary(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                       platform::Dialogs& dialogs) {
    if (!Confirmed(dialogs, msg::kConfirmEmptyLibrary)) return false;
    try {
        const std::wstring path = HostFilePath(settingsKey, kMediaLibraryFile);
        OpenChecked(files, path, platform::FileAccess::Delete)->Delete();
        dialogs.Show(msg::kLibraryEmptied + path, kMbOk | kMbIconInformation);
        return true;
    } catch (const Failure& failure) {
        dialogs.Show(FailureReport(msg::kErrorEmptyingLibrary, failure), kMbOk | kMbIconExclamation);
        return false;
    }
}

void EmptyDefaultPlaylist(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                          platform::Dialogs& dialogs) {
    if (!Confirmed(dialogs, msg::kConfirmEmptyPlaylist)) return;
    try {
        const std::wstring path = HostFilePath(settingsKey, kDefaultPlaylistFile);
        const std::wstring target = ReplaceableTarget(files, path);

        // Beside the file the name led to, so that a link to it stays a link and leads
        // to the new playlist. Held open there, it also keeps that folder from being
        // renamed or replaced until the rename is done.
        std::optional<NewPlaylist> playlist;
        try {
            playlist.emplace(files.CreateTemporary(target));
            CheckReachedPath(playlist->File());
        } catch (const Failure& failure) {
            playlist.reset();
            dialogs.Show(OpenFailureReport(failure, path), kMbOk | kMbIconExclamation);
            return;
        }
        playlist->PutInPlaceOf(target);
        dialogs.Show(msg::kPlaylistEmptied + path, kMbOk | kMbIconInformation);
    } catch (const Failure& failure) {
        dialogs.Show(FailureReport(msg::kErrorEmptyingPlaylist, failure), kMbOk | kMbIconExclamation);
    }
}

} // namespace vellicor::tools
