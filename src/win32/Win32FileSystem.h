#pragma once

#include "platform/FileSystem.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

namespace vellicor::win32 {

// How a file's information is set and read through its handle: the system's
// SetFileInformationByHandle and GetFileInformationByHandleEx, or stand-ins for a volume
// that answers some classes its own way.
using FileInformationCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
struct FileInformationCalls {
    FileInformationCall set = ::SetFileInformationByHandle;
    FileInformationCall get = ::GetFileInformationByHandleEx;
};

// The Win32 file system. Paths come as the user's registry gives them and are turned
// into what the system accepts by SystemPath when a file is opened; from then on only
// the handle is used.
class Win32FileSystem : public platform::FileSystem {
public:
    explicit Win32FileSystem(FileInformationCalls calls = {}) : calls_(calls) {}
    std::unique_ptr<platform::OpenFile> Open(const std::wstring& path, platform::FileAccess access) override;
    std::unique_ptr<platform::OpenFile> CreateTemporary(const std::wstring& stem) override;

private:
    FileInformationCalls calls_;
};

// The path the system gives the file behind a handle: its normalised name where the
// volume gives one, else the name it was opened by. `query` is the system's
// GetFinalPathNameByHandleW, or a stand-in for a volume that refuses some forms.
using FinalPathQuery = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
std::wstring FinalPathOf(HANDLE file, FinalPathQuery query = ::GetFinalPathNameByHandleW);

// The "\\?\" form of a full path: "\\?\C:\..." for a drive path, "\\?\UNC\server\..."
// for a network path. Relative, drive-relative and root-relative paths, and those
// already in a "\\?\" or "\\.\" form, come back unchanged. The path is not cleaned up:
// in this form the system takes every character literally.
std::wstring WithLongPathPrefix(std::wstring_view fullPath);

// The path to hand to the file functions. Below MAX_PATH characters the path is passed
// as it is (the system itself copes with doubled or forward slashes there); an absolute
// path of MAX_PATH characters or more is made canonical and given the "\\?\" prefix, so
// that it works without the system's long-path switch. Longer relative paths are left
// alone: the prefix cannot express them.
std::wstring SystemPath(const std::wstring& path);

} // namespace vellicor::win32
