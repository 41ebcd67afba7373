#pragma once

// Stand-ins for the system where the end-to-end tests cannot reach: failures and states
// that real files and the registry under Wine cannot be made to show.

#include "core/Failure.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "registry/Registry.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace vellicor::test {

// Records every message box's text and answers OK.
struct RecordedDialogs : platform::Dialogs {
    int Show(const std::wstring& text, unsigned) override {
        shown.push_back(text);
        return 1;
    }
    std::vector<std::wstring> shown;
};

// A registry of one key in memory, by exact value name, whatever path opens it (the
// player's settings key, say). Writes can be refused, as they are without the right to write.
struct MemoryRegistry : registry::RegistryBackend {
    std::map<std::wstring, registry::RawValue> values;
    bool denyWrites = false;

    std::map<std::wstring, registry::RawValue>& Writable() {
        if (denyWrites) throw SystemFailure(5);
        return values;
    }
    // Nothing here removes a key below the settings key; a registry with subkeys says what it does.
    virtual void DeleteSubKeyTree(const std::wstring&) { throw SystemFailure(5); }
    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey, const std::wstring&) override {
        struct Key : registry::KeyHandle {
            MemoryRegistry& owner;
            explicit Key(MemoryRegistry& o) : owner(o) {}
            registry::RawValue QueryValue(const std::wstring& name) const override {
                if (!owner.values.contains(name)) throw SystemFailure(2);
                return owner.values.at(name);
            }
            void SetValue(const std::wstring& name, const registry::RawValue& value) override {
                owner.Writable()[name] = value;
            }
            void DeleteValue(const std::wstring& name) override { owner.Writable().erase(name); }
            void DeleteSubKeyTree(const std::wstring& name) override { owner.DeleteSubKeyTree(name); }
        };
        return std::make_unique<Key>(*this);
    }
};

// A REG_SZ holding the text, NUL-terminated, as the player writes its install folder.
inline registry::RawValue TextValue(std::wstring_view text) {
    registry::RawValue value{registry::kRegSz, {}};
    for (const wchar_t ch : std::wstring(text) + L'\0')
        value.data.insert(value.data.end(), {std::uint8_t(ch & 0xFF), std::uint8_t(ch >> 8)});
    return value;
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
        if (const std::int32_t code = std::exchange(failures[operation], 0)) throw SystemFailure(code);
    }
    // Acts on the file by the path it reached, which only a rename of its own changes.
    class Handle : public platform::OpenFile {
    public:
        Handle(MemoryFileSystem& fs, const std::wstring& path)
            : OpenFile(path), fs_(fs), reached_(fs.links.contains(path) ? fs.links[path] : path) {}
        File& Get() {
            if (!fs_.files.contains(reached_)) throw SystemFailure(2);
            return fs_.files[reached_];
        }
        std::wstring FinalPath() override { return reached_; }
        std::uint32_t Attributes() override { return Get().attributes; }
        // As FILE_BASIC_INFO: 0 changes nothing.
        void SetAttributes(std::uint32_t attributes) override {
            fs_.MaybeFail(Operation::SetAttributes);
            if (attributes != 0) Get().attributes = attributes;
        }
        void Delete() override { fs_.files.erase(reached_); }
        void Write(std::span<const char> bytes) override {
            fs_.MaybeFail(Operation::Write);
            Get().bytes.append(bytes.data(), bytes.size());
        }
        void MoveOver(const std::wstring& target) override {
            fs_.MaybeFail(Operation::MoveOver);
            fs_.files[target] = Get();
            fs_.files.erase(std::exchange(reached_, target));
        }

    private:
        MemoryFileSystem& fs_;
        std::wstring reached_;
    };
};

} // namespace vellicor::test
