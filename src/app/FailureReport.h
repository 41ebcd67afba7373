#pragma once

#include "core/Failure.h"

#include <string>
#include <string_view>

namespace vellicor::app {

// A command's failure report: what failed, a blank line, then "number: description".
std::wstring FailureReport(std::wstring_view whatFailed, const Failure& failure);

// The new playlist could not be created: "Error opening playlist: ", the number, a blank,
// the description (with its full stop), a blank line and the playlist's path.
std::wstring OpeningFailureReport(const Failure& failure, const std::wstring& path);

} // namespace vellicor::app
