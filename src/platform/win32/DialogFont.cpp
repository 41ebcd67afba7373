#include "platform/win32/DialogFont.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <optional>

namespace vellicor::platform::win32 {

namespace {

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
    const HDC dc = ::GetDC(nullptr);
    if (!dc) return std::nullopt;
    const HGDIOBJ old = ::SelectObject(dc, font);
    std::array<wchar_t, LF_FACESIZE> given{};
    TEXTMETRICW metrics{};
    const bool read =
        ::GetTextFaceW(dc, static_cast<int>(given.size()), given.data()) > 0 && ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    if (!read) return std::nullopt;
    return _wcsicmp(given.data(), face) == 0 && metrics.tmHeight - metrics.tmInternalLeading == -height;
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
    const std::optional<bool> given = GivesFaceAtHeight(bitmap.get(), kBitmapFace, height);
    if (given) answers_.push_back({height, weight, underline, *given});
    if (given.value_or(false)) return bitmap;
    return AskOutline(height, weight, underline);
}

} // namespace vellicor::platform::win32
