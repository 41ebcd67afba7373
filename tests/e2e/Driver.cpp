#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <ostream>
#include <stdexcept>
#include <thread>

namespace vellicor::e2e {

namespace {

using platform::UniqueFile;
using platform::UniqueKey;

std::wstring& ConfiguredPath() {
    static std::wstring path;
    return path;
}

void Check(LSTATUS status, const char* call, const std::wstring& what) {
    if (status != ERROR_SUCCESS) throw std::runtime_error(std::string(call) + "(" + Utf8(what) + ") failed with " + std::to_string(status));
}

UniqueKey OpenKey(HKEY root, const std::wstring& key, REGSAM access) {
    UniqueKey opened;
    ::RegOpenKeyExW(root, key.c_str(), 0, access, opened.Put());
    return opened;
}

// A 32-pixel square of the screen, or of a system icon drawn on the dialog colour.
std::vector<COLORREF> Pixels(const std::function<void(HDC)>& draw) {
    const HDC screen = ::GetDC(nullptr), memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 32);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    draw(memory);
    std::vector<COLORREF> pixels;
    for (int i = 0; i < 32 * 32; ++i) pixels.push_back(::GetPixel(memory, i % 32, i / 32));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// Icons are not readable across processes: what the box shows is compared with each
// system icon drawn here, until one is clearly the closest (the box may not be painted
// yet when it is first seen).
Icon IconOf(HWND box) {
    HWND shown = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((StyleOf(child) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child)) shown = child;
    }
    if (!shown) return Icon::None;
    const std::pair<Icon, LPCWSTR> icons[] = {
        {Icon::Question, IDI_QUESTION}, {Icon::Information, IDI_INFORMATION}, {Icon::Exclamation, IDI_WARNING}, {Icon::Critical, IDI_ERROR}};
    std::vector<std::vector<COLORREF>> drawn;
    for (const auto& icon : icons) {
        drawn.push_back(Pixels([&](HDC dc) {
            const RECT all{0, 0, 32, 32};
            ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
            ::DrawIconEx(dc, 0, 0, ::LoadIconW(nullptr, icon.second), 32, 32, 0, nullptr, DI_NORMAL);
        }));
    }
    Icon best = Icon::None;
    WaitUntil([&] {
        RECT r{};
        ::GetWindowRect(shown, &r);
        const auto screen = Pixels([&](HDC dc) {
            const HDC source = ::GetDC(nullptr);
            ::BitBlt(dc, 0, 0, 32, 32, source, r.left, r.top, SRCCOPY);
            ::ReleaseDC(nullptr, source);
        });
        std::vector<std::pair<long long, Icon>> distances;
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            long long distance = 0;
            for (std::size_t i = 0; i < screen.size(); ++i) {
                for (int shift : {0, 8, 16}) distance += std::abs(int((drawn[k][i] >> shift) & 0xFF) - int((screen[i] >> shift) & 0xFF));
            }
            distances.emplace_back(distance, icons[k].first);
        }
        std::sort(distances.begin(), distances.end());
        best = distances[0].second;
        return distances[0].first * 2 < distances[1].first;
    }, 3s);
    return best;
}

Box ViewOf(HWND window) {
    Box box{window, TextOf(window), Icon::None, TextOf(::GetDlgItem(window, 0xFFFF)), {}, {}};
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::lstrcmpiW(ClassOf(child).c_str(), L"Button") != 0) continue;
        box.buttons.push_back(TextOf(child));
        if ((StyleOf(child) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) box.defaultButton = box.buttons.back();
    }
    if (!box.buttons.empty()) box.icon = IconOf(window);
    return box;
}

} // namespace

