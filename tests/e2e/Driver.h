#pragma once

// Drives the real Vellicor.exe from another process, the way a person does: start it,
// find its windows, click, press keys, move the pointer, read what it shows and answer
// its message boxes; then look at the registry and the files. Every wait has a timeout,
// so a broken program fails a test instead of hanging it, and a started program ends with
// the test that started it (the test command ends the prefix's Wine in any case). Nothing
// here comes from the program's own tables or texts: the tests say what a person must see.

#include "win32/Handles.h"
#include "win32/SystemLibrary.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <thread>

namespace vellicor::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;
using win32::UniqueFile;
using win32::UniqueKernelHandle;
using win32::UniqueKey;

// What Handles.h leaves out: a search of a folder (none is INVALID_HANDLE_VALUE), a memory
// device context and a bitmap.
struct FindTraits : win32::FileTraits {
    static void Close(Type find) noexcept { ::FindClose(find); }
};
using UniqueFind = win32::UniqueHandle<FindTraits>;
using UniqueMemoryDC = win32::UniqueHandle<win32::ClosedBy<HDC, &::DeleteDC>>;
using UniqueBitmap = win32::UniqueHandle<win32::ClosedBy<HBITMAP, &::DeleteObject>>;

// Long enough for a cold start under Wine on a busy machine; a working program answers in
// a fraction of it. "Nothing happens" is judged once the program has handled everything
// (Settled, below), never after a guessed time.
inline constexpr Milliseconds kPatience = 15s;

inline bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout = kPatience) {
    for (const auto deadline = std::chrono::steady_clock::now() + timeout; !predicate();
         std::this_thread::sleep_for(5ms)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
    }
    return true;
}

// Vellicor.exe's Windows path, which main takes from "--vellicor=<path>"; and the folder
// this test program runs from, with its trailing backslash.
inline std::wstring& VellicorPath() {
    static std::wstring path;
    return path;
}
inline std::wstring OwnFolder() {
    wchar_t self[MAX_PATH]{};
    const std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.rfind(L'\\') + 1);
}

// ---------------------------------------------------------------------------------------
// Real files, by paths taken literally (the \\?\ form after the system's own clean-up), so
// that long paths can be laid out without the code under test.

inline std::wstring LiteralPath(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr));
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}
inline UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return UniqueFile(::CreateFileW(LiteralPath(path).c_str(), access, share, nullptr, disposition, 0, nullptr));
}
inline void WriteBytes(const std::wstring& path, std::string_view bytes) {
    const UniqueFile file = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr)) << path;
}
inline std::optional<std::string> ReadBytes(const std::wstring& path) {
    const UniqueFile file =
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    std::string bytes(1 << 16, '\0');
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr)) return std::nullopt;
    return bytes.substr(0, got);
}
// INVALID_FILE_ATTRIBUTES when missing.
inline DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(LiteralPath(path).c_str()); }
inline void SetAttributes(const std::wstring& path, DWORD attributes) {
    ::SetFileAttributesW(LiteralPath(path).c_str(), attributes);
}
// The names in a folder, sorted.
inline std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const UniqueFind find(::FindFirstFileW(LiteralPath(folder + L"\\*").c_str(), &found));
    for (BOOL more = bool(find); more; more = ::FindNextFileW(find.Get(), &found)) {
        if (found.cFileName != std::wstring_view(L".") && found.cFileName != std::wstring_view(L".."))
            names.emplace_back(found.cFileName);
    }
    std::sort(names.begin(), names.end());
    return names;
}
inline void RemoveTree(const std::wstring& path) {
    for (const std::wstring& name : FileNames(path)) RemoveTree(path + L"\\" + name);
    SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileW(LiteralPath(path).c_str())) ::RemoveDirectoryW(LiteralPath(path).c_str());
}

