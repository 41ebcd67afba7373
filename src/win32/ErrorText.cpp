#include "core/ErrorText.h"

#include "win32/Handles.h"

#include <windows.h>

#include <string>

namespace vellicor {

std::wstring SystemErrorText(std::int32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const win32::UniqueLocalMemory owner(buffer);

    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    // The system's texts end with a line break, which would break up our messages.
    const std::size_t end = text.find_last_not_of(L"\r\n \t");
    text.erase(end == std::wstring::npos ? 0 : end + 1);

    if (text.empty()) return L"Unknown error " + std::to_wstring(code) + L".";
    return text;
}

} // namespace vellicor
