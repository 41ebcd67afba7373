#include "win32/Fonts.h"

#include "win32/Dpi.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string_view>
#include <vector>

namespace vellicor::win32 {

namespace {

using ui::ControlDef;
using ui::ControlKind;

constexpr const wchar_t* kBitmapFace = L"MS Sans Serif";
constexpr const wchar_t* kOutlineFace = L"Microsoft Sans Serif";

UniqueFont Ask(const wchar_t* face, BYTE pitchAndFamily, LONG height, LONG weight, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitchAndFamily;
    wcscpy_s(lf.lfFaceName, face);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

UniqueFont AskOutline(LONG height, LONG weight, bool underline) {
    return Ask(kOutlineFace, VARIABLE_PITCH | FF_SWISS, height, weight, underline);
}

// What the system really made of the request: the face's name and its character height.
// Nothing when it could not be read.
std::optional<bool> GivesFaceAtHeight(HFONT font, const wchar_t* face, LONG height) {
    const ScopedDC dc(nullptr);
    if (!dc) return std::nullopt;
    const ScopedSelection selected(dc.Get(), font);
    std::array<wchar_t, LF_FACESIZE> given{};
    TEXTMETRICW metrics{};
    const bool read = ::GetTextFaceW(dc.Get(), static_cast<int>(given.size()), given.data()) > 0 &&
                      ::GetTextMetricsW(dc.Get(), &metrics);
    if (!read) return std::nullopt;
    return _wcsicmp(given.data(), face) == 0 && metrics.tmHeight - metrics.tmInternalLeading == -height;
}

struct FontRole {
    int hundredthsOfPoint;
    LONG weight;
    bool underline;
};
// Body, title, links, text boxes.
constexpr std::array<FontRole, 4> kFontRoles{
    {{825, FW_NORMAL, false}, {1350, FW_BOLD, false}, {825, FW_NORMAL, true}, {825, FW_NORMAL, false}}};

std::size_t RoleOf(const ControlDef& def) {
    if (def.options & ui::kTitleFont) return 1;
    if (def.options & ui::kLink) return 2;
    if (def.kind == ControlKind::TextBox) return 3;
    return 0;
}

// The lines a control shows its text on: a multi-line text box breaks it at CR LF, every
// other control keeps it on one line. Pictures and lines show none.
std::vector<std::wstring_view> TextLines(const ControlDef& def, std::wstring_view text) {
    if (def.kind == ControlKind::PictureBox || def.kind == ControlKind::Line || text.empty()) return {};
    if (def.kind != ControlKind::TextBox || !(def.options & ui::kMultiLine)) return {text};
    std::vector<std::wstring_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The width a control leaves for one line of its text, in a font of that average character
// width:
// a check box's glyph and the gap after it, a button's 3-D edge and the focus rectangle
// inside it on both sides, the corner and gaps around a frame's caption, a text box's
// formatting rectangle (which the text box works out from its font and scroll bar).
int TextRoom(HWND control, const ControlDef& def, LONG averageCharWidth, unsigned dpi) {
    RECT client{};
    ::GetClientRect(control, &client);
    switch (def.kind) {
    case ControlKind::CheckBox: {
        int glyph = SystemMetric(SM_CXMENUCHECK, dpi);
        // Drawn at the system's density where the window's is not the theme's: on a monitor
        // of lower density than the system's, the window's own measure would be too small.
        if (!ThemedAtWindowDpi(control)) glyph = std::max(glyph, SystemMetric(SM_CXMENUCHECK, WindowDpi(nullptr)));
        return client.right - glyph - averageCharWidth;
    }
    case ControlKind::CommandButton: return client.right - 2 * (2 * SystemMetric(SM_CXEDGE, dpi) + 1);
    case ControlKind::Frame: return client.right - 2 * averageCharWidth;
    case ControlKind::TextBox: {
        RECT format{};
        ::SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        return format.right - format.left;
    }
    default: return client.right;
    }
}

bool CaptionsFit(const ui::WindowModel& model, const ControlWindows& windows, HWND parent, HFONT font, std::size_t role,
                 unsigned dpi) {
    const ScopedDC dc(parent);
    if (!dc) return true;
    const ScopedSelection selected(dc.Get(), font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    const auto& controls = model.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDef& def = controls[i]->Definition();
        if (!windows.Window(i) || RoleOf(def) != role) continue;
        const int room = TextRoom(windows.Window(i), def, metrics.tmAveCharWidth, dpi);
        for (const std::wstring_view line : TextLines(def, controls[i]->Text())) {
            SIZE extent{};
            ::GetTextExtentPoint32W(dc.Get(), line.data(), static_cast<int>(line.size()), &extent);
            if (extent.cx > room) return false;
        }
    }
    return true;
}

} // namespace

UniqueFont DialogFontMaker::Create(LONG height, LONG weight, bool underline) {
    const auto known = std::find_if(answers_.begin(), answers_.end(), [&](const Answer& answer) {
        return answer.height == height && answer.weight == weight && answer.underline == underline;
    });
    if (known != answers_.end()) {
        return known->bitmap ? Ask(kBitmapFace, DEFAULT_PITCH | FF_DONTCARE, height, weight, underline)
                             : AskOutline(height, weight, underline);
    }
    UniqueFont bitmap = Ask(kBitmapFace, DEFAULT_PITCH | FF_DONTCARE, height, weight, underline);
    if (!bitmap) return AskOutline(height, weight, underline);
    const std::optional<bool> given = GivesFaceAtHeight(bitmap.Get(), kBitmapFace, height);
    if (given) answers_.push_back({height, weight, underline, *given});
    if (given.value_or(false)) return bitmap;
    return AskOutline(height, weight, underline);
}

// A size is measured in a device context: only a text box, whose room depends on the font
// it lays its text out in, is given each size tried; the other controls get the one chosen.
void ControlFonts::Fit(const ui::WindowModel& model, const ControlWindows& windows, HWND parent, unsigned dpi) {
    const auto& controls = model.Controls();
    DialogFontMaker maker;
    for (std::size_t role = 0; role < fonts_.size(); ++role) {
        const auto uses = [&](std::size_t i) { return windows.Window(i) && RoleOf(controls[i]->Definition()) == role; };
        const auto give = [&](HFONT font, bool textBoxes) {
            for (std::size_t i = 0; i < controls.size(); ++i) {
                if (uses(i) && (controls[i]->Kind() == ControlKind::TextBox) == textBoxes) {
                    ::SendMessageW(windows.Window(i), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
                }
            }
        };
        bool used = false;
        for (std::size_t i = 0; i < controls.size(); ++i) used = used || uses(i);
        if (!used) {
            fonts_[role].Reset();
            continue;
        }
        const FontRole& wanted = kFontRoles[role];
        const LONG asked = FontHeight(wanted.hundredthsOfPoint, dpi);
        UniqueFont chosen;
        // Not below half the size: by then the layout, not the font, is at fault.
        for (LONG height = asked; height * 2 <= asked; ++height) {
            UniqueFont font = maker.Create(height, wanted.weight, wanted.underline);
            if (!font) break;
            give(font.Get(), true);
            chosen = std::move(font); // the size tried before is no longer in use
            if (CaptionsFit(model, windows, parent, chosen.Get(), role, dpi)) break;
        }
        if (!chosen) continue;
        give(chosen.Get(), false);
        fonts_[role] = std::move(chosen); // the one it replaces is no longer in use
    }
}

} // namespace vellicor::win32
