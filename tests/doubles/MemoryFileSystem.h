#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace vellicor::test {

// Files held in memory, by exact path text. Each operation can be made to fail with a
// chosen Win32 error, to reach the failure paths that real files rarely give.
class MemoryFileSystem : public platform::FileSystem {
public:
    struct File {
        std::uint32_t attributes = 0x20; // archive
        std::string bytes;
    };

    enum class Operation { GetAttributes, SetAttributes, Delete, Create, Write, Commit };

    std::uint32_t GetAttributes(const std::wstring& path) override;
    void SetAttributes(const std::wstring& path, std::uint32_t attributes) override;
    void Delete(const std::wstring& path) override;
    std::unique_ptr<platform::ReplacementFile> CreateReplacement(const std::wstring& target) override;

    void FailNext(Operation operation, std::int32_t code) { failures[operation] = code; }

    std::map<std::wstring, File> files;
    std::map<Operation, std::int32_t> failures;
    int temporaryFilesAlive = 0;
    int attributeWrites = 0;

private:
    friend class MemoryReplacement;
    void MaybeFail(Operation operation);
};

} // namespace vellicor::test
