// The portable build has no FormatMessageW: it knows the English texts of the codes
// that its in-memory registry and file doubles produce.
#include "platform/ErrorText.h"

#include <string>

namespace vellicor::platform {

std::wstring SystemErrorText(std::int32_t code) {
    switch (code) {
    case 2: return L"The system cannot find the file specified.";
    case 3: return L"The system cannot find the path specified.";
    case 5: return L"Access is denied.";
    case 6: return L"The handle is invalid.";
    case 13: return L"The data is invalid.";
    case 32: return L"The process cannot access the file because it is being used by another process.";
    case 80: return L"The file exists.";
    case 87: return L"The parameter is incorrect.";
    case 112: return L"There is not enough space on the disk.";
    case 120: return L"This function is not supported on this system.";
    case 234: return L"More data is available.";
    case 1018: return L"Illegal operation attempted on a registry key that has been marked for deletion.";
    default: return L"Unknown error " + std::to_wstring(code) + L".";
    }
}

} // namespace vellicor::platform
