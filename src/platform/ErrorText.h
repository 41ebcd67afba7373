#pragma once

#include <cstdint>
#include <string>

namespace vellicor::platform {

// The system's description of a Win32 error code, without a trailing line break.
// Windows builds ask FormatMessageW; the native unit tests supply the texts they read.
std::wstring SystemErrorText(std::int32_t code);

} // namespace vellicor::platform
