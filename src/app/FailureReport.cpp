#include "app/FailureReport.h"

#include "ui/Messages.h"

namespace vellicor::app {

std::wstring FailureReport(std::wstring_view whatFailed, const Failure& failure) {
    std::wstring text(whatFailed);
    text += L"\r\n\r\n";
    text += std::to_wstring(failure.Number());
    text += L": ";
    text += failure.Description();
    return text;
}

std::wstring OpeningFailureReport(const Failure& failure, const std::wstring& path) {
    std::wstring text = ui::messages::kErrorOpeningPlaylist;
    text += std::to_wstring(failure.Number());
    text += L' ';
    text += failure.Description();
    // The system's descriptions already end with a full stop; don't double it.
    if (!failure.Description().ends_with(L'.')) text += L'.';
    text += L"\r\n\r\n";
    text += path;
    return text;
}

} // namespace vellicor::app
