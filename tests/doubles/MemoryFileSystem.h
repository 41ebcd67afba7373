#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <map>
#include <string>

namespace vellicor::test {

// Files held in memory, by exact path text, with the system's rules for what the
// program does to them. A link sends a path on to another; each operation can be made
// to fail with a chosen Win32 error, to reach the failure paths that real files rarely give.
class MemoryFileSystem : public platform::FileSystem {
public:
    struct File {
        std::uint32_t attributes = 0x20; // archive
        std::string bytes;
        friend bool operator==(const File&, const File&) = default;
    };

    enum class Operation { Open, SetAttributes, Create, Write, MoveOver };

    std::unique_ptr<platform::OpenFile> Open(const std::wstring& path, platform::FileAccess access) override;
    // Names the new file `stem` + ".tmp".
    std::unique_ptr<platform::OpenFile> CreateTemporary(const std::wstring& stem) override;

    void FailNext(Operation operation, std::int32_t code) { failures[operation] = code; }
    void MaybeFail(Operation operation);

    std::map<std::wstring, File> files;
    std::map<std::wstring, std::wstring> links; // path -> the path it leads to
    std::map<Operation, std::int32_t> failures;
    int attributeWrites = 0;
};

} // namespace vellicor::test