std::string Utf8(std::wstring_view text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(std::size_t(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout) {
    for (const auto deadline = std::chrono::steady_clock::now() + timeout; !predicate(); std::this_thread::sleep_for(5ms)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
    }
    return true;
}

const std::wstring& VellicorPath() { return ConfiguredPath(); }

void ConfigureFromCommandLine() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) {
        std::wstring path = arguments[i];
        if (!path.starts_with(L"--vellicor=")) continue;
        path.erase(0, 11);
        // CMake on Linux hands over a Unix path; Wine reaches the root through drive Z:.
        if (path.starts_with(L'/')) path = L"Z:" + path;
        std::replace(path.begin(), path.end(), L'/', L'\\');
        ConfiguredPath() = path;
    }
    ::LocalFree(arguments);
}

std::wstring OwnFolder() {
    wchar_t self[MAX_PATH]{};
    const std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.rfind(L'\\') + 1);
}

// ---------------------------------------------------------------------------------------

std::wstring LiteralPath(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\")) return path;
    std::wstring full(32768, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr));
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
    const UniqueFile file(::CreateFileW(LiteralPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr)) << Utf8(path);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(LiteralPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(1 << 16, '\0');
    DWORD got = 0;
    ::ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr);
    return bytes.substr(0, got);
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(LiteralPath(path).c_str()); }

void SetAttributes(const std::wstring& path, DWORD attributes) { ::SetFileAttributesW(LiteralPath(path).c_str(), attributes); }

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const HANDLE find = ::FindFirstFileW(LiteralPath(folder + L"\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(find, &data)) {
        if (std::wstring_view(data.cFileName) != L"." && std::wstring_view(data.cFileName) != L"..") names.emplace_back(data.cFileName);
    }
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::wstring& path) {
    for (const std::wstring& name : FileNames(path)) RemoveTree(path + L"\\" + name);
    SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileW(LiteralPath(path).c_str())) ::RemoveDirectoryW(LiteralPath(path).c_str());
}

ScratchFolder::ScratchFolder(std::wstring_view prefix) {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1]{};
    path_ = std::wstring(temp, ::GetTempPathW(MAX_PATH + 1, temp)) + std::wstring(prefix) + L"-" +
            std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    RemoveTree(path_);
    EXPECT_TRUE(::CreateDirectoryW(LiteralPath(path_).c_str(), nullptr)) << ::GetLastError();
}

std::string UnixPathOf(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    const std::string result(unix ? unix : "");
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
    if (UnixPathOf(target).empty()) return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    // Wine starts a Unix program named by its Windows path, and gives no handle to wait on.
    const std::string command = "Z:\\bin\\ln -s \"" + UnixPathOf(target) + "\" \"" + UnixPathOf(link) + "\"";
    std::wstring commandLine(command.begin(), command.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return false;
    const platform::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    return WaitUntil([&] { return Attributes(link) != INVALID_FILE_ATTRIBUTES; }, 5s);
}

OtherDrive::OtherDrive(const std::wstring& folder) {
    if (const std::string unix = UnixPathOf(folder); !unix.empty()) {
        path_ = L"Z:" + std::wstring(unix.begin(), unix.end());
        std::replace(path_.begin(), path_.end(), L'/', L'\\');
    }
    for (wchar_t letter = L'Z'; letter > L'D' && path_.empty(); --letter) {
        const std::wstring drive{letter, L':'};
        if (::GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_NO_ROOT_DIR && ::DefineDosDeviceW(0, drive.c_str(), folder.c_str())) path_ = substituted_ = drive;
    }
}

OtherDrive::~OtherDrive() {
    if (!substituted_.empty()) ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, substituted_.c_str(), nullptr);
}

LockedFile::LockedFile(const std::wstring& path)
    : handle_(::CreateFileW(LiteralPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

// ---------------------------------------------------------------------------------------

RawValue Dword(DWORD number) { return Bytes(REG_DWORD, {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)}); }

RawValue Bytes(DWORD type, std::vector<BYTE> data) { return RawValue{type, std::move(data)}; }

RawValue Text(std::wstring_view text, DWORD type, bool terminated) {
    RawValue value{type, {}};
    for (wchar_t ch : text) value.data.insert(value.data.end(), {BYTE(ch & 0xFF), BYTE(ch >> 8)});
    if (terminated) value.data.insert(value.data.end(), {0, 0});
    return value;
}

std::optional<RawValue> ReadValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    const UniqueKey opened = OpenKey(root, key, KEY_QUERY_VALUE);
    RawValue value;
    DWORD size = 0;
    if (!opened || ::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    Check(::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size), "RegQueryValueExW", name);
    return value;
}

void WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const RawValue& value) {
    Check(::RegSetKeyValueW(root, key.c_str(), name.c_str(), value.type, value.data.data(), DWORD(value.data.size())), "RegSetKeyValueW", name);
}

Values ReadValues(HKEY root, const std::wstring& key) {
    Values values;
    wchar_t name[16384];
    const UniqueKey opened = OpenKey(root, key, KEY_QUERY_VALUE);
    for (DWORD i = 0, length = 16384; opened && ::RegEnumValueW(opened.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i, length = 16384) {
        values[name] = ReadValue(root, key, name).value_or(RawValue{});
    }
    return values;
}

bool KeyExists(HKEY root, const std::wstring& key) { return bool(OpenKey(root, key, KEY_QUERY_VALUE)); }

void DeleteKeyTree(HKEY root, const std::wstring& key) {
    // An empty name would empty the root itself.
    const LSTATUS status = key.empty() ? ERROR_INVALID_PARAMETER : ::RegDeleteTreeW(root, key.c_str());
    if (status != ERROR_FILE_NOT_FOUND) Check(status, "RegDeleteTreeW", key);
}

ScratchSettings::ScratchSettings(bool withKey) : vendorExisted_(KeyExists(HKEY_CURRENT_USER, kVendorKey)) {
    DeleteKey();
    UniqueKey created;
    if (withKey) Check(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, created.Put(), nullptr), "RegCreateKeyExW", kSettingsKey);
}

ScratchSettings::~ScratchSettings() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    // Fails, as it should, while the vendor key holds anything else.
    if (!vendorExisted_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kVendorKey);
}

void ScratchSettings::Set(const std::wstring& name, const RawValue& value) const { WriteValue(HKEY_CURRENT_USER, kSettingsKey, name, value); }
void ScratchSettings::Delete(const std::wstring& name) const { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str()); }
Values ScratchSettings::Read() const { return ReadValues(HKEY_CURRENT_USER, kSettingsKey); }
bool ScratchSettings::Exists() const { return KeyExists(HKEY_CURRENT_USER, kSettingsKey); }
void ScratchSettings::DeleteKey() const { DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey); }

SavedValue::SavedValue(std::wstring key, std::wstring name, std::optional<RawValue> set)
    : key_(std::move(key)), name_(std::move(name)), original_(ReadValue(HKEY_CURRENT_USER, key_, name_)),
      keyExisted_(KeyExists(HKEY_CURRENT_USER, key_)) {
    if (set) WriteValue(HKEY_CURRENT_USER, key_, name_, *set);
}

SavedValue::~SavedValue() {
    if (original_) ::RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), original_->type, original_->data.data(), DWORD(original_->data.size()));
    else if (keyExisted_) ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
    else ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
}

// ---------------------------------------------------------------------------------------

std::wstring ClassOf(HWND window) {
    wchar_t name[256]{};
    return std::wstring(name, std::size_t(std::max(0, ::GetClassNameW(window, name, 256))));
}

std::wstring TextOf(HWND window) {
    std::wstring text(std::size_t(std::max<LRESULT>(Send(window, WM_GETTEXTLENGTH).value_or(0), 0)) + 1, L'\0');
    text.resize(std::size_t(std::max<LRESULT>(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data())).value_or(0), 0)));
    return text;
}

LONG_PTR StyleOf(HWND window) { return ::GetWindowLongPtrW(window, GWL_STYLE); }

RECT RectInParent(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return SIZE{rect.right, rect.bottom};
}

