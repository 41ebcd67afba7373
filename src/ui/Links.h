#pragma once

// Where the About window's links lead: each is the Tag of one lblLink label, by index.
// The project's own home page and address are placeholders under .invalid until the
// project has real ones; the README lists them.
namespace vellicor::ui::links {

inline constexpr const wchar_t* kPlayerHome = L"https://www.un4seen.com/xmplay.html"; // lblLink(0) "XMPlay"
inline constexpr const wchar_t* kForums = L"https://www.un4seen.com/forum/";          // lblLink(1) "un4seen forums"
inline constexpr const wchar_t* kProjectHome = L"https://vellicor.invalid/";          // lblLink(2) "Vellicor"
// lblLink(3) "e-mail": a new message to us whose subject is the program's name.
inline constexpr const wchar_t* kMail = L"mailto:vellicor@vellicor.invalid?subject=Vellicor";

} // namespace vellicor::ui::links
