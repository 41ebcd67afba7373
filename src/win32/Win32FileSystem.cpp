#include "win32/Win32FileSystem.h"

#include "core/Failure.h"
#include "core/Paths.h"
#include "win32/Handles.h"
#include "win32/SizedString.h"
#include "win32/SystemLibrary.h"

#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace vellicor::win32 {

namespace {

[[noreturn]] void ThrowLastError() { throw SystemFailure(static_cast<std::int32_t>(::GetLastError())); }

using paths::IsDrivePath;
using paths::IsSeparator;

bool IsUncPath(std::wstring_view path) { return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]); }

// "\\?\..." and "\\.\..." are already in the form the system takes literally.
bool IsDevicePath(std::wstring_view path) {
    return path.size() >= 4 && path[0] == L'\\' && path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.') &&
           path[3] == L'\\';
}

std::wstring FullPath(const std::wstring& path) {
    auto full = SizedString(
        [&](wchar_t* buffer, DWORD size) { return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
    if (!full) ThrowLastError();
    return *std::move(full);
}

// Unique within the process by the counter, between processes by the clock; a clash
// is caught by CREATE_NEW anyway.
std::wstring TemporarySuffix() {
    static std::atomic<std::uint32_t> counter{0};
    // 2^32 divided by the golden ratio: consecutive counts land far apart in every bit.
    constexpr std::uint32_t kSpread = 0x9E3779B9u;
    constexpr std::wstring_view kHexDigits = L"0123456789abcdef";
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    std::uint32_t mixed =
        static_cast<std::uint32_t>(now.QuadPart) ^ (::GetCurrentProcessId() << 16) ^ (counter.fetch_add(1) * kSpread);
    std::wstring suffix = L".~vlc";
    // Eight hex digits, the most significant first.
    for (int shift = 32 - 4; shift >= 0; shift -= 4) suffix += kHexDigits[(mixed >> shift) % 16];
    suffix += L".tmp";
    return suffix;
}

// Wine 8 cannot give a final path of MAX_PATH characters or more (it fails with 234),
// though the object name it would have converted is there, as "\??\C:\...". Windows
// names its objects by device ("\Device\..."), which this leaves alone.
std::wstring ObjectNameAsDosPath(HANDLE file) {
    using QueryObject = LONG(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, void*, ULONG, ULONG*);
    const auto query = LibraryFunction<QueryObject>(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject");
    std::vector<std::uint64_t> buffer(std::size_t{8} * 1024); // 64 KB, more than the longest path
    ULONG size = 0;
    if (!query || query(file, static_cast<OBJECT_INFORMATION_CLASS>(1) /* ObjectNameInformation */, buffer.data(),
                        static_cast<ULONG>(buffer.size() * sizeof buffer[0]), &size) != 0) {
        return {};
    }
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    const std::wstring_view text(name->Buffer, name->Length / sizeof(wchar_t));
    return text.starts_with(L"\\??\\") ? L"\\\\?\\" + std::wstring(text.substr(4)) : std::wstring();
}

} // namespace

std::wstring FinalPathOf(HANDLE file, FinalPathQuery query) {
    // The normalised name asks the file system for every folder's own spelling: over SMB
    // a folder the user may not list refuses it (5), and some RAM-disk drivers do not
    // know the request (1). The name as opened still ends in the file's own name. A
    // volume without a drive letter or folder to show it by has only its GUID name, which
    // the file functions take too.
    for (const DWORD form : {FILE_NAME_NORMALIZED, FILE_NAME_OPENED}) {
        for (const DWORD volume : {VOLUME_NAME_DOS, VOLUME_NAME_GUID}) {
            if (auto path = SizedString(
                    [&](wchar_t* buffer, DWORD size) { return query(file, buffer, size, form | volume); })) {
                return *std::move(path);
            }
        }
    }
    const DWORD error = ::GetLastError();
    std::wstring path = ObjectNameAsDosPath(file);
    if (path.empty()) throw SystemFailure(static_cast<std::int32_t>(error));
    return path;
}

namespace {

class Win32OpenFile : public platform::OpenFile {
public:
    Win32OpenFile(std::wstring path, UniqueFile file, FileInformationCalls calls)
        : OpenFile(std::move(path)), file_(std::move(file)), calls_(calls) {}

    std::wstring FinalPath() override { return FinalPathOf(file_.Get()); }

    std::uint32_t Attributes() override {
        FILE_BASIC_INFO info{};
        if (!calls_.get(file_.Get(), FileBasicInfo, &info, sizeof info)) ThrowLastError();
        return info.FileAttributes;
    }

    // The times stay 0, which leaves them as they are.
    void SetAttributes(std::uint32_t attributes) override {
        FILE_BASIC_INFO info{};
        info.FileAttributes = attributes;
        if (!calls_.set(file_.Get(), FileBasicInfo, &info, sizeof info)) ThrowLastError();
    }

    void Delete() override {
        if (!SetDeleteOnClose(true)) ThrowLastError();
    }

    // Should the program be ended or crash before a new file is in place, the system
    // deletes it as it closes the handle. (The mark lives in memory: a power cut still
    // leaves the file.) Some network and third-party file systems refuse the mark, and
    // with it a deletion through the handle: there a failure before the rename leaves the
    // new file behind.
    void MarkTemporary() { marked_ = SetDeleteOnClose(true); }

    void Write(std::span<const char> bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(file_.Get(), bytes.data(), chunk, &written, nullptr)) ThrowLastError();
            if (written == 0) throw SystemFailure(ERROR_WRITE_FAULT);
            bytes = bytes.subspan(written);
        }
    }

    void MoveOver(const std::wstring& target) override {
        if (!::FlushFileBuffers(file_.Get())) ThrowLastError();
        if (marked_) KeepWhenClosed();
        const std::wstring name = SystemPath(target);
        // FILE_RENAME_INFO ends in the name; whole 8-byte words keep its handle aligned.
        const std::size_t size = offsetof(FILE_RENAME_INFO, FileName) + (name.size() + 1) * sizeof(wchar_t);
        constexpr std::size_t kWord = sizeof(std::uint64_t);
        std::vector<std::uint64_t> buffer((size + kWord - 1) / kWord);
        auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        info->ReplaceIfExists = TRUE; // NOLINT(cppcoreguidelines-pro-type-union-access): a union of the system's
        info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
        // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-array-to-pointer-decay): the name runs on past FileName[1]
        std::memcpy(info->FileName, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
        if (!calls_.set(file_.Get(), FileRenameInfo, info, static_cast<DWORD>(size))) {
            ThrowLastError();
        }
    }

private:
    bool SetDeleteOnClose(bool deleteOnClose) {
        FILE_DISPOSITION_INFO info{};
        info.DeleteFile = deleteOnClose ? TRUE : FALSE;
        return calls_.set(file_.Get(), FileDispositionInfo, &info, sizeof info) != FALSE;
    }

    // Clearing the mark is the same call as setting it, with the same access check, so it
    // is cleared only where it was set. A file system may take the clearing as a no-op: a
    // file renamed in place while its deletion is still pending would vanish as its handle
    // closes, and the old file with it.
    void KeepWhenClosed() {
        if (!SetDeleteOnClose(false)) ThrowLastError();
        FILE_STANDARD_INFO standard{};
        if (!calls_.get(file_.Get(), FileStandardInfo, &standard, sizeof standard)) ThrowLastError();
        if (standard.DeletePending) throw SystemFailure(ERROR_NOT_SUPPORTED);
        marked_ = false;
    }

    UniqueFile file_;
    FileInformationCalls calls_;
    bool marked_ = false; // goes when the handle closes, until it is in place
};

} // namespace

std::wstring WithLongPathPrefix(std::wstring_view fullPath) {
    if (IsDevicePath(fullPath)) return std::wstring(fullPath);
    if (IsDrivePath(fullPath)) return L"\\\\?\\" + std::wstring(fullPath);
    if (IsUncPath(fullPath)) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
    return std::wstring(fullPath);
}

std::wstring SystemPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || IsDevicePath(path) || !(IsDrivePath(path) || IsUncPath(path))) return path;
    // The prefix switches off the system's own clean-up, so do it first: doubled and
    // forward slashes, "." and "..", trailing dots and blanks.
    return WithLongPathPrefix(FullPath(path));
}