// A new folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring_view prefix) {
        static int counter = 0;
        wchar_t temp[MAX_PATH + 1]{};
        path_ = std::wstring(temp, ::GetTempPathW(MAX_PATH + 1, temp)) + std::wstring(prefix) + L"-" +
                std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        RemoveTree(path_);
        EXPECT_TRUE(::CreateDirectoryW(LiteralPath(path_).c_str(), nullptr)) << ::GetLastError();
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Starts a program, in the folder given or this one, shown as a shortcut's "Run" setting
// asks; its process, none when it cannot start.
inline UniqueKernelHandle Start(std::wstring commandLine, const std::wstring& folder = {}, WORD show = SW_SHOWNORMAL) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        return {};
    }
    ::CloseHandle(info.hThread);
    return UniqueKernelHandle(info.hProcess);
}

inline bool UnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// Under Wine, the Unix path a Windows path stands for; empty elsewhere.
inline std::string UnixPathOf(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = win32::LibraryFunction<ToUnix>(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    const std::string result(unix ? unix : "");
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// Makes `link` a symbolic link to the file `target`: under Wine a Unix one (Wine 8 makes
// none itself; it starts a Unix program named by its Windows path, without a handle to
// wait on), on Windows where the user may. False when none could be made.
inline bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
    if (UnixPathOf(target).empty())
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const std::string command = "Z:\\bin\\ln -s \"" + UnixPathOf(target) + "\" \"" + UnixPathOf(link) + "\"";
    Start(std::wstring(command.begin(), command.end()));
    return WaitUntil([&] { return Attributes(link) != INVALID_FILE_ATTRIBUTES; });
}

// The folder through another drive letter while this lives: under Wine the Z: drive, which
// shows the whole Unix file system; on Windows a free letter substituted for the folder, as
// `subst` does. Empty when there is none.
class OtherDrive {
public:
    explicit OtherDrive(const std::wstring& folder) {
        if (UnderWine()) {
            path_ = L"Z:";
            for (const char ch : UnixPathOf(folder)) path_ += ch == '/' ? L'\\' : wchar_t(ch);
            return;
        }
        for (wchar_t letter = L'Z'; letter > L'D' && path_.empty(); --letter) {
            const std::wstring drive{letter, L':'};
            if ((::GetLogicalDrives() & (1u << (letter - L'A'))) == 0 &&
                ::DefineDosDeviceW(0, drive.c_str(), folder.c_str())) {
                path_ = substituted_ = drive;
            }
        }
    }
    ~OtherDrive() {
        if (!substituted_.empty()) ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, substituted_.c_str(), nullptr);
    }
    OtherDrive(const OtherDrive&) = delete;
    OtherDrive& operator=(const OtherDrive&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_, substituted_;
};

// ---------------------------------------------------------------------------------------
// The registry, as another program sees it. Setting up fails the test where the registry
// refuses.

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    friend bool operator==(const RawValue&, const RawValue&) = default;
};
using Values = std::map<std::wstring, RawValue>;

inline RawValue Bytes(DWORD type, std::vector<BYTE> data) { return RawValue{type, std::move(data)}; }
inline RawValue Dword(DWORD number) {
    return Bytes(REG_DWORD, {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)});
}
// UTF-16 text, with its terminator unless asked otherwise.
inline RawValue Text(std::wstring_view text, DWORD type = REG_SZ, bool terminated = true) {
    RawValue value{type, {}};
    for (wchar_t ch : text) value.data.insert(value.data.end(), {BYTE(ch & 0xFF), BYTE(ch >> 8)});
    if (terminated) value.data.insert(value.data.end(), {0, 0});
    return value;
}

inline bool KeyExists(HKEY root, const std::wstring& key) {
    UniqueKey opened;
    return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.Put()) == ERROR_SUCCESS;
}
inline std::optional<RawValue> ReadValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    UniqueKey opened;
    RawValue value;
    DWORD size = 0;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.Put()) ||
        ::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &value.type, nullptr, &size))
        return std::nullopt;
    value.data.resize(size);
    EXPECT_FALSE(::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size))
        << name;
    return value;
}
inline void WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const RawValue& value) {
    ASSERT_FALSE(
        ::RegSetKeyValueW(root, key.c_str(), name.c_str(), value.type, value.data.data(), DWORD(value.data.size())))
        << key + L"\\" + name;
}
inline Values ReadValues(HKEY root, const std::wstring& key) {
    Values values;
    UniqueKey opened;
    ::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.Put());
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD length = 16384;
        if (!opened || ::RegEnumValueW(opened.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr)) break;
        values[name] = ReadValue(root, key, name).value_or(RawValue{});
    }
    return values;
}

