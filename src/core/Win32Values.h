#pragma once

#include <cstdint>

// Win32 constants that the portable code passes across its platform interfaces.
// Their values are the system's own, so the Win32 layer hands them on unchanged.
namespace vellicor::win32values {

// Message box styles and answers.
inline constexpr unsigned kMbOk = 0x00000000;
inline constexpr unsigned kMbOkCancel = 0x00000001;
inline constexpr unsigned kMbIconCritical = 0x00000010;
inline constexpr unsigned kMbIconQuestion = 0x00000020;
inline constexpr unsigned kMbIconExclamation = 0x00000030;
inline constexpr unsigned kMbIconInformation = 0x00000040;
inline constexpr int kIdOk = 1;

// File attribute bits.
inline constexpr std::uint32_t kAttributeReadOnly = 0x00000001;
inline constexpr std::uint32_t kAttributeNormal = 0x00000080;

} // namespace vellicor::win32values
