#include "e2e/PlayerFiles.h"

#include "platform/ErrorText.h"

#include <atomic>

namespace vellicor::e2e {

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

InstallFolder::InstallFolder(const std::wstring& nameSuffix) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"vellicor-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + nameSuffix;
    RemoveTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

InstallFolder::~InstallFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    const HANDLE raw =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return;
    const UniqueHandle file(raw);
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    const HANDLE raw = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
    const UniqueHandle file(raw);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

void SetAttributes(const std::wstring& path, DWORD attributes) { ::SetFileAttributesW(path.c_str(), attributes); }

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

LockedFile::LockedFile(const std::wstring& path) {
    const HANDLE raw = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (raw != INVALID_HANDLE_VALUE) handle_ = UniqueHandle(raw);
}

std::optional<MessageBoxView> NextMessageBox(const VellicorProcess& program, HWND previous, Milliseconds timeout) {
    if (previous && !WaitUntil([previous] { return !::IsWindow(previous) || !::IsWindowVisible(previous); })) {
        return std::nullopt;
    }
    return program.WaitForMessageBox(timeout);
}

std::wstring SystemText(DWORD code) { return platform::SystemErrorText(static_cast<std::int32_t>(code)); }

std::wstring FailureReport(const std::wstring& what, DWORD code) {
    return what + L"\r\n\r\n" + std::to_wstring(code) + L": " + SystemText(code);
}

} // namespace vellicor::e2e
