#pragma once

#include "registry/RegistryBackend.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace vellicor::registry {

// A registry held in memory, with the Win32 registry's observable behaviour: names
// compare without regard to case, missing keys and values are ERROR_FILE_NOT_FOUND,
// handles to a deleted key go stale with ERROR_KEY_DELETED. Keys can be made to deny
// writes, as a key without write rights does. Paths below are in the path form
// ("\HKEY_CURRENT_USER\Software\...").
class MemoryRegistry : public RegistryBackend {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;
    // A copy would share every key with the original.
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    std::unique_ptr<KeyHandle> OpenKey(RootKey root, const std::wstring& subPath) override;

    // Seeding and inspection, as another program or the tests would.
    void CreateKey(const std::wstring& path);
    void DeleteKey(const std::wstring& path);
    bool KeyExists(const std::wstring& path) const;
    void SetValue(const std::wstring& keyPath, const std::wstring& name, const RawValue& value);
    void DeleteValue(const std::wstring& keyPath, const std::wstring& name);
    std::optional<RawValue> GetValue(const std::wstring& keyPath, const std::wstring& name) const;
    void DenyWrites(const std::wstring& path, bool deny = true);

    // Every key and value in a stable text form, to compare before and after.
    std::wstring Dump() const;
    // Count of successful changes made through handles (sets, deletions).
    int WriteCount() const;

    struct Node;

private:
    std::shared_ptr<Node> Find(const std::wstring& path) const;
    std::shared_ptr<Node> FindOrCreate(const std::wstring& path);

    std::map<RootKey, std::shared_ptr<Node>> roots_;
    std::shared_ptr<int> writes_;
};

} // namespace vellicor::registry
