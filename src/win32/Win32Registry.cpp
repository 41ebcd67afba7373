#include "win32/Win32Registry.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace vellicor::win32 {

namespace {

using registry::RawValue;
using registry::RootKey;

void Check(LSTATUS status) {
    if (status != ERROR_SUCCESS) throw SystemFailure(static_cast<std::int32_t>(status));
}

HKEY PredefinedKey(RootKey root) {
    switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    throw SystemFailure(errors::kInvalidParameter);
}

class Win32KeyHandle : public registry::KeyHandle {
public:
    // A root key is used through its predefined handle, which is not ours to close.
    explicit Win32KeyHandle(HKEY predefined) : key_(predefined) {}
    explicit Win32KeyHandle(UniqueKey owned) : owned_(std::move(owned)), key_(owned_.Get()) {}

    RawValue QueryValue(const std::wstring& name) const override {
        DWORD type = REG_NONE;
        DWORD size = 0;
        Check(::RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size));
        // Another program may make the value grow between asking its size and reading it.
        for (int attempt = 0; attempt < 8; ++attempt) {
            std::vector<BYTE> data(std::max<DWORD>(size, 1));
            DWORD got = size;
            const LSTATUS status = ::RegQueryValueExW(key_, name.c_str(), nullptr, &type, data.data(), &got);
            if (status == ERROR_MORE_DATA) {
                size = std::max(got, size + 1);
                continue;
            }
            Check(status);
            data.resize(got);
            return RawValue{type, {data.begin(), data.end()}};
        }
        throw SystemFailure(errors::kMoreData);
    }

    void SetValue(const std::wstring& name, const RawValue& value) override {
        // For string types the system looks at the character after the data (and, for a
        // one-byte value, the one before it) to add a terminator the caller "forgot".
        // Guard characters that are not NUL keep the data exactly as given and keep the
        // system from reading outside our buffer.
        constexpr std::size_t kGuard = sizeof(wchar_t);
        constexpr BYTE kGuardFill = 0xFF;
        std::vector<BYTE> buffer(value.data.size() + 2 * kGuard, kGuardFill);
        std::copy(value.data.begin(), value.data.end(), buffer.begin() + kGuard);
        Check(::RegSetValueExW(key_, name.c_str(), 0, value.type, &buffer[kGuard],
                               static_cast<DWORD>(value.data.size())));
    }

    void DeleteValue(const std::wstring& name) override { Check(::RegDeleteValueW(key_, name.c_str())); }

    void DeleteSubKeyTree(const std::wstring& name) override {
        // RegDeleteTreeW would empty this key itself for an empty name and reach further
        // down for a nested one; neither names a direct subkey.
        if (name.empty() || name.find(L'\\') != std::wstring::npos) throw SystemFailure(errors::kFileNotFound);
        Check(::RegDeleteTreeW(key_, name.c_str()));
    }

private:
    UniqueKey owned_;
    HKEY key_;
};

} // namespace

std::unique_ptr<registry::KeyHandle> Win32Registry::OpenKey(RootKey root, const std::wstring& subPath) {
    const HKEY predefined = PredefinedKey(root);
    if (subPath.empty()) return std::make_unique<Win32KeyHandle>(predefined);
    UniqueKey key;
    Check(::RegOpenKeyExW(predefined, subPath.c_str(), 0, KEY_READ | KEY_WRITE | DELETE, key.Put()));
    return std::make_unique<Win32KeyHandle>(std::move(key));
}

} // namespace vellicor::win32
