#pragma once

#include "ui/toolkit/ControlDef.h"

#include <span>
#include <string>
#include <string_view>

namespace vellicor::ui {

// The About window: client size in twips, and its controls in creation order.
inline constexpr int kAboutClientWidth = 5160;
inline constexpr int kAboutClientHeight = 3000;
inline constexpr const wchar_t* kAboutCaption = L"About Vellicor";

std::span<const ControlDef> AboutLayout();

// The program's own version numbers, as its version block carries them.
struct ProgramVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned revision = 0;
};

// lblTitle's caption once loaded: the caption it was created with (which already ends
// in a blank), another blank, then "major.minor build revision".
std::wstring ComposeTitle(std::wstring_view creationCaption, const ProgramVersion& version);

} // namespace vellicor::ui
