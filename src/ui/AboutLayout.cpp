#include "ui/AboutLayout.h"

#include "ui/Links.h"

#include <array>

namespace vellicor::ui {

namespace {

using K = ControlKind;

// txtDesc's text: CR LF after every line, the last one included.
constexpr std::wstring_view kDescription = L"A utility for mangling some advanced and hidden \r\n"
                                           L"XMPlay settings.\r\n"
                                           L"\r\n"
                                           L"Designed to work with XMPlay 3.2, but some settings \r\n"
                                           L"still work with earlier versions.\r\n"
                                           L"\r\n"
                                           L"Known bugs and limitations:\r\n"
                                           L"- The playlist mangling stuff only works with global \r\n"
                                           L"playlists, not per-user ones\r\n"
                                           L"\r\n"
                                           L"Need help? If it's a question to do with XMPlay, then I \r\n"
                                           L"would recommend trying the forums first. If it's a question \r\n"
                                           L"about this utility, then e-mail me.\r\n"
                                           L"\r\n"
                                           L"Remember that this utility has not been extensively \r\n"
                                           L"tested, and I cannot and will not take any responsibility \r\n"
                                           L"for any expenses you may have incidental or otherwise \r\n"
                                           L"directly or indirectly in connection with any aspect of this \r\n"
                                           L"utility.</lawyer-speak>\r\n"
                                           L"\r\n"
                                           L"  ~ The Vellicor developers (vellicor on the forums)\r\n";

constexpr unsigned kLinkLabel = kLink | kCentered;

// name, kind, container, caption, left, top, width, height, tab, tag, value, index, options.
// Lines give their second end as an offset: both run from (120, 2400) to (5040, 2400).
constexpr std::array<ControlDef, 10> kAboutLayout{{
    {L"txtDesc", K::TextBox, L"", kDescription, 840, 600, 4245, 1725, 3, L"", 0, -1,
     kMultiLine | kReadOnly | kVerticalScroll},
    {L"picIcon", K::PictureBox, L"", L"", 120, 120, 540, 540, 1, L"", 0, -1, kSunken},
    {L"cmdOK", K::CommandButton, L"", L"OK", 4080, 2520, 1020, 375, 0, L""},
    {L"lblLink", K::Label, L"", L"un4seen forums", 840, 2580, 1215, 255, 7, links::kForums, 0, 1, kLinkLabel},
    {L"lblLink", K::Label, L"", L"Vellicor", 2160, 2580, 1095, 255, 6, links::kProjectHome, 0, 2, kLinkLabel},
    {L"lblLink", K::Label, L"", L"XMPlay", 120, 2580, 615, 255, 5, links::kPlayerHome, 0, 0, kLinkLabel},
    {L"lblLink", K::Label, L"", L"e-mail", 3360, 2580, 615, 255, 4, links::kMail, 0, 3, kLinkLabel},
    {L"Line1", K::Line, L"", L"", 120, 2400, 4920, 0, -1, L"", 0, 1},
    {L"lblTitle", K::Label, L"", L"Vellicor ", 840, 120, 4245, 375, 2, L"", 0, -1, kTitleFont},
    {L"Line1", K::Line, L"", L"", 120, 2400, 4920, 0, -1, L"", 0, 0},
}};

} // namespace

std::span<const ControlDef> AboutLayout() { return kAboutLayout; }

std::wstring ComposeTitle(std::wstring_view creationCaption, const ProgramVersion& version) {
    std::wstring title(creationCaption);
    title += L' ';
    title += std::to_wstring(version.major);
    title += L'.';
    title += std::to_wstring(version.minor);
    title += L" build ";
    title += std::to_wstring(version.revision);
    return title;
}

} // namespace vellicor::ui
