#include "win32/Painting.h"

#include "ui/toolkit/Geometry.h"
#include "win32/Handles.h"

#include <algorithm>

namespace vellicor::win32 {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kLineGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kLineWhite = RGB(0xFF, 0xFF, 0xFF);

} // namespace

bool HighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void PaintLines(HDC dc, const ui::WindowModel& model, unsigned dpi) {
    // The separator is a grey line with a white one under it: drawn at the same place,
    // the white would hide the grey, so the white starts one device line lower, which
    // gives the etched look of a standard separator. Lines here are horizontal.
    const int unit = std::max(1, static_cast<int>(dpi) / USER_DEFAULT_SCREEN_DPI);
    const bool contrast = HighContrast();
    for (const auto& control : model.Controls()) {
        if (control->Kind() != ui::ControlKind::Line) continue;
        const ui::ControlDef& def = control->Definition();
        const bool white = def.index == 0;
        const int top = ui::TwipsToPixels(def.top, dpi) + (white ? unit : 0);
        const RECT band{ui::TwipsToPixels(def.left, dpi), top, ui::TwipsToPixels(def.left + def.width, dpi),
                        top + (white ? 2 : 1) * unit};
        const COLORREF colour =
            contrast ? ::GetSysColor(white ? COLOR_3DHILIGHT : COLOR_3DSHADOW) : (white ? kLineWhite : kLineGrey);
        const UniqueBrush brush(::CreateSolidBrush(colour));
        ::FillRect(dc, &band, brush.Get());
    }
}

HBRUSH ColourLabel(HDC dc, const ui::ControlDef& def) {
    const bool link = def.options & ui::kLink;
    if (HighContrast()) {
        ::SetTextColor(dc, ::GetSysColor(link ? COLOR_HOTLIGHT : COLOR_BTNTEXT));
    } else {
        ::SetTextColor(dc, link ? kLinkColour : kTextColour);
    }
    ::SetBkMode(dc, TRANSPARENT);
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

} // namespace vellicor::win32
