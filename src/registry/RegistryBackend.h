#pragma once

#include "registry/RegistryData.h"

#include <memory>
#include <string>

namespace vellicor::registry {

// The predefined keys that a path may start with.
enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// One open key of a backend. Every operation throws Failure with the backend's own
// error number; once the key is deleted (by us or by another program) they fail with
// ERROR_KEY_DELETED, as stale Win32 handles do.
class KeyHandle {
public:
    virtual ~KeyHandle() = default;

    // ERROR_FILE_NOT_FOUND when no value has that name.
    virtual RawValue QueryValue(const std::wstring& name) const = 0;
    // Creates the value or replaces its type and data.
    virtual void SetValue(const std::wstring& name, const RawValue& value) = 0;
    virtual void DeleteValue(const std::wstring& name) = 0;
    // Deletes the direct subkey with everything below it.
    virtual void DeleteSubKeyTree(const std::wstring& name) = 0;
};

// A registry implementation: the Win32 registry, or an in-memory one.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Opens an existing key for reading, writing and removal; an empty subPath opens
    // the root key itself. Never creates anything: a missing key is ERROR_FILE_NOT_FOUND.
    virtual std::unique_ptr<KeyHandle> OpenKey(RootKey root, const std::wstring& subPath) = 0;
};

} // namespace vellicor::registry
