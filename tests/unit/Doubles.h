#pragma once

// Stand-ins for the system where the end-to-end tests cannot reach: failures and states
// that real files and the registry under Wine cannot be made to show.

#include "core/Failure.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"

#include <gtest/gtest.h>

#include <map>

namespace vellicor::test {

// Records every message box's text and answers OK.
struct RecordedDialogs : platform::Dialogs {
    int Show(const std::wstring& text, unsigned) override { return shown.push_back(text), 1; }
    std::vector<std::wstring> shown;
};

// One registry key in memory, by exact value name; writes can be refused, as they are
// without the right to write.
struct MemoryKey : registry::KeyHandle {
    std::map<std::wstring, registry::RawValue> values;
    bool denyWrites = false;
    registry::RawValue QueryValue(const std::wstring& name) const override {
        return values.count(name) ? values.at(name) : throw SystemFailure(2);
    }
    void SetValue(const std::wstring& name, const registry::RawValue& value) override {
        Writable(), values[name] = value;
    }
    void DeleteValue(const std::wstring& name) override {
        Writable(), values.erase(name) ? void() : throw SystemFailure(2);
    }
    void DeleteSubKeyTree(const std::wstring&) override { throw SystemFailure(5); }
    void Writable() const { denyWrites ? throw SystemFailure(5) : void(); }
};

// The registry with the player's settings key alone, held in a MemoryKey.
struct SettingsRegistry : registry::RegistryBackend {
    std::shared_ptr<MemoryKey> key = std::make_shared<MemoryKey>();
    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey, const std::wstring&) override {
        struct Shared : registry::KeyHandle {
            std::shared_ptr<MemoryKey> key;
            explicit Shared(std::shared_ptr<MemoryKey> k) : key(std::move(k)) {}
            registry::RawValue QueryValue(const std::wstring& name) const override { return key->QueryValue(name); }
            void SetValue(const std::wstring& name, const registry::RawValue& value) override {
                key->SetValue(name, value);
            }
            void DeleteValue(const std::wstring& name) override { key->DeleteValue(name); }
            void DeleteSubKeyTree(const std::wstring& name) override { key->DeleteSubKeyTree(name); }
        };
        return std::make_unique<Shared>(key);
    }
};

// A REG_SZ holding the text, NUL-terminated, as the player writes its install folder.
inline registry::RawValue TextValue(std::wstring_view text) {
    registry::RawValue value{registry::kRegSz, {}};
    for (const wchar_t ch : std::wstring(text) + L'\0')
        value.data.insert(value.data.end(), {std::uint8_t(ch & 0xFF), std::uint8_t(ch >> 8)});
    return value;
}

// The settings key over a MemoryKey.
inline registry::RegistryKey KeyOver(std::shared_ptr<MemoryKey> key) {
    return registry::RegistryKey(nullptr, *registry::KeyPath::Parse(L"\\HKEY_CURRENT_USER\\Settings"), std::move(key));
}

// Files held in memory, by exact path text, with the system's rules for what the program
// does to them. A link sends a path on to another; the next operation of a kind can be
// made to fail with a chosen Win32 error.
class MemoryFileSystem : public platform::FileSystem {
public:
    struct File {
        std::uint32_t attributes = 0x20; // archive
        std::string bytes;
        friend bool operator==(const File&, const File&) = default;
    };
    enum class Operation { SetAttributes, Create, Write, MoveOver };

    std::map<std::wstring, File> files;
    std::map<std::wstring, std::wstring> links; // path -> the path it leads to
    std::map<Operation, std::int32_t> failures; // the next one of each kind

    std::unique_ptr<platform::OpenFile> Open(const std::wstring& path, platform::FileAccess) override {
        auto file = std::make_unique<Handle>(*this, path);
        file->Get(); // a file that is not there does not open
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
        if (const auto it = failures.find(operation); it != failures.end()) {
            const std::int32_t code = it->second;
            failures.erase(it);
            throw SystemFailure(code);
        }
    }
    // Acts on the file by the path it reached, which only a rename of its own changes.
    class Handle : public platform::OpenFile {
    public:
        Handle(MemoryFileSystem& fs, const std::wstring& path)
            : OpenFile(path), fs_(fs), reached_(fs.links.count(path) ? fs.links[path] : path) {}
        File& Get() { return fs_.files.count(reached_) ? fs_.files[reached_] : throw SystemFailure(2); }
        std::wstring FinalPath() override { return reached_; }
        std::uint32_t Attributes() override { return Get().attributes; }
        // As FILE_BASIC_INFO: 0 changes nothing, and NORMAL is valid only alone.
        void SetAttributes(std::uint32_t attributes) override {
            fs_.MaybeFail(Operation::SetAttributes);
            if ((attributes & 0x80) != 0 && attributes != 0x80) throw SystemFailure(87);
            if (attributes != 0) Get().attributes = attributes;
        }
        void Delete() override { (Get().attributes & 1) ? throw SystemFailure(5) : void(fs_.files.erase(reached_)); }
        void Write(std::span<const char> bytes) override {
            fs_.MaybeFail(Operation::Write), Get().bytes.append(bytes.data(), bytes.size());
        }
        void MoveOver(const std::wstring& target) override {
            fs_.MaybeFail(Operation::MoveOver), fs_.files[target] = Get(), fs_.files.erase(reached_), reached_ = target;
        }

    private:
        MemoryFileSystem& fs_;
        std::wstring reached_;
    };
};

} // namespace vellicor::test
