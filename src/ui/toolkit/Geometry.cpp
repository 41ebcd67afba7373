#include "ui/toolkit/Geometry.h"

#include "ui/toolkit/WindowModel.h"

namespace vellicor::ui {

int TwipsToPixels(int twips, unsigned dpi) {
    const long long product = static_cast<long long>(twips) * dpi;
    constexpr long long kHalf = kTwipsPerInch / 2;
    return static_cast<int>(product >= 0 ? (product + kHalf) / kTwipsPerInch : -((kHalf - product) / kTwipsPerInch));
}

PixelRect ControlRect(const WindowModel& window, const ControlDef& def, unsigned dpi) {
    int left = def.left;
    int top = def.top;
    if (!def.container.empty()) {
        const ControlDef& frame = window.Get(def.container).Definition();
        left += frame.left;
        top += frame.top;
    }
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return PixelRect{x, y, x + TwipsToPixels(def.width, dpi), y + TwipsToPixels(def.height, dpi)};
}

} // namespace vellicor::ui
