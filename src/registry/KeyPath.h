#pragma once

#include "registry/RegistryBackend.h"

#include <optional>
#include <string>
#include <string_view>

namespace vellicor::registry {

// A key's place: its root and the path below it ("" for the root itself).
struct KeyPath {
    RootKey root = RootKey::CurrentUser;
    std::wstring subPath;

    // The path form: a backslash, the root key's full name, then the subkey path,
    // e.g. "\HKEY_CLASSES_ROOT\XMPlay". Root names are matched without regard to case;
    // empty components are refused.
    static std::optional<KeyPath> Parse(std::wstring_view text);

    bool IsRoot() const { return subPath.empty(); }
    std::wstring LastComponent() const;
    KeyPath ParentPath() const; // the root stays the root
};

// Registry names compare without regard to case (ASCII folding is enough for the
// names this program passes; the registry itself decides for everything else).
bool SameRegistryName(std::wstring_view a, std::wstring_view b);

} // namespace vellicor::registry
