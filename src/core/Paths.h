#pragma once

#include <string_view>

namespace vellicor::paths {

inline bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "X:\", also written "X:/".
inline bool IsDrivePath(std::wstring_view path) {
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && IsSeparator(path[2]);
}

} // namespace vellicor::paths
