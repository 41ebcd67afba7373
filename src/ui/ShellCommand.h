#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellicor::ui {

// The command line that hands one address to the shell program: explorer "<address>".
// Empty when the address cannot be quoted safely: it is empty, holds a double quote or
// a NUL, or ends in a backslash (which would escape the closing quote).
std::optional<std::wstring> ShellCommandLine(std::wstring_view address);

} // namespace vellicor::ui
