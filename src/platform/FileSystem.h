#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vellicor::platform {

// A file being written beside the one it will replace. Until Commit succeeds the
// target is untouched; destroying an uncommitted file closes and removes it.
class ReplacementFile {
public:
    virtual ~ReplacementFile() = default;
    virtual void Write(std::span<const char> bytes) = 0;
    // Flushes and closes the new file, then puts it in the target's place in one step.
    virtual void Commit() = 0;
};

// The file operations the program uses, by full path. Every failure throws Failure
// with the system's error number.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::uint32_t GetAttributes(const std::wstring& path) = 0;
    virtual void SetAttributes(const std::wstring& path, std::uint32_t attributes) = 0;
    virtual void Delete(const std::wstring& path) = 0;
    // Creates a new, empty temporary file in the target's folder.
    virtual std::unique_ptr<ReplacementFile> CreateReplacement(const std::wstring& target) = 0;
};

} // namespace vellicor::platform
