#pragma once

#include <cstdint>

// The Win32 error codes that the portable code produces or tests for itself.
namespace vellicor::errors {

inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kAccessDenied = 5;
inline constexpr std::int32_t kInvalidHandle = 6;
inline constexpr std::int32_t kInvalidData = 13;
inline constexpr std::int32_t kInvalidParameter = 87;
inline constexpr std::int32_t kMoreData = 234;

} // namespace vellicor::errors