POINT ScreenCentre(HWND window) {
    POINT centre{ClientSize(window).cx / 2, ClientSize(window).cy / 2};
    ::ClientToScreen(window, &centre);
    return centre;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!window || !::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, UINT(kPatience.count()), &result)) return std::nullopt;
    return LRESULT(result);
}

bool BringToFront(HWND window) {
    if (::GetForegroundWindow() != window) ::SetForegroundWindow(window);
    return WaitUntil([window] { return ::GetForegroundWindow() == window; }, 5s);
}

bool PressKey(WORD virtualKey, bool shift) {
    std::vector<INPUT> inputs;
    for (const auto& [vk, flags] : {std::pair{WORD(VK_SHIFT), DWORD(0)}, {virtualKey, 0}, {virtualKey, KEYEVENTF_KEYUP}, {WORD(VK_SHIFT), KEYEVENTF_KEYUP}}) {
        if (vk == VK_SHIFT && !shift) continue;
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD, input.ki.wVk = vk, input.ki.wScan = WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), input.ki.dwFlags = flags;
    }
    return ::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool MovePointerUntil(POINT screen, const std::function<bool()>& arrived) {
    const auto there = [&] {
        POINT now{};
        return ::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y && arrived();
    };
    for (const auto deadline = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < deadline;) {
        ::SetCursorPos(screen.x, screen.y);
        if (WaitUntil(there, 1s) && !WaitUntil([&] { return !there(); }, 50ms)) return true;
    }
    return false;
}

bool ClickWithMouse(HWND control) {
    const POINT centre = ScreenCentre(control);
    if (!MovePointerUntil(centre, [&] { return ::WindowFromPoint(centre) == control; })) return false;
    // Absolute positions run from 0 to 65535 over the virtual screen; rounded up so that
    // the system's scaling back lands on the very pixel.
    const auto normalised = [](int offset, int extent) { return LONG((offset * 65536LL + extent - 1) / extent); };
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dx = normalised(centre.x - ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    inputs[0].mi.dy = normalised(centre.y - ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// ---------------------------------------------------------------------------------------

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    static const char* const kIcons[] = {"no icon", "question", "information", "exclamation", "critical"};
    return out << kIcons[int(shown.icon)] << " \"" << Utf8(shown.text) << '"';
}

Shown Question(std::wstring text) { return Shown{Icon::Question, std::move(text)}; }
Shown Notice(std::wstring text) { return Shown{Icon::Information, std::move(text)}; }
Shown Warning(std::wstring text) { return Shown{Icon::Exclamation, std::move(text)}; }
Shown Critical(std::wstring text) { return Shown{Icon::Critical, std::move(text)}; }

Shown Seen(const Box& box) {
    EXPECT_EQ(L"Vellicor", box.title) << Utf8(box.text);
    const std::vector<std::wstring> buttons{L"OK", L"Cancel"};
    EXPECT_EQ(std::vector(buttons.begin(), buttons.begin() + (box.icon == Icon::Question ? 2 : 1)), box.buttons) << Utf8(box.text);
    EXPECT_EQ(L"OK", box.defaultButton) << Utf8(box.text);
    return Shown{box.icon, box.text};
}

bool AnswerBox(const Box& box, Answer answer) {
    // What a click on the button sends its dialog, whatever has the focus.
    const int id = answer == Answer::Ok ? IDOK : IDCANCEL;
    if (answer == Answer::Ok || answer == Answer::Cancel) return ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(::GetDlgItem(box.window, id)));
    if (answer == Answer::Escape) return BringToFront(box.window) && PressKey(VK_ESCAPE);
    return ::PostMessageW(box.window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::wstring SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                                          code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::wstring result(text, length);
    ::LocalFree(text);
    return result.substr(0, result.find_last_not_of(L"\r\n") + 1);
}

std::wstring FailureReport(const std::wstring& what, DWORD code) { return what + L"\r\n\r\n" + std::to_wstring(code) + L": " + SystemText(code); }

// ---------------------------------------------------------------------------------------

Program::Program(const std::wstring& exe, const std::wstring& currentFolder) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start " + Utf8(exe));
    }
    process_.Reset(info.hProcess);
    const platform::UniqueKernelHandle thread(info.hThread);
    id_ = info.dwProcessId;
    // Should the test die, the job takes the program with it.
    job_.Reset(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    ::AssignProcessToJobObject(job_.Get(), process_.Get());
    ::ResumeThread(thread.Get());
}

Program::~Program() {
    if (Running()) ::TerminateProcess(process_.Get(), 1);
    ::WaitForSingleObject(process_.Get(), 5000);
}

std::vector<HWND> Program::TopLevelWindows() const {
    std::pair<DWORD, std::vector<HWND>> search{id_, {}};
    ::EnumWindows([](HWND window, LPARAM context) {
        auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(context);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == found->first && ::IsWindowVisible(window)) found->second.push_back(window);
        return TRUE;
    }, LPARAM(&search));
    return search.second;
}

