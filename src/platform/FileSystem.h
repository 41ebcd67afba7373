#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace vellicor::platform {

// One file, opened once. Every operation acts through the handle on the file that the
// opening reached; none looks the path up again, so a folder or link changed in the
// meantime cannot send it elsewhere. Every failure throws Failure with the system's
// error number.
class OpenFile {
public:
    explicit OpenFile(std::wstring path) : path_(std::move(path)) {}
    virtual ~OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // The path the file was opened or created by.
    const std::wstring& Path() const { return path_; }
    // The full path of the file the handle reached, as the system names it: links,
    // junctions, mapped drives and short names resolved.
    virtual std::wstring FinalPath() = 0;
    virtual std::uint32_t Attributes() = 0;
    // Writes the whole attribute word; the system takes 0 as "change nothing".
    virtual void SetAttributes(std::uint32_t attributes) = 0;
    // The file goes when the handle is closed.
    virtual void Delete() = 0;
    virtual void Write(std::span<const char> bytes) = 0;
    // Flushes what was written, then renames the file over `target`, replacing the
    // file there in one step.
    virtual void MoveOver(const std::wstring& target) = 0;

private:
    std::wstring path_;
};

// What an opened file is for: only the access that needs is asked of the system.
enum class FileAccess { ReadAttributes, WriteAttributes, Delete };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file (never a directory), following links to the file they reach.
    virtual std::unique_ptr<OpenFile> Open(const std::wstring& path, FileAccess access) = 0;
    // Creates a new file, for writing, moving and deleting, named `stem` followed by a
    // suffix of its own; never opens a file that exists. Until it is moved over another,
    // it goes when its handle closes, even when the process is ended.
    virtual std::unique_ptr<OpenFile> CreateTemporary(const std::wstring& stem) = 0;
};

} // namespace vellicor::platform