// Keys deleted with everything below them when made (left-overs of an aborted run must
// not leak in) and when gone, however the test ends; a missing key is fine. An empty name
// would empty the root.
struct ScratchKeys {
    ScratchKeys(HKEY root, std::initializer_list<std::wstring> keys) : root(root), keys(keys) { DeleteKeys(); }
    ~ScratchKeys() { DeleteKeys(); }
    void DeleteKeys() const {
        for (const std::wstring& key : keys) {
            const LSTATUS status = ::RegDeleteTreeW(root, key.empty() ? L"\\" : key.c_str());
            EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << key << ": " << status;
        }
    }
    const HKEY root;
    const std::vector<std::wstring> keys;
};

inline constexpr wchar_t kVendorKey[] = L"Software\\Un4seen Developments";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Un4seen Developments\\XMPlay2";

// The player's settings key as scratch space, made anew.
struct ScratchSettings : ScratchKeys {
    explicit ScratchSettings(bool withKey = true) : ScratchKeys(HKEY_CURRENT_USER, {kSettingsKey}) {
        UniqueKey created;
        EXPECT_FALSE(withKey && ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_QUERY_VALUE,
                                                  nullptr, created.Put(), nullptr));
    }
    void Set(const std::wstring& name, const RawValue& value) const {
        WriteValue(HKEY_CURRENT_USER, kSettingsKey, name, value);
    }
    void Delete(const std::wstring& name) const { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str()); }
    Values Read() const { return ReadValues(HKEY_CURRENT_USER, kSettingsKey); }
    bool Exists() const { return KeyExists(HKEY_CURRENT_USER, kSettingsKey); }
};

// One HKEY_CURRENT_USER value set for as long as this lives, then put back as it was.
struct SavedValue {
    SavedValue(std::wstring key, std::wstring name, const RawValue& value)
        : key(std::move(key)), name(std::move(name)), original(ReadValue(HKEY_CURRENT_USER, this->key, this->name)) {
        WriteValue(HKEY_CURRENT_USER, this->key, this->name, value);
    }
    ~SavedValue() {
        if (original)
            WriteValue(HKEY_CURRENT_USER, key, name, *original);
        else
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
    }
    const std::wstring key, name;
    const std::optional<RawValue> original;
};

// ---------------------------------------------------------------------------------------
// Windows of another process; messages go with a timeout.

