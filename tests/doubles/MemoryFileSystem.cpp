#include "doubles/MemoryFileSystem.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

namespace vellicor::test {

void MemoryFileSystem::MaybeFail(Operation operation) {
    const auto it = failures.find(operation);
    if (it == failures.end()) return;
    const std::int32_t code = it->second;
    failures.erase(it);
    throw SystemFailure(code);
}

std::uint32_t MemoryFileSystem::GetAttributes(const std::wstring& path) {
    MaybeFail(Operation::GetAttributes);
    const auto it = files.find(path);
    if (it == files.end()) throw SystemFailure(errors::kFileNotFound);
    return it->second.attributes;
}

void MemoryFileSystem::SetAttributes(const std::wstring& path, std::uint32_t attributes) {
    MaybeFail(Operation::SetAttributes);
    const auto it = files.find(path);
    if (it == files.end()) throw SystemFailure(errors::kFileNotFound);
    it->second.attributes = attributes;
    ++attributeWrites;
}

void MemoryFileSystem::Delete(const std::wstring& path) {
    MaybeFail(Operation::Delete);
    const auto it = files.find(path);
    if (it == files.end()) throw SystemFailure(errors::kFileNotFound);
    if ((it->second.attributes & 0x1) != 0) throw SystemFailure(errors::kAccessDenied);
    files.erase(it);
}

class MemoryReplacement : public platform::ReplacementFile {
public:
    MemoryReplacement(MemoryFileSystem& fs, std::wstring target) : fs_(fs), target_(std::move(target)) {
        ++fs_.temporaryFilesAlive;
    }
    ~MemoryReplacement() override {
        if (!committed_) --fs_.temporaryFilesAlive;
    }
    void Write(std::span<const char> bytes) override {
        fs_.MaybeFail(MemoryFileSystem::Operation::Write);
        bytes_.append(bytes.data(), bytes.size());
    }
    void Commit() override {
        fs_.MaybeFail(MemoryFileSystem::Operation::Commit);
        fs_.files[target_] = MemoryFileSystem::File{0x20, bytes_};
        committed_ = true;
        --fs_.temporaryFilesAlive;
    }

private:
    MemoryFileSystem& fs_;
    std::wstring target_;
    std::string bytes_;
    bool committed_ = false;
};

std::unique_ptr<platform::ReplacementFile> MemoryFileSystem::CreateReplacement(const std::wstring& target) {
    MaybeFail(Operation::Create);
    return std::make_unique<MemoryReplacement>(*this, target);
}

} // namespace vellicor::test
