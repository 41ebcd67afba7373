#include "registry/KeyPath.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vellicor::registry {

namespace {

constexpr std::array<std::pair<RootKey, std::wstring_view>, 5> kRootNames{{
    {RootKey::ClassesRoot, L"HKEY_CLASSES_ROOT"},
    {RootKey::CurrentUser, L"HKEY_CURRENT_USER"},
    {RootKey::LocalMachine, L"HKEY_LOCAL_MACHINE"},
    {RootKey::Users, L"HKEY_USERS"},
    {RootKey::CurrentConfig, L"HKEY_CURRENT_CONFIG"},
}};

wchar_t FoldAscii(wchar_t ch) { return (ch >= L'a' && ch <= L'z') ? static_cast<wchar_t>(ch - L'a' + L'A') : ch; }

} // namespace

bool SameRegistryName(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

std::optional<KeyPath> KeyPath::Parse(std::wstring_view text) {
    if (text.empty() || text.front() != L'\\') return std::nullopt;
    text.remove_prefix(1);
    const auto rootEnd = text.find(L'\\');
    const std::wstring_view rootText = text.substr(0, rootEnd);
    const std::wstring_view rest = rootEnd == std::wstring_view::npos ? std::wstring_view{} : text.substr(rootEnd + 1);
    if (rootEnd != std::wstring_view::npos && rest.empty()) return std::nullopt;

    for (const auto& [key, name] : kRootNames) {
        if (!SameRegistryName(rootText, name)) continue;
        const bool emptyComponent = rest.find(L"\\\\") != std::wstring_view::npos ||
                                    (!rest.empty() && (rest.front() == L'\\' || rest.back() == L'\\'));
        if (emptyComponent) {
            return std::nullopt;
        }
        return KeyPath{key, std::wstring(rest)};
    }
    return std::nullopt;
}

std::wstring KeyPath::LastComponent() const {
    const auto slash = subPath.rfind(L'\\');
    return slash == std::wstring::npos ? subPath : subPath.substr(slash + 1);
}

KeyPath KeyPath::ParentPath() const {
    const auto slash = subPath.rfind(L'\\');
    return KeyPath{root, slash == std::wstring::npos ? std::wstring{} : subPath.substr(0, slash)};
}

} // namespace vellicor::registry