inline std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!window ||
        !::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, UINT(kPatience.count()), &result))
        return std::nullopt;
    return LRESULT(result);
}
inline std::wstring ClassOf(HWND window) {
    wchar_t name[256]{};
    return std::wstring(name, std::size_t(std::max(0, ::GetClassNameW(window, name, 256))));
}
inline std::wstring TextOf(HWND window) {
    std::wstring text(std::size_t(std::max<LRESULT>(Send(window, WM_GETTEXTLENGTH).value_or(0), 0)) + 1, L'\0');
    text.resize(
        std::size_t(std::max<LRESULT>(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data())).value_or(0), 0)));
    return text;
}
inline LONG_PTR StyleOf(HWND window) { return ::GetWindowLongPtrW(window, GWL_STYLE); }
// In the parent's client coordinates.
inline RECT RectInParent(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
inline SIZE ClientSize(HWND window) {
    RECT rect{};
    return ::GetClientRect(window, &rect) ? SIZE{rect.right, rect.bottom} : SIZE{};
}
// A point of the window's client area, on the screen.
inline POINT OnScreen(HWND window, POINT client) { return ::ClientToScreen(window, &client) ? client : POINT{}; }
// The focus of the thread that owns the window.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}
// Input goes through the system's queue, to whatever window is in front. Windows lets a
// program bring another's window to the front only in some cases (it is in front itself,
// or had the last input, or the user has been idle for a while); where it may not, the
// window is clicked on its caption bar as a person would, with nothing standing over it.
// The pointer is then put back.
inline bool BringToFront(HWND window) {
    const auto inFront = [window] { return ::GetForegroundWindow() == window; };
    if (inFront()) return true;
    ::SetForegroundWindow(window);
    if (WaitUntil(inFront, 1s)) return true;
    constexpr UINT kAsItIs = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    RECT frame{};
    POINT pointer{};
    ::GetWindowRect(window, &frame);
    ::GetCursorPos(&pointer);
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kAsItIs);
    ::SetCursorPos((frame.left + frame.right) / 2, frame.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 4);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    const bool clicked = ::SendInput(2, click, sizeof(INPUT)) == 2 && WaitUntil(inFront, 5s);
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kAsItIs);
    ::SetCursorPos(pointer.x, pointer.y);
    return clicked;
}
// A key pressed and released (with Shift held, when asked) through the system's input, to
// the window in front. Each event goes once the system has taken the one before, which it
// shows in the keyboard's state: under Wine that is when SendInput returns, on Windows a
// moment later. Then the keys are in the window's queue, and Settled comes after them.
inline bool PressKey(WORD key, bool shift = false) {
    const auto send = [](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        // Down: down now, or pressed since the last look (all that Wine's first look in a
        // thread tells).
        const bool down = (flags & KEYEVENTF_KEYUP) == 0;
        return ::SendInput(1, &input, sizeof input) == 1 &&
               WaitUntil([&] { return ((::GetAsyncKeyState(vk) & 0x8001) != 0) == down; }, 5s);
    };
    return (!shift || send(VK_SHIFT, 0)) && send(key, 0) && send(key, KEYEVENTF_KEYUP) &&
           (!shift || send(VK_SHIFT, KEYEVENTF_KEYUP));
}
// Returns once the window's thread has handled everything it was given before: messages
// sent and posted, clicks, keys (under Wine they are in its queue once SendInput returns),
// and what it posted itself meanwhile. A thread paints only when nothing else waits: a
// pixel of the window made invalid is valid again once it has.
inline bool Settled(HWND window) {
    const RECT pixel{0, 0, 1, 1};
    return ::InvalidateRect(window, &pixel, FALSE) &&
           WaitUntil([&] { return !::GetUpdateRect(window, nullptr, FALSE); }, 5s);
}
// The focus put on a control as Tab puts it; and where it is once a key or an
// interruption has been handled.
inline bool Put(HWND window, HWND control) {
    ::PostMessageW(window, WM_NEXTDLGCTL, WPARAM(control), TRUE);
    return WaitUntil([&] { return FocusOf(window) == control; }, 3s);
}
inline bool StaysOn(HWND window, HWND control) { return Settled(window) && FocusOf(window) == control; }
// Moves the real pointer until `arrived` holds with it still there a little later: under
// Wine a move from another process can be replayed after a later one, putting the pointer
// back; a move undone that way is made again.
inline bool MovePointerUntil(POINT screen, const std::function<bool()>& arrived) {
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
// A click with the mouse as the control receives it, at its top left corner: a link label
// tells its window on the press, a button takes the focus and is pressed.
inline bool ClickAt(HWND control) {
    return ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0) && ::PostMessageW(control, WM_LBUTTONUP, 0, 0);
}

// ---------------------------------------------------------------------------------------
// Message boxes, as a person sees them. Every box of the program is titled "Vellicor"; a
// question has OK and Cancel, OK the default; every other box has OK alone.

enum class Icon { None, Question, Information, Exclamation, Critical };
enum class Answer { Ok, Cancel };

