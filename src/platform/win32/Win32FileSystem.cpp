#include "platform/win32/Win32FileSystem.h"

#include "core/Failure.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace vellicor::platform {

namespace {

[[noreturn]] void ThrowLastError() { throw SystemFailure(static_cast<std::int32_t>(::GetLastError())); }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDrivePath(std::wstring_view path) {
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && IsSeparator(path[2]);
}

bool IsUncPath(std::wstring_view path) { return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]); }

// "\\?\..." and "\\.\..." are already in the form the system takes literally.
bool IsDevicePath(std::wstring_view path) {
    return path.size() >= 4 && path[0] == L'\\' && path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.') &&
           path[3] == L'\\';
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) ThrowLastError();
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (written == 0) ThrowLastError();
    full.resize(std::min<DWORD>(written, needed));
    return full;
}

// Unique within the process by the counter, between processes by the clock; a clash
// is caught by CREATE_NEW anyway.
std::wstring TemporarySuffix() {
    static std::atomic<std::uint32_t> counter{0};
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    std::uint32_t mixed = static_cast<std::uint32_t>(now.QuadPart) ^ (::GetCurrentProcessId() << 16) ^
                          (counter.fetch_add(1) * 0x9E3779B9u);
    std::wstring suffix = L".~vlc";
    for (int shift = 28; shift >= 0; shift -= 4) suffix += L"0123456789abcdef"[(mixed >> shift) & 0xF];
    suffix += L".tmp";
    return suffix;
}

class Win32ReplacementFile : public ReplacementFile {
public:
    Win32ReplacementFile(UniqueFile file, std::wstring temporaryPath, std::wstring targetPath)
        : file_(std::move(file)), temporaryPath_(std::move(temporaryPath)), targetPath_(std::move(targetPath)) {}

    ~Win32ReplacementFile() override {
        file_.Reset();
        if (!temporaryPath_.empty()) ::DeleteFileW(temporaryPath_.c_str());
    }

    Win32ReplacementFile(const Win32ReplacementFile&) = delete;
    Win32ReplacementFile& operator=(const Win32ReplacementFile&) = delete;

    void Write(std::span<const char> bytes) override {
        if (!file_) throw SystemFailure(ERROR_INVALID_HANDLE);
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(file_.Get(), bytes.data(), chunk, &written, nullptr)) ThrowLastError();
            if (written == 0) throw SystemFailure(ERROR_WRITE_FAULT);
            bytes = bytes.subspan(written);
        }
    }

    void Commit() override {
        if (!file_) throw SystemFailure(ERROR_INVALID_HANDLE);
        if (!::FlushFileBuffers(file_.Get())) ThrowLastError();
        // A failed close can mean lost data, so it is checked rather than left to RAII.
        if (!::CloseHandle(file_.Release())) ThrowLastError();
        if (!::MoveFileExW(temporaryPath_.c_str(), targetPath_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = ::GetLastError();
            ::DeleteFileW(temporaryPath_.c_str());
            temporaryPath_.clear();
            throw SystemFailure(static_cast<std::int32_t>(error));
        }
        temporaryPath_.clear();
    }

private:
    UniqueFile file_;
    std::wstring temporaryPath_; // empty once there is nothing left to clean up
    std::wstring targetPath_;
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

std::uint32_t Win32FileSystem::GetAttributes(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
    return attributes;
}

void Win32FileSystem::SetAttributes(const std::wstring& path, std::uint32_t attributes) {
    // What SetFileAttributesW can set. NORMAL is dropped too: a plain file reads back as
    // NORMAL, and NORMAL is valid only on its own, so "read, add READONLY, write back"
    // must not send it along.
    constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD settable = attributes & kSettable;
    if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileAttributesW(SystemPath(path).c_str(), settable)) ThrowLastError();
}

void Win32FileSystem::Delete(const std::wstring& path) {
    if (!::DeleteFileW(SystemPath(path).c_str())) ThrowLastError();
}

std::unique_ptr<ReplacementFile> Win32FileSystem::CreateReplacement(const std::wstring& target) {
    std::wstring targetPath = SystemPath(target);
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Beside the target, so that the final move is a rename within one folder.
        std::wstring temporaryPath = SystemPath(target + TemporarySuffix());
        const HANDLE handle = ::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        UniqueFile file(handle);
        if (file) {
            return std::make_unique<Win32ReplacementFile>(std::move(file), std::move(temporaryPath),
                                                          std::move(targetPath));
        }
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) throw SystemFailure(static_cast<std::int32_t>(error));
    }
    throw SystemFailure(ERROR_FILE_EXISTS);
}

} // namespace vellicor::platform
