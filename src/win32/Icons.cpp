#include "win32/Icons.h"

#include "win32/Dpi.h"
#include "win32/ResourceIds.h"
#include "win32/SystemLibrary.h"

#include <algorithm>
#include <span>

namespace vellicor::win32 {

namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

// The largest image of an icon resource that fits a square of that many pixels; the
// room itself when there is none (the system then scales the nearest image).
int IconSizeWithin(int resource, int room) {
    const HRSRC found = ::FindResourceW(Instance(), MAKEINTRESOURCEW(resource), RT_GROUP_ICON);
    const HGLOBAL loaded = found ? ::LoadResource(Instance(), found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data) return room;
    const std::span<const BYTE> directory(data, ::SizeofResource(Instance(), found));
    // A group directory: three words, the image count last, then one entry per image,
    // its width first (0 for 256).
    constexpr std::size_t kCountAt = 4;
    constexpr std::size_t kHeaderSize = 6;
    constexpr std::size_t kEntrySize = 14;
    if (directory.size() < kHeaderSize) return room;
    const std::size_t count = directory[kCountAt] | directory[kCountAt + 1] << 8;
    int best = 0;
    for (std::size_t i = 0; i < count && kHeaderSize + kEntrySize * (i + 1) <= directory.size(); ++i) {
        const BYTE stored = directory[kHeaderSize + kEntrySize * i];
        const int width = stored ? stored : 256;
        if (width <= room && width > best) best = width;
    }
    return best ? best : room;
}

// A size between the stored images (the title bar's at 125 % or 175 %) is scaled down
// from the next larger image, as the system's own icons are, rather than stretched up
// from the next smaller one as LoadImageW does. Common Controls 6 has the call from
// Windows Vista on; without it, LoadImageW.
UniqueIcon LoadIconSized(int resource, int size) {
    using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const UniqueLibrary commonControls = LoadSystemLibrary(L"comctl32.dll");
    static const auto scaleDown =
        LibraryFunction<LoadIconWithScaleDownFn>(commonControls.Get(), "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(Instance(), MAKEINTRESOURCEW(resource), size, size, &icon))) {
        return UniqueIcon(icon);
    }
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, 0)));
}

} // namespace

void WindowIcons::Load(HWND window, int iconResource, const ui::WindowModel& model, const ControlWindows& windows,
                       unsigned dpi) {
    if (iconResource != 0) {
        UniqueIcon big = LoadIconSized(iconResource, SystemMetric(SM_CXICON, dpi));
        UniqueIcon small = LoadIconSized(iconResource, SystemMetric(SM_CXSMICON, dpi));
        ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
        ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
        big_ = std::move(big);
        small_ = std::move(small);
    }
    const auto& controls = model.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!windows.Window(i) || controls[i]->Kind() != ui::ControlKind::PictureBox) continue;
        RECT room{};
        ::GetClientRect(windows.Window(i), &room);
        UniqueIcon icon = LoadIconSized(VELLICOR_ICON_PROGRAM,
                                        IconSizeWithin(VELLICOR_ICON_PROGRAM, std::min(room.right, room.bottom)));
        ::SendMessageW(windows.Window(i), STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
        picture_ = std::move(icon);
    }
}

} // namespace vellicor::win32
