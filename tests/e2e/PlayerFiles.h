#pragma once

// Real files for the end-to-end tests: a fresh install folder per test, and the few
// file operations the tests use to lay it out and look at it afterwards.

#include "e2e/Driver.h"

#include <optional>
#include <string>

namespace vellicor::e2e {

// A new, empty folder under the temporary folder, removed with everything in it when
// this goes away. The name may carry extra text (non-ASCII letters, length).
class InstallFolder {
public:
    explicit InstallFolder(const std::wstring& nameSuffix = L"");
    ~InstallFolder();
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadBytes(const std::wstring& path);
DWORD Attributes(const std::wstring& path); // INVALID_FILE_ATTRIBUTES when missing
void SetAttributes(const std::wstring& path, DWORD attributes);
// The files in the folder, for "nothing was left behind" checks.
std::vector<std::wstring> FileNames(const std::wstring& folder);

// Holds a file open without sharing, as another program might.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path);
    bool Locked() const { return static_cast<bool>(handle_); }

private:
    UniqueHandle handle_;
};

// The message box that follows `previous` (null for the first one): waits until the
// previous box is gone, then for the next one.
std::optional<MessageBoxView> NextMessageBox(const VellicorProcess& program, HWND previous,
                                             Milliseconds timeout = kPatience);

// The system's text for an error number, as the program shows it.
std::wstring SystemText(DWORD code);

// "what\r\n\r\nnumber: description", the commands' failure report.
std::wstring FailureReport(const std::wstring& what, DWORD code);

} // namespace vellicor::e2e
