#include "ui/ShellCommand.h"

namespace vellicor::ui {

std::optional<std::wstring> ShellCommandLine(std::wstring_view address) {
    // A quote or a trailing backslash would let the address end the argument early and
    // add words of its own to the command line; a NUL would cut it short.
    if (address.empty() || address.find_first_of(std::wstring_view(L"\"\0", 2)) != std::wstring_view::npos ||
        address.back() == L'\\') {
        return std::nullopt;
    }
    std::wstring line = L"explorer \"";
    line += address;
    line += L'"';
    return line;
}

} // namespace vellicor::ui
