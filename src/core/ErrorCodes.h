#pragma once

#include <cstdint>

// The Win32 error codes that the portable code produces or tests for itself.
namespace vellicor::errors {

inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kPathNotFound = 3;
inline constexpr std::int32_t kAccessDenied = 5;
inline constexpr std::int32_t kInvalidHandle = 6;
inline constexpr std::int32_t kInvalidData = 13;
inline constexpr std::int32_t kSharingViolation = 32;
inline constexpr std::int32_t kFileExists = 80;
inline constexpr std::int32_t kInvalidParameter = 87;
inline constexpr std::int32_t kDiskFull = 112;
inline constexpr std::int32_t kCallNotImplemented = 120;
inline constexpr std::int32_t kMoreData = 234;
inline constexpr std::int32_t kKeyDeleted = 1018;

} // namespace vellicor::errors
