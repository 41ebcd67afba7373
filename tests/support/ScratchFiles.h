#pragma once

// Real files for the tests that run on Windows or Wine: a fresh folder per test, and
// the file operations the tests use to lay it out and look at it afterwards. Paths are
// taken literally (with the \\?\ prefix), so that long paths can be set up and checked
// without relying on the code under test.

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellicor::test {

// The path with the \\?\ prefix that switches off the system's path rewriting.
std::wstring LiteralPath(const std::wstring& path);

// A new, empty folder under the temporary folder, removed with everything in it when
// this goes away. The suffix may carry extra text (non-ASCII letters, length).
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring_view prefix = L"vellicor-test", std::wstring_view suffix = L"");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, std::string_view bytes);
std::optional<std::string> ReadBytes(const std::wstring& path);
DWORD Attributes(const std::wstring& path); // INVALID_FILE_ATTRIBUTES when missing
void SetAttributes(const std::wstring& path, DWORD attributes);
// The names in the folder, sorted: for "nothing was left behind" checks.
std::vector<std::wstring> FileNames(const std::wstring& folder);
void RemoveTree(const std::wstring& folder);

// Holds a file open without sharing, as another program might.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path);
    bool Locked() const { return static_cast<bool>(handle_); }

private:
    platform::UniqueFile handle_;
};

} // namespace vellicor::test
