// The portable build has no FormatMessageW: it knows the English texts of the codes
// that the unit tests' registry and file doubles produce.
#include "platform/ErrorText.h"

#include "core/ErrorCodes.h"

#include <string>

namespace vellicor::platform {

std::wstring SystemErrorText(std::int32_t code) {
    switch (code) {
    case errors::kFileNotFound: return L"The system cannot find the file specified.";
    case errors::kPathNotFound: return L"The system cannot find the path specified.";
    case errors::kAccessDenied: return L"Access is denied.";
    case errors::kInvalidHandle: return L"The handle is invalid.";
    case errors::kInvalidData: return L"The data is invalid.";
    case errors::kSharingViolation:
        return L"The process cannot access the file because it is being used by another process.";
    case errors::kFileExists: return L"The file exists.";
    case errors::kInvalidParameter: return L"The parameter is incorrect.";
    case errors::kDiskFull: return L"There is not enough space on the disk.";
    case errors::kCallNotImplemented: return L"This function is not supported on this system.";
    case errors::kMoreData: return L"More data is available.";
    case errors::kKeyDeleted:
        return L"Illegal operation attempted on a registry key that has been marked for deletion.";
    default: return L"Unknown error " + std::to_wstring(code) + L".";
    }
}

} // namespace vellicor::platform
