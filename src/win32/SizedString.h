#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vellicor::win32 {

// The text of a Win32 call that fills a buffer of the size given and reports the length it
// wrote (GetSystemDirectoryW, GetFinalPathNameByHandleW, GetModuleFileNameW, ...): called
// again with a larger buffer for as long as the text did not fit, whether the call then
// reports the size it needs (terminator included) or, cut short, the size it was given.
// Empty where the call fails (0) or the text would pass the longest path the system has.
template <class Call> // DWORD call(wchar_t* buffer, DWORD size)
std::optional<std::wstring> SizedString(Call call) {
    constexpr std::size_t kLongestPath = 32768;
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const std::size_t length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return std::nullopt;
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        if (text.size() > kLongestPath) return std::nullopt;
        text.resize(length > text.size() ? length : text.size() * 2);
    }
}

} // namespace vellicor::win32
