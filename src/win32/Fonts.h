#pragma once

#include "win32/ControlWindows.h"
#include "win32/Handles.h"

#include <array>
#include <vector>

namespace vellicor::win32 {

// The classic dialog face at a character height in pixels (a negative LOGFONT height).
// MS Sans Serif is taken only where the system has it at exactly that height: it is a
// bitmap face made for 96 DPI, and at other heights the system swaps in whatever it
// likes. Otherwise its outline twin Microsoft Sans Serif, asked for as a Swiss
// variable-pitch face so that a system without it picks a sans-serif stand-in.
// One maker serves one layout of a window: what the system gives for a request is asked
// once, since the body font and the text boxes' copy of it ask for the same sizes.
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

// The fonts of one window's controls: the body font, the About title's, the links', and
// the text boxes' own copy of the body font (a text box holds a document with line
// breaks of its own, so it may take a smaller size than the rest of the window).
class ControlFonts {
public:
    // Each font asked for at its size at the density; where a caption of a control that
    // uses it would not fit (a face wider than MS Sans Serif, as the system may give at
    // other densities or where that face is missing), a pixel smaller at a time until
    // all of them do.
    void Fit(const ui::WindowModel& model, const ControlWindows& windows, HWND parent, unsigned dpi);

private:
    std::array<UniqueFont, 4> fonts_;
};

} // namespace vellicor::win32