HWND Program::WaitForWindow(const std::wstring& caption, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows()) {
            if (ClassOf(window) == L"VellicorForm" && TextOf(window) == caption) found = window;
        }
        return found || !Running();
    }, timeout);
    return found;
}

HWND Program::Main() { return main_ ? main_ : (main_ = WaitForWindow(L"Vellicor")); }

HWND Program::Control(int creationIndex, HWND window) { return ::GetDlgItem(window ? window : Main(), kFirstControlId + creationIndex); }

bool Program::Click(HWND control) const { return control && Send(control, BM_CLICK).has_value(); }

bool Program::PostClick(HWND control) const { return control && ::PostMessageW(control, BM_CLICK, 0, 0); }

int Program::State(HWND box) const { return int(Send(box, BM_GETCHECK).value_or(-1)); }

bool Program::Sync() { return Send(Main(), WM_NULL).has_value(); }

std::optional<Box> Program::NextBox(HWND previous, Milliseconds timeout) const {
    if (previous && !WaitUntil([previous] { return !::IsWindowVisible(previous); })) return std::nullopt;
    std::optional<Box> box;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows()) {
            // The text and buttons arrive just after the dialog becomes visible.
            if (ClassOf(window) == L"#32770" && !(box = ViewOf(window))->buttons.empty()) return true;
        }
        return box.reset(), !Running();
    }, timeout);
    return box;
}

std::vector<Shown> Program::StartupBoxes() {
    std::vector<Shown> shown;
    for (HWND previous = nullptr;;) {
        // Either the main window is up or a box stands in its way.
        WaitUntil([&] { return (!previous || !::IsWindowVisible(previous)) && (NextBox(nullptr, 0ms) || WaitForWindow(L"Vellicor", 0ms)); });
        const std::optional<Box> box = NextBox(nullptr, 0ms);
        if (!box) return shown;
        shown.push_back(Seen(*box));
        AnswerBox(*box, Answer::Ok);
        previous = box->window;
    }
}

std::vector<Shown> Program::Converse(HWND button, bool asks, Answer answer) {
    std::vector<Shown> shown;
    std::optional<Box> box = PostClick(button) ? NextBox(nullptr, asks || answer == Answer::Ok ? kPatience : kQuiet) : std::nullopt;
    if (box && asks) {
        shown.push_back(Seen(*box));
        AnswerBox(*box, answer);
        box = NextBox(box->window, answer == Answer::Ok ? kPatience : kQuiet);
    }
    if (box) {
        shown.push_back(Seen(*box));
        AnswerBox(*box, Answer::Ok);
        WaitUntil([&] { return !::IsWindow(box->window); });
    }
    return shown;
}

bool Program::Running() const { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(Milliseconds timeout) const { return ::WaitForSingleObject(process_.Get(), DWORD(timeout.count())) == WAIT_OBJECT_0; }

std::optional<DWORD> Program::ExitCode() const {
    DWORD code = 0;
    return !Running() && ::GetExitCodeProcess(process_.Get(), &code) ? std::optional(code) : std::nullopt;
}

} // namespace vellicor::e2e
