#include "tools/FileCommands.h"

#include "core/ErrorCodes.h"
#include "core/ErrorState.h"
#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/HostFiles.h"

#include <memory>
#include <string>

namespace vellicor::tools {

namespace {

using namespace win32values;

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

} // namespace

Outcome EmptyMediaLibrary(const registry::RegistryKey* settingsKey, platform::FileSystem& files) {
    return Attempt([&](Outcome& outcome) {
        outcome.path = HostFilePath(settingsKey, kMediaLibraryFile);
        OpenChecked(files, outcome.path, platform::FileAccess::Delete)->Delete();
    });
}

Outcome EmptyDefaultPlaylist(const registry::RegistryKey* settingsKey, platform::FileSystem& files) {
    return Attempt([&](Outcome& outcome) {
        outcome.path = HostFilePath(settingsKey, kDefaultPlaylistFile);
        const std::wstring target = ReplaceableTarget(files, outcome.path);
        // Beside the file the name led to, so that a link to it stays a link and leads
        // to the new playlist. Held open there, it also keeps that folder from being
        // renamed or replaced until the rename is done.
        outcome.creating = true;
        NewPlaylist playlist(files.CreateTemporary(target));
        CheckReachedPath(playlist.File());
        outcome.creating = false;
        playlist.PutInPlaceOf(target);
    });
}

} // namespace vellicor::tools
