#pragma once

// Shared by the resource script and the code; the resource compiler reads it too, so it
// holds nothing but defines.
// NOLINTBEGIN(cppcoreguidelines-macro-usage): the resource compiler reads no constexpr
#define VELLICOR_ICON_PROGRAM 1
#define VELLICOR_ICON_ABOUT 2
// NOLINTEND(cppcoreguidelines-macro-usage)