struct Shown {
    Icon icon;
    std::wstring text;
    friend bool operator==(const Shown&, const Shown&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Shown& shown) {
        static const char* const kIcons[] = {"no icon", "question", "information", "exclamation", "critical"};
        return out << kIcons[int(shown.icon)] << " " << testing::PrintToString(shown.text);
    }
};
inline Shown Question(std::wstring text) { return Shown{Icon::Question, std::move(text)}; }
inline Shown Notice(std::wstring text) { return Shown{Icon::Information, std::move(text)}; }
inline Shown Warning(std::wstring text) { return Shown{Icon::Exclamation, std::move(text)}; }
inline Shown Critical(std::wstring text) { return Shown{Icon::Critical, std::move(text)}; }

struct Box {
    HWND window;
    Shown shown;
};

// What `draw` paints into a bitmap of the size given (from the screen, say), as blue,
// green, red and a cleared alpha byte per pixel, row by row.
inline std::vector<int> Channels(SIZE size, const std::function<void(HDC memory, HDC screen)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const win32::ScopedDC screen(nullptr);
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    const UniqueBitmap bitmap(::CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win32::ScopedSelection selected(memory.Get(), bitmap.Get());
    draw(memory.Get(), screen.Get());
    ::GdiFlush();
    std::vector<int> channels(static_cast<const BYTE*>(bits),
                              static_cast<const BYTE*>(bits) + std::size_t(size.cx) * std::size_t(size.cy) * 4);
    for (std::size_t i = 3; i < channels.size(); i += 4) channels[i] = 0; // no alpha on the screen
    return channels;
}

// Icons are not readable across processes: what the box shows on the screen is compared
// with each system icon drawn here, 32 pixels square, until one is clearly the closest (a
// box may not be painted yet when it is first seen).
inline Icon IconOf(HWND box) {
    HWND shown = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((StyleOf(child) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child)) shown = child;
    }
    if (!shown) return Icon::None;
    std::vector<std::pair<Icon, std::vector<int>>> drawn;
    for (const auto& icon : {std::pair{Icon::Question, IDI_QUESTION},
                             {Icon::Information, IDI_INFORMATION},
                             {Icon::Exclamation, IDI_WARNING},
                             {Icon::Critical, IDI_ERROR}}) {
        drawn.emplace_back(icon.first, Channels(SIZE{32, 32}, [&](HDC dc, HDC) {
                               const RECT all{0, 0, 32, 32};
                               ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
                               ::DrawIconEx(dc, 0, 0, ::LoadIconW(nullptr, icon.second), 32, 32, 0, nullptr, DI_NORMAL);
                           }));
    }
    // Read off the screen, where nothing may stand in front of it (on Windows the console of
    // the program that runs the tests may).
    ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<std::pair<long long, Icon>> distances;
    WaitUntil(
        [&] {
            RECT r{};
            ::GetWindowRect(shown, &r);
            const auto onScreen = Channels(
                SIZE{32, 32}, [&](HDC dc, HDC screen) { ::BitBlt(dc, 0, 0, 32, 32, screen, r.left, r.top, SRCCOPY); });
            distances.clear();
            for (const auto& [icon, pixels] : drawn) {
                long long distance = 0;
                for (std::size_t i = 0; i < pixels.size(); ++i) distance += std::abs(pixels[i] - onScreen[i]);
                distances.emplace_back(distance, icon);
            }
            std::sort(distances.begin(), distances.end());
            return distances[0].first * 2 < distances[1].first;
        },
        3s);
    return distances[0].second;
}

// What the box shows, its title, buttons and default button checked against the rule above.
inline Shown ShownIn(HWND window) {
    std::vector<std::wstring> buttons;
    std::wstring defaultButton;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::lstrcmpiW(ClassOf(child).c_str(), L"Button") != 0) continue;
        buttons.push_back(TextOf(child));
        if ((StyleOf(child) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defaultButton = buttons.back();
    }
    const Shown shown{IconOf(window), TextOf(::GetDlgItem(window, 0xFFFF))};
    const std::wstring both[] = {L"OK", L"Cancel"};
    EXPECT_EQ(L"Vellicor", TextOf(window)) << shown;
    EXPECT_EQ(std::vector(both, both + (shown.icon == Icon::Question ? 2 : 1)), buttons) << shown;
    EXPECT_EQ(L"OK", defaultButton) << shown;
    return shown;
}

