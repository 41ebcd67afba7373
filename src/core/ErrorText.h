#pragma once

#include <cstdint>
#include <string>

namespace vellicor {

// The system's description of a Win32 error code, without a trailing line break. Declared
// here, where failures are made, and defined by the platform the program is linked for:
// the Win32 layer asks FormatMessageW; the native unit tests supply the texts they read.
std::wstring SystemErrorText(std::int32_t code);

} // namespace vellicor
