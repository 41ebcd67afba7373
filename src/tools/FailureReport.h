#pragma once

#include "core/Failure.h"

#include <string>
#include <string_view>

namespace vellicor::tools {

// A command's failure report: what failed, a blank line, then "number: description".
std::wstring FailureReport(std::wstring_view whatFailed, const Failure& failure);

} // namespace vellicor::tools
