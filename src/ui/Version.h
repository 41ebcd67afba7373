#pragma once

// The program's version, in one place: the resource compiler builds the version block
// from it, and the About window reads the numbers back from that block.
// NOLINTBEGIN(cppcoreguidelines-macro-usage): the resource compiler reads no constexpr
#define VELLICOR_VERSION_MAJOR 2
#define VELLICOR_VERSION_MINOR 1
#define VELLICOR_VERSION_REVISION 20
#define VELLICOR_VERSION_TEXT "2.01.0020"
// NOLINTEND(cppcoreguidelines-macro-usage)
