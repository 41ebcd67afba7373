#pragma once

#include "platform/win32/GdiHandles.h"

#include <windows.h>

#include <vector>

namespace vellicor::platform::win32 {

// The classic dialog face at a character height in pixels (a negative LOGFONT height).
// MS Sans Serif is taken only where the system has it at exactly that height: it is a
// bitmap face made for 96 DPI, and at other heights the system swaps in whatever it
// likes. Otherwise its outline twin Microsoft Sans Serif, asked for as a Swiss
// variable-pitch face so that a system without it picks a sans-serif stand-in.
// One maker serves one layout of a window: what the system gives for a request is
// asked once, since the body font and the text boxes' copy of it ask for the same sizes.
class DialogFontMaker {
public:
    UniqueFont Create(LONG height, LONG weight, bool underline);

private:
    struct Answer {
        LONG height;
        LONG weight;
        bool underline;
        bool bitmap;
    };
    std::vector<Answer> answers_;
};

} // namespace vellicor::platform::win32
