#include "platform/win32/DialogFont.h"

#include <array>
#include <cwchar>

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

// What the system really made of the request: the face's name and its character height.
bool GivesFaceAtHeight(HFONT font, const wchar_t* face, LONG height) {
    const HDC dc = ::GetDC(nullptr);
    if (!dc) return false;
    const HGDIOBJ old = ::SelectObject(dc, font);
    std::array<wchar_t, LF_FACESIZE> given{};
    TEXTMETRICW metrics{};
    const bool read =
        ::GetTextFaceW(dc, static_cast<int>(given.size()), given.data()) > 0 && ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return read && _wcsicmp(given.data(), face) == 0 && metrics.tmHeight - metrics.tmInternalLeading == -height;
}

} // namespace

UniqueFont CreateDialogFont(LONG height, LONG weight, bool underline) {
    UniqueFont bitmap = Ask(kBitmapFace, DEFAULT_PITCH | FF_DONTCARE, height, weight, underline);
    if (bitmap && GivesFaceAtHeight(bitmap.get(), kBitmapFace, height)) return bitmap;
    return Ask(kOutlineFace, VARIABLE_PITCH | FF_SWISS, height, weight, underline);
}

} // namespace vellicor::platform::win32
