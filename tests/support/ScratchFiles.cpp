#include "support/ScratchFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace vellicor::test {

std::wstring LiteralPath(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\")) return path;
    // The prefix switches off the system's clean-up of doubled and forward slashes, so
    // clean up first.
    std::wstring full(32768, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

ScratchFolder::ScratchFolder(std::wstring_view prefix, std::wstring_view suffix) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1]{};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp, length) + std::wstring(prefix) + L"-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(++counter) + std::wstring(suffix);
    RemoveTree(path_);
    EXPECT_TRUE(::CreateDirectoryW(LiteralPath(path_).c_str(), nullptr)) << ::GetLastError();
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, std::string_view bytes) {
    const platform::UniqueFile file(::CreateFileW(LiteralPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << ::GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(bytes.size(), written);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    const platform::UniqueFile file(::CreateFileW(LiteralPath(path).c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(LiteralPath(path).c_str()); }

void SetAttributes(const std::wstring& path, DWORD attributes) {
    ::SetFileAttributesW(LiteralPath(path).c_str(), attributes);
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const HANDLE find = ::FindFirstFileW(LiteralPath(folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::wstring& folder) {
    for (const std::wstring& name : FileNames(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const DWORD attributes = Attributes(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            RemoveTree(path);
        } else {
            SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(LiteralPath(path).c_str());
        }
    }
    ::RemoveDirectoryW(LiteralPath(folder).c_str());
}

LockedFile::LockedFile(const std::wstring& path)
    : handle_(::CreateFileW(LiteralPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {}

} // namespace vellicor::test