std::unique_ptr<platform::OpenFile> Win32FileSystem::Open(const std::wstring& path, platform::FileAccess access) {
    DWORD rights = FILE_READ_ATTRIBUTES;
    if (access == platform::FileAccess::WriteAttributes) rights |= FILE_WRITE_ATTRIBUTES;
    if (access == platform::FileAccess::Delete) rights |= DELETE;
    // Shared every way, so that the player is never locked out. Without
    // FILE_FLAG_BACKUP_SEMANTICS a directory does not open (access denied); without
    // FILE_FLAG_OPEN_REPARSE_POINT a link leads to the file it names.
    UniqueFile file(::CreateFileW(SystemPath(path).c_str(), rights,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!file) ThrowLastError();
    return std::make_unique<Win32OpenFile>(path, std::move(file), calls_);
}

std::unique_ptr<platform::OpenFile> Win32FileSystem::CreateTemporary(const std::wstring& stem) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::wstring path = stem + TemporarySuffix();
        // Not shared: nothing else can open, move or delete it while it is being written.
        const HANDLE handle = ::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        UniqueFile file(handle);
        if (file) {
            auto created = std::make_unique<Win32OpenFile>(std::move(path), std::move(file), calls_);
            created->MarkTemporary();
            return created;
        }
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            throw SystemFailure(static_cast<std::int32_t>(error));
        }
    }
    throw SystemFailure(ERROR_FILE_EXISTS);
}

} // namespace vellicor::win32
