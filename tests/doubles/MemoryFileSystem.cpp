#include "doubles/MemoryFileSystem.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

namespace vellicor::test {

namespace {

using Op = MemoryFileSystem::Operation;

// Acts on the file by the path it reached, which only a rename of its own changes.
class MemoryOpenFile : public platform::OpenFile {
public:
    MemoryOpenFile(MemoryFileSystem& fs, std::wstring path, std::wstring reached)
        : OpenFile(std::move(path)), fs_(fs), reached_(std::move(reached)) {}

    std::wstring FinalPath() override { return reached_; }
    std::uint32_t Attributes() override { return File().attributes; }
    void SetAttributes(std::uint32_t attributes) override {
        fs_.MaybeFail(Op::SetAttributes);
        // As FILE_BASIC_INFO: 0 changes nothing, and NORMAL is valid only alone.
        if ((attributes & 0x80) != 0 && attributes != 0x80) throw SystemFailure(errors::kInvalidParameter);
        if (attributes != 0) File().attributes = attributes;
        ++fs_.attributeWrites;
    }
    void Delete() override {
        if ((File().attributes & 0x1) != 0) throw SystemFailure(errors::kAccessDenied);
        fs_.files.erase(reached_);
    }
    void Write(std::span<const char> bytes) override {
        fs_.MaybeFail(Op::Write);
        File().bytes.append(bytes.data(), bytes.size());
    }
    void MoveOver(const std::wstring& target) override {
        fs_.MaybeFail(Op::MoveOver);
        fs_.files[target] = File();
        fs_.files.erase(reached_);
        reached_ = target;
    }

private:
    MemoryFileSystem::File& File() {
        const auto it = fs_.files.find(reached_);
        if (it == fs_.files.end()) throw SystemFailure(errors::kFileNotFound);
        return it->second;
    }
    MemoryFileSystem& fs_;
    std::wstring reached_;
};

} // namespace

void MemoryFileSystem::MaybeFail(Operation operation) {
    const auto it = failures.find(operation);
    if (it == failures.end()) return;
    const std::int32_t code = it->second;
    failures.erase(it);
    throw SystemFailure(code);
}

std::unique_ptr<platform::OpenFile> MemoryFileSystem::Open(const std::wstring& path, platform::FileAccess) {
    MaybeFail(Operation::Open);
    const auto link = links.find(path);
    const std::wstring reached = link == links.end() ? path : link->second;
    if (!files.count(reached)) throw SystemFailure(errors::kFileNotFound);
    return std::make_unique<MemoryOpenFile>(*this, path, reached);
}

std::unique_ptr<platform::OpenFile> MemoryFileSystem::CreateTemporary(const std::wstring& stem) {
    MaybeFail(Operation::Create);
    const std::wstring path = stem + L".tmp";
    const auto link = links.find(path);
    const std::wstring reached = link == links.end() ? path : link->second;
    files[reached] = File{0x20, {}};
    return std::make_unique<MemoryOpenFile>(*this, path, reached);
}

} // namespace vellicor::test
