#include "tools/FailureReport.h"

namespace vellicor::tools {

std::wstring FailureReport(std::wstring_view whatFailed, const Failure& failure) {
    std::wstring text(whatFailed);
    text += L"\r\n\r\n";
    text += std::to_wstring(failure.Number());
    text += L": ";
    text += failure.Description();
    return text;
}

} // namespace vellicor::tools
