// The native build has no FormatMessageW: the system's English texts for the codes whose
// texts the unit tests read, and the system's form for any other.
#include "core/ErrorText.h"

namespace vellicor {

std::wstring SystemErrorText(std::int32_t code) {
    switch (code) {
    case 5: return L"Access is denied.";
    case 32: return L"The process cannot access the file because it is being used by another process.";
    case 112: return L"There is not enough space on the disk.";
    default: return L"Unknown error " + std::to_wstring(code) + L".";
    }
}

} // namespace vellicor
