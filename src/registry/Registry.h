#pragma once

// The registry as objects: the program's one way into the registry. Every operation
// either does what it says or throws Failure (a Win32 number and its description).

#include "registry/KeyPath.h"
#include "registry/RegistryBackend.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace vellicor::registry {

class RegistryValues;
class RegistryKeys;

// What reading a value gives: a 32-bit number or a text.
class ValueData {
public:
    explicit ValueData(std::int32_t number) : data_(number) {}
    explicit ValueData(std::wstring text) : data_(std::move(text)) {}

    // ERROR_INVALID_DATA when the value is not of the asked kind.
    std::int32_t AsNumber() const;
    const std::wstring& AsText() const;

private:
    std::variant<std::int32_t, std::wstring> data_;
};

// An open key. Copies share the same open handle.
class RegistryKey {
public:
    RegistryKey(std::shared_ptr<RegistryBackend> backend, KeyPath path, std::shared_ptr<KeyHandle> handle);

    RegistryValues Values() const;
    // The key holding this one; for a key directly below a root, that root.
    RegistryKey Parent() const;
    RegistryKeys SubKeys() const;
    const KeyPath& Path() const { return path_; }

private:
    friend class RegistryKeys;
    std::shared_ptr<RegistryBackend> backend_;
    KeyPath path_;
    std::shared_ptr<KeyHandle> handle_;
};

class RegistryValue {
public:
    RegistryValue(std::shared_ptr<KeyHandle> key, std::wstring name) : key_(std::move(key)), name_(std::move(name)) {}

    // Integers as DecodeInteger counts them, texts as DecodeText does; any other data
    // is ERROR_INVALID_DATA.
    ValueData Value() const;
    // Leaves a REG_DWORD holding the number, whatever type the value had before.
    void SetValue(std::int16_t number);

private:
    std::shared_ptr<KeyHandle> key_;
    std::wstring name_;
};

class RegistryValues {
public:
    explicit RegistryValues(std::shared_ptr<KeyHandle> key) : key_(std::move(key)) {}

    // ERROR_FILE_NOT_FOUND when no value has that name.
    RegistryValue Item(const std::wstring& name) const;
    // Only REG_DWORD values are ever created; another type is ERROR_INVALID_PARAMETER.
    void Add(const std::wstring& name, std::int16_t data, std::int32_t type);
    void Remove(const std::wstring& name);

private:
    std::shared_ptr<KeyHandle> key_;
};

class RegistryKeys {
public:
    RegistryKeys(KeyPath parentPath, std::shared_ptr<KeyHandle> parent)
        : parentPath_(std::move(parentPath)), parent_(std::move(parent)) {}

    // Deletes the given key, which must be a direct subkey of this collection's key,
    // with all its values and subkeys. ERROR_INVALID_PARAMETER for any other key.
    void Remove(const RegistryKey& key);

private:
    KeyPath parentPath_;
    std::shared_ptr<KeyHandle> parent_;
};

// The entry object. The program makes one and keeps it until it ends.
class RegistryRoot {
public:
    explicit RegistryRoot(std::shared_ptr<RegistryBackend> backend) : backend_(std::move(backend)) {}

    // Opens an existing key given in the path form "\HKEY_CURRENT_USER\Software\...";
    // a missing key fails, a malformed path is ERROR_INVALID_PARAMETER.
    RegistryKey KeyFromPath(std::wstring_view path) const;

private:
    std::shared_ptr<RegistryBackend> backend_;
};

} // namespace vellicor::registry
