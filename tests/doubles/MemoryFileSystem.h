#pragma once

#include "core/Failure.h"
#include "platform/FileSystem.h"

#include <map>

namespace vellicor::test {

// Files held in memory, by exact path text, with the system's rules for what the program
// does to them. A link sends a path on to another; the next operation of a kind can be
// made to fail with a chosen Win32 error, to reach the failure paths real files rarely give.
class MemoryFileSystem : public platform::FileSystem {
public:
    struct File {
        std::uint32_t attributes = 0x20; // archive
        std::string bytes;
        friend bool operator==(const File&, const File&) = default;
    };
    enum class Operation { Open, SetAttributes, Create, Write, MoveOver };

    std::map<std::wstring, File> files;
    std::map<std::wstring, std::wstring> links; // path -> the path it leads to
    std::map<Operation, std::int32_t> failures; // the next one of each kind

    std::unique_ptr<platform::OpenFile> Open(const std::wstring& path, platform::FileAccess) override {
        MaybeFail(Operation::Open);
        auto file = std::make_unique<Handle>(*this, path);
        file->Get(); // a file that is not there cannot be opened
        return file;
    }
    // Names the new file `stem` + ".tmp".
    std::unique_ptr<platform::OpenFile> CreateTemporary(const std::wstring& stem) override {
        MaybeFail(Operation::Create);
        auto file = std::make_unique<Handle>(*this, stem + L".tmp");
        files[file->FinalPath()] = File{};
        return file;
    }

private:
    void MaybeFail(Operation operation) {
        const auto it = failures.find(operation);
        if (it == failures.end()) return;
        const std::int32_t code = it->second;
        failures.erase(it);
        throw SystemFailure(code);
    }
    // Acts on the file by the path it reached, which only a rename of its own changes.
    class Handle : public platform::OpenFile {
    public:
        Handle(MemoryFileSystem& fs, const std::wstring& path) : OpenFile(path), fs_(fs), reached_(fs.links.count(path) ? fs.links[path] : path) {}
        File& Get() { return fs_.files.count(reached_) ? fs_.files[reached_] : throw SystemFailure(2); }
        std::wstring FinalPath() override { return reached_; }
        std::uint32_t Attributes() override { return Get().attributes; }
        void SetAttributes(std::uint32_t attributes) override {
            fs_.MaybeFail(Operation::SetAttributes);
            // As FILE_BASIC_INFO: 0 changes nothing, and NORMAL is valid only alone.
            if ((attributes & 0x80) != 0 && attributes != 0x80) throw SystemFailure(87);
            if (attributes != 0) Get().attributes = attributes;
        }
        void Delete() override { (Get().attributes & 1) ? throw SystemFailure(5) : void(fs_.files.erase(reached_)); }
        void Write(std::span<const char> bytes) override { fs_.MaybeFail(Operation::Write), Get().bytes.append(bytes.data(), bytes.size()); }
        void MoveOver(const std::wstring& target) override {
            fs_.MaybeFail(Operation::MoveOver);
            fs_.files[target] = Get(), fs_.files.erase(reached_), reached_ = target;
        }

    private:
        MemoryFileSystem& fs_;
        std::wstring reached_;
    };
};

} // namespace vellicor::test
