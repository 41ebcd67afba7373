#pragma once

#include <cstdint>
#include <string>

namespace vellicor::platform {

// The system's description of a Win32 error code, without a trailing line break.
// Windows builds ask FormatMessageW; portable builds use a table of the same texts.
std::wstring SystemErrorText(std::int32_t code);

} // namespace vellicor::platform