// What a click on the button sends its dialog, whatever has the focus. Esc and the close
// box give the same answer as Cancel (OK where there is none): the box tells no difference.
inline bool AnswerBox(const Box& box, Answer answer) {
    const int id = answer == Answer::Ok ? IDOK : IDCANCEL;
    return ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(::GetDlgItem(box.window, id)));
}

// A command's failure report: what failed, a blank line, "number: description", the
// description being the system's own text for the number without its line break.
inline std::wstring FailureReport(const std::wstring& what, DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::wstring description(text, length);
    ::LocalFree(text);
    return what + L"\r\n\r\n" + std::to_wstring(code) + L": " +
           description.substr(0, description.find_last_not_of(L"\r\n") + 1);
}

// ---------------------------------------------------------------------------------------

class Program {
public:
    // Starts the program (or a copy of it elsewhere), in this folder or the one given.
    explicit Program(const std::wstring& exe = VellicorPath(), const std::wstring& currentFolder = {},
                     WORD show = SW_SHOWNORMAL)
        : process_(Start(L"\"" + exe + L"\"", currentFolder, show)) {
        if (!process_) throw std::runtime_error("cannot start the program: error " + std::to_string(::GetLastError()));
        id_ = ::GetProcessId(process_.Get());
    }
    ~Program() {
        if (Running() && ::TerminateProcess(process_.Get(), 1)) ::WaitForSingleObject(process_.Get(), 5000);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    std::vector<HWND> TopLevelWindows(bool visibleOnly = true) const {
        std::vector<HWND> found;
        for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); window;
             window = ::FindWindowExW(nullptr, window, nullptr, nullptr)) {
            DWORD owner = 0;
            if (::GetWindowThreadProcessId(window, &owner) && owner == id_ &&
                (!visibleOnly || ::IsWindowVisible(window)))
                found.push_back(window);
        }
        return found;
    }
    // A visible window of the program with this class ("#32770" for a message box) and, when
    // given, this caption; null when none appears in time.
    HWND WaitForWindow(const std::wstring& caption, Milliseconds timeout = kPatience,
                       const wchar_t* windowClass = L"VellicorForm") const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND window : TopLevelWindows())
                    if (ClassOf(window) == windowClass && (caption.empty() || TextOf(window) == caption))
                        found = window;
                return found || !Running();
            },
            timeout);
        return found;
    }
    HWND Main() { return main_ ? main_ : (main_ = WaitForWindow(L"Vellicor")); }
    // The control that the main window (or the window given) created n-th: the program
    // numbers its controls from 100, in the order it creates them.
    HWND Control(int creationIndex, HWND window = nullptr) {
        return ::GetDlgItem(window ? window : Main(), 100 + creationIndex);
    }

    // BM_CLICK sent (true once handled: never while a box it opened is up) or posted (for
    // clicks that open a modal box).
    bool Click(HWND control) const { return control && Send(control, BM_CLICK); }
    bool PostClick(HWND control) const { return control && ::PostMessageW(control, BM_CLICK, 0, 0); }
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; -1 without an answer.
    int State(HWND box) const { return int(Send(box, BM_GETCHECK).value_or(-1)); }

    // The next message box, once the previous one (if any) has gone. Its text and buttons
    // arrive just after the dialog becomes visible.
    std::optional<Box> NextBox(HWND previous = nullptr) const {
        if (previous && !WaitUntil([previous] { return !::IsWindowVisible(previous); })) return std::nullopt;
        const HWND box = WaitForWindow(L"", kPatience, L"#32770");
        if (!box || !WaitUntil([box] { return ::GetDlgItem(box, IDOK) != nullptr; })) return std::nullopt;
        EXPECT_FALSE(main_ && ::IsWindowEnabled(main_)) << "the main window takes input while a box is shown";
        // Before the main window shows, a box of its own (a taskbar button) that comes up in front.
        EXPECT_EQ(main_ && ::IsWindowVisible(main_) ? main_ : nullptr, ::GetWindow(box, GW_OWNER)) << "the box's owner";
        return Box{box, ShownIn(box)};
    }
    // Whether a message box is up, or on its way, once the previous one (if any) has gone
    // and the program has handled everything given it before (a box is made hidden and shown
    // a moment later).
    bool BoxAfterAll(HWND previous = nullptr) const {
        std::vector<HWND> windows;
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(previous) && !(windows = TopLevelWindows()).empty(); }) &&
                    Settled(windows.front()))
            << "the program never went idle";
        windows = TopLevelWindows(false);
        return std::any_of(windows.begin(), windows.end(), [](HWND window) { return ClassOf(window) == L"#32770"; });
    }
    // Every box that follows, each answered with OK (at start, from the first box or the main
    // window, whichever comes first): the first `expected` waited for with patience, any more
    // until the program has handled everything without showing another.
    std::vector<Shown> AnsweredBoxes(std::size_t expected = 0) const {
        std::vector<Shown> shown;
        WaitUntil([&] { return WaitForWindow(L"", 0ms, L"#32770") || WaitForWindow(L"Vellicor", 0ms); });
        while (shown.size() < expected || BoxAfterAll()) {
            const std::optional<Box> box = NextBox();
            if (!box) break;
            Dismiss(*box, shown);
        }
        return shown;
    }
    // Clicks the button; answers its question (when it `asks`) with `answer`; dismisses the
    // box that follows with OK. What was shown, in order; after a declined question, what
    // came before the program had handled everything.
    std::vector<Shown> Converse(HWND button, bool asks, Answer answer = Answer::Ok) const {
        std::vector<Shown> shown;
        std::optional<Box> box = PostClick(button) ? NextBox() : std::nullopt;
        if (box && asks) {
            shown.push_back(box->shown);
            AnswerBox(*box, answer);
            box = answer == Answer::Ok || BoxAfterAll(box->window) ? NextBox(box->window) : std::nullopt;
        }
        if (box) Dismiss(*box, shown);
        return shown;
    }

    bool Running() const { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    bool WaitForExit() const {
        return ::WaitForSingleObject(process_.Get(), DWORD(kPatience.count())) == WAIT_OBJECT_0;
    }
    std::optional<DWORD> ExitCode() const {
        DWORD code = 0;
        return !Running() && ::GetExitCodeProcess(process_.Get(), &code) ? std::optional(code) : std::nullopt;
    }
    // The kernel handles the program holds.
    std::size_t HandleCount() const {
        DWORD handles = 0;
        ::GetProcessHandleCount(process_.Get(), &handles);
        if (handles == 0) { // Wine answers 0; its system-wide handle list is right
            using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
            const auto query =
                win32::LibraryFunction<Query>(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
            std::vector<ULONG_PTR> list(1 << 18); // a count, then entries of three words, the process id first
            while (query && query(16 /* SystemHandleInformation */, list.data(), ULONG(list.size() * sizeof(ULONG_PTR)),
                                  nullptr) == LONG(0xC0000004L))
                list.resize(list.size() * 2);
            for (ULONG i = 0; i < ULONG(list[0]); ++i) handles += DWORD(list[1 + 3 * i]) == id_;
        }
        return handles;
    }
    HANDLE Process() const { return process_.Get(); }

private:
    // What the box shows noted, the box answered with OK and gone.
    static void Dismiss(const Box& box, std::vector<Shown>& shown) {
        shown.push_back(box.shown);
        AnswerBox(box, Answer::Ok);
        WaitUntil([&] { return !::IsWindow(box.window); });
    }

    UniqueKernelHandle process_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

} // namespace vellicor::e2e
