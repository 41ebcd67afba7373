#include "win32/AboutWindow.h"

#include "app/AboutForm.h"
#include "win32/NativeWindow.h"
#include "win32/ResourceIds.h"
#include "win32/SizedString.h"
#include "win32/SystemLibrary.h"

#include <algorithm>
#include <vector>

namespace vellicor::win32 {

namespace {

std::optional<std::wstring> ProgramPath() {
    return SizedString([](wchar_t* buffer, DWORD size) { return ::GetModuleFileNameW(nullptr, buffer, size); });
}

class AboutWindowHost : public app::AboutHost {
public:
    AboutWindowHost(NativeWindow& form, HWND owner) : form_(form), owner_(owner) {}

    // The owner is enabled before the window goes, so that the system hands the
    // activation back to it rather than to some other program's window.
    void Close() override {
        ::EnableWindow(owner_, TRUE);
        form_.Destroy();
    }

private:
    NativeWindow& form_;
    HWND owner_;
};

} // namespace

FrameStyle AboutWindowStyle() {
    FrameStyle style;
    style.caption = ui::kAboutCaption;
    style.clientWidth = ui::kAboutClientWidth;
    style.clientHeight = ui::kAboutClientHeight;
    // A fixed dialog frame: no sizing border, no minimize or maximize button.
    style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    style.exStyle = WS_EX_DLGMODALFRAME;
    style.iconResource = VELLICOR_ICON_ABOUT;
    style.defaultButton = L"cmdOK";
    style.cancelButton = L"cmdOK";
    style.initialFocus = L"cmdOK";
    style.centredOverOwner = true;
    return style;
}

std::optional<ui::ProgramVersion> ReadFileVersion(const std::wstring& path) {
    // Not imported: version.dll is no known DLL, and one planted beside the program would
    // run before the program's first line.
    const UniqueLibrary library = LoadSystemLibrary(L"version.dll");
    const auto getSize =
        LibraryFunction<decltype(&::GetFileVersionInfoSizeW)>(library.Get(), "GetFileVersionInfoSizeW");
    const auto getInfo = LibraryFunction<decltype(&::GetFileVersionInfoW)>(library.Get(), "GetFileVersionInfoW");
    const auto queryValue = LibraryFunction<decltype(&::VerQueryValueW)>(library.Get(), "VerQueryValueW");
    if (!getSize || !getInfo || !queryValue) return std::nullopt;

    DWORD ignored = 0;
    const DWORD size = getSize(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<std::byte> block(size);
    if (!getInfo(path.c_str(), 0, size, block.data())) return std::nullopt;
    void* data = nullptr;
    UINT length = 0;
    if (!queryValue(block.data(), L"\\", &data, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return ui::ProgramVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                              LOWORD(fixed->dwFileVersionLS)};
}

void ShowAboutWindow(HWND owner, platform::Shell& shell) {
    ui::WindowModel model(ui::AboutLayout());
    NativeWindow form(model, AboutWindowStyle());
    AboutWindowHost host(form, owner);
    app::AboutForm about(model, shell, host);

    const std::optional<std::wstring> program = ProgramPath();
    about.Form_Load(program ? ReadFileVersion(*program) : std::nullopt);
    if (!form.Create(owner)) return;
    form.onClose = [&host] { host.Close(); };

    ::EnableWindow(owner, FALSE);
    form.Show();
    form.RunUntilClosed();
    // Also reached when a quit message ended the display with the window still open.
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
}

} // namespace vellicor::win32
