#pragma once

#include "core/Failure.h"
#include "registry/Registry.h"

#include <map>
#include <memory>

namespace vellicor::test {

// One registry key in memory, by exact value name; writes can be refused, as they are
// without the right to write.
struct MemoryKey : registry::KeyHandle {
    std::map<std::wstring, registry::RawValue> values;
    bool denyWrites = false;

    registry::RawValue QueryValue(const std::wstring& name) const override {
        const auto it = values.find(name);
        return it != values.end() ? it->second : throw SystemFailure(2);
    }
    void SetValue(const std::wstring& name, const registry::RawValue& value) override { Writable(), values[name] = value; }
    void DeleteValue(const std::wstring& name) override { Writable(), values.erase(name) ? void() : throw SystemFailure(2); }
    void DeleteSubKeyTree(const std::wstring&) override { throw SystemFailure(5); }
    void Writable() const { denyWrites ? throw SystemFailure(5) : void(); }
};

// The settings key over a MemoryKey.
inline registry::RegistryKey KeyOver(std::shared_ptr<MemoryKey> key) {
    return registry::RegistryKey(nullptr, *registry::KeyPath::Parse(L"\\HKEY_CURRENT_USER\\Settings"), std::move(key));
}

} // namespace vellicor::test
