#include "e2e/Expected.h"

#include <stdexcept>

namespace vellicor::e2e {

int Index(std::wstring_view name) {
    for (int i = 0; i < int(std::size(kMain)); ++i) {
        if (kMain[i].name == name) return i;
    }
    throw std::invalid_argument("no control " + Utf8(name));
}

const Expected& Row(std::wstring_view name) { return kMain[Index(name)]; }

RECT PixelRect(const Expected& row, int dpi) {
    int left = row.left, top = row.top;
    if (!row.frame.empty()) left += Row(row.frame).left, top += Row(row.frame).top;
    return RECT{Pixels(left, dpi), Pixels(top, dpi), Pixels(left, dpi) + Pixels(row.width, dpi),
                Pixels(top, dpi) + Pixels(row.height, dpi)};
}

std::wstring CouldNotFind(const std::wstring& path, bool library) {
    return L"Could not find \"" + path + (library ? L"\r\n\r\nNote that this setting only works with a global playlist" : L"");
}

Player::Player(bool withFiles) {
    Folder(folder.Path());
    if (withFiles) WriteFiles();
}

void Player::WriteFiles() const {
    WriteBytes(library, "library");
    WriteBytes(playlist, kFullPlaylistBytes);
}

void Player::Folder(const std::wstring& installDir) {
    settings.Set(L"Install_Dir", Text(installDir));
    library = installDir + L"\\xmplay.library";
    playlist = installDir + L"\\xmplay.pls";
}

} // namespace vellicor::e2e
