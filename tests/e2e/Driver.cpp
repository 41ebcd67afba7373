#include "e2e/Driver.h"

#include "platform/ErrorText.h"

#include "ui/MainLayout.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

namespace vellicor::e2e {

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

RawValue DwordValue(DWORD number) {
    RawValue value{REG_DWORD, std::vector<BYTE>(sizeof number)};
    std::memcpy(value.data.data(), &number, sizeof number);
    return value;
}

RawValue TextValue(const std::wstring& text) {
    RawValue value{REG_SZ, std::vector<BYTE>((text.size() + 1) * sizeof(wchar_t), 0)};
    std::memcpy(value.data.data(), text.data(), text.size() * sizeof(wchar_t));
    return value;
}

namespace {

// The program numbers its controls from here, in creation order.
constexpr int kFirstControlId = 100;
constexpr wchar_t kMainWindowClass[] = L"VellicorForm";
constexpr wchar_t kMainWindowTitle[] = L"Vellicor";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring& ConfiguredPath() {
    static std::wstring path;
    return path;
}

[[noreturn]] void Fail(const char* call, LSTATUS status, const std::wstring& what) {
    throw std::runtime_error(std::string(call) + "(" + Utf8(what) + ") failed with " + std::to_string(status));
}

// Wine exports the translation from a Unix path to the drive letter path it maps it to.
// On Windows the function is absent and the path is taken as given.
std::wstring WindowsPathOf(const std::wstring& path) {
    if (path.empty() || path.front() != L'/') return path;
    using ToDosFn = WCHAR*(CDECL*)(const char*);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto toDos = kernel ? reinterpret_cast<ToDosFn>(reinterpret_cast<void*>(
                                    ::GetProcAddress(kernel, "wine_get_dos_file_name")))
                              : nullptr;
    if (!toDos) return path;
    WCHAR* dos = toDos(Utf8(path).c_str());
    if (!dos) return path;
    std::wstring result(dos);
    ::HeapFree(::GetProcessHeap(), 0, dos);
    return result;
}

UniqueKey OpenKey(const std::wstring& subKey, REGSAM access) {
    UniqueKey key;
    const LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, access, key.Put());
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) Fail("RegOpenKeyExW", status, subKey);
    return key;
}

UniqueKey CreateKeyFor(const std::wstring& subKey, REGSAM access) {
    UniqueKey key;
    const LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, access, nullptr,
                                             key.Put(), nullptr);
    if (status != ERROR_SUCCESS) Fail("RegCreateKeyExW", status, subKey);
    return key;
}

std::optional<RawValue> QueryValue(HKEY key, const std::wstring& name) {
    RawValue value;
    DWORD size = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        value.data.resize(size);
        DWORD type = REG_NONE;
        DWORD got = size;
        const LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                                  value.data.empty() ? nullptr : value.data.data(), &got);
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && got > size)) {
            size = got;
            continue;
        }
        if (status != ERROR_SUCCESS) Fail("RegQueryValueExW", status, name);
        value.type = type;
        value.data.resize(got);
        return value;
    }
    Fail("RegQueryValueExW", ERROR_MORE_DATA, name);
}

struct ProcessWindows {
    DWORD processId;
    bool includeHidden;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessWindows*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (search->includeHidden || ::IsWindowVisible(window))) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> all;
    ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> direct;
    for (HWND child : all) {
        if (::GetParent(child) == parent) direct.push_back(child);
    }
    return direct;
}

bool SameText(const std::wstring& a, const wchar_t* b) { return ::lstrcmpiW(a.c_str(), b) == 0; }

MessageBoxView ViewOf(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.title = TextOf(box);
    if (const HWND text = ::GetDlgItem(box, kMessageBoxTextId)) view.text = TextOf(text);
    for (HWND child : DirectChildren(box)) {
        if (!SameText(ClassOf(child), L"Button")) continue;
        view.buttons.push_back(TextOf(child));
        view.buttonWindows.push_back(child);
    }
    return view;
}

} // namespace

// ---------------------------------------------------------------------------------------

const std::wstring& VellicorPath() {
    std::wstring& path = ConfiguredPath();
    if (path.empty()) {
        wchar_t buffer[MAX_PATH * 4]{};
        const DWORD length = ::GetEnvironmentVariableW(L"VELLICOR_EXE", buffer, static_cast<DWORD>(std::size(buffer)));
        if (length > 0 && length < std::size(buffer)) path = WindowsPathOf(buffer);
    }
    return path;
}

std::size_t LayoutIndex(std::wstring_view name) {
    const auto layout = ui::MainLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        if (layout[i].name == name) return i;
    }
    throw std::invalid_argument("no control named " + Utf8(std::wstring(name)) + " in the main window");
}

void ConfigureFromCommandLine() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return;
    constexpr std::wstring_view kOption = L"--vellicor=";
    for (int i = 1; i < count; ++i) {
        const std::wstring_view argument(arguments[i]);
        if (argument.starts_with(kOption)) ConfiguredPath() = WindowsPathOf(std::wstring(argument.substr(kOption.size())));
    }
    ::LocalFree(arguments);
}

void UsePhysicalPixels() { ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2); }

bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout, Milliseconds interval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
}

// ---------------------------------------------------------------------------------------

std::optional<RawValue> ReadValue(const std::wstring& subKey, const std::wstring& name) {
    const UniqueKey key = OpenKey(subKey, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    return QueryValue(key.Get(), name);
}

void WriteValue(const std::wstring& subKey, const std::wstring& name, const RawValue& value) {
    const UniqueKey key = CreateKeyFor(subKey, KEY_SET_VALUE);
    const LSTATUS status = ::RegSetValueExW(key.Get(), name.c_str(), 0, value.type,
                                            value.data.empty() ? nullptr : value.data.data(),
                                            static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS) Fail("RegSetValueExW", status, name);
}

void DeleteValue(const std::wstring& subKey, const std::wstring& name) {
    const UniqueKey key = OpenKey(subKey, KEY_SET_VALUE);
    if (!key) return;
    const LSTATUS status = ::RegDeleteValueW(key.Get(), name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Fail("RegDeleteValueW", status, name);
}

bool KeyExists(const std::wstring& subKey) { return static_cast<bool>(OpenKey(subKey, KEY_QUERY_VALUE)); }

void DeleteKeyTree(const std::wstring& subKey) {
    // An empty subkey would make RegDeleteTreeW empty HKEY_CURRENT_USER itself.
    if (subKey.empty()) throw std::invalid_argument("DeleteKeyTree needs a subkey");
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, subKey.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Fail("RegDeleteTreeW", status, subKey);
}

ValueSnapshot Snapshot(const std::wstring& subKey) {
    ValueSnapshot values;
    const UniqueKey key = OpenKey(subKey, KEY_QUERY_VALUE);
    if (!key) return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        const LSTATUS status =
            ::RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) Fail("RegEnumValueW", status, subKey);
        const std::wstring valueName(name, nameLength);
        if (auto value = QueryValue(key.Get(), valueName)) values.emplace(valueName, std::move(*value));
    }
    return values;
}

ScratchSettings::ScratchSettings(Start start) : vendorExisted_(KeyExists(kVendorSubKey)) {
    DeleteKey();
    if (start == Start::WithKey) CreateKey();
}

ScratchSettings::~ScratchSettings() {
    try {
        DeleteKey();
        // Fails, as it should, while the vendor key holds anything else.
        if (!vendorExisted_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kVendorSubKey);
    } catch (...) {
    }
}

void ScratchSettings::CreateKey() const { CreateKeyFor(kSettingsSubKey, KEY_QUERY_VALUE); }
void ScratchSettings::DeleteKey() const { DeleteKeyTree(kSettingsSubKey); }
bool ScratchSettings::Exists() const { return KeyExists(kSettingsSubKey); }

void ScratchSettings::SetDword(const std::wstring& name, DWORD value) const {
    WriteValue(kSettingsSubKey, name, DwordValue(value));
}
void ScratchSettings::SetText(const std::wstring& name, const std::wstring& value) const {
    WriteValue(kSettingsSubKey, name, TextValue(value));
}
void ScratchSettings::SetRaw(const std::wstring& name, const RawValue& value) const {
    WriteValue(kSettingsSubKey, name, value);
}
void ScratchSettings::Delete(const std::wstring& name) const { DeleteValue(kSettingsSubKey, name); }

std::optional<DWORD> ScratchSettings::Dword(const std::wstring& name) const {
    const auto raw = Raw(name);
    if (!raw || raw->type != REG_DWORD || raw->data.size() != sizeof(DWORD)) return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, raw->data.data(), sizeof number);
    return number;
}

std::optional<std::wstring> ScratchSettings::Text(const std::wstring& name) const {
    const auto raw = Raw(name);
    if (!raw || (raw->type != REG_SZ && raw->type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(raw->data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), raw->data.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

std::optional<RawValue> ScratchSettings::Raw(const std::wstring& name) const {
    return ReadValue(kSettingsSubKey, name);
}

ValueSnapshot ScratchSettings::Values() const { return Snapshot(kSettingsSubKey); }

SavedValue::SavedValue(std::wstring subKey, std::wstring name)
    : subKey_(std::move(subKey)), name_(std::move(name)), original_(ReadValue(subKey_, name_)),
      keyExisted_(KeyExists(subKey_)) {}

SavedValue::~SavedValue() {
    try {
        if (original_) {
            WriteValue(subKey_, name_, *original_);
        } else {
            DeleteValue(subKey_, name_);
            if (!keyExisted_) ::RegDeleteKeyW(HKEY_CURRENT_USER, subKey_.c_str());
        }
    } catch (...) {
    }
}

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string UnixPathOf(const std::wstring& path) {
    using ToUnixFn = char*(CDECL*)(const wchar_t*);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto toUnix = kernel ? reinterpret_cast<ToUnixFn>(reinterpret_cast<void*>(
                                     ::GetProcAddress(kernel, "wine_get_unix_file_name")))
                               : nullptr;
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unix) return {};
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
    if (!UnderWine()) {
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE;
    }
    // Wine starts a Unix program named by its Windows path, and gives no handle to wait on.
    const std::string command = "Z:\\bin\\ln -s \"" + UnixPathOf(target) + "\" \"" + UnixPathOf(link) + "\"";
    std::wstring commandLine(command.begin(), command.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    return WaitUntil([&link] { return Attributes(link) != INVALID_FILE_ATTRIBUTES; }, 5s);
}

OtherDrive::OtherDrive(const std::wstring& folder) {
    if (UnderWine()) {
        const std::string unix = UnixPathOf(folder);
        path_ = L"Z:" + std::wstring(unix.begin(), unix.end());
        std::replace(path_.begin(), path_.end(), L'/', L'\\');
        return;
    }
    for (wchar_t letter = L'Z'; letter > L'D' && path_.empty(); --letter) {
        const std::wstring drive{letter, L':'};
        if (::GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_NO_ROOT_DIR &&
            ::DefineDosDeviceW(0, drive.c_str(), folder.c_str())) {
            path_ = substituted_ = drive;
        }
    }
}

OtherDrive::~OtherDrive() {
    if (!substituted_.empty()) ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, substituted_.c_str(), nullptr);
}

UnmanagedWindowsUnderWine::UnmanagedWindowsUnderWine(const std::wstring& programPath) {
    if (!UnderWine()) return;
    const std::size_t slash = programPath.find_last_of(L"\\/");
    const std::wstring fileName = slash == std::wstring::npos ? programPath : programPath.substr(slash + 1);
    if (fileName.empty()) return;
    appKey_ = L"Software\\Wine\\AppDefaults\\" + fileName;
    const std::wstring driverKey = appKey_ + L"\\X11 Driver";
    createdAppKey_ = !KeyExists(appKey_);
    if (!createdAppKey_) saved_.emplace(driverKey, L"Managed");
    WriteValue(driverKey, L"Managed", TextValue(L"N"));
}

UnmanagedWindowsUnderWine::~UnmanagedWindowsUnderWine() {
    saved_.reset();
    try {
        if (createdAppKey_) DeleteKeyTree(appKey_);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------------------

std::wstring ClassOf(HWND window) {
    wchar_t name[256]{};
    const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
    const auto length = Send(window, WM_GETTEXTLENGTH);
    if (!length || *length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied && *copied > 0 ? static_cast<std::size_t>(*copied) : 0);
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
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

POINT ScreenCentre(HWND window) {
    const SIZE size = ClientSize(window);
    return ToScreen(window, POINT{size.cx / 2, size.cy / 2});
}

POINT ToScreen(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    return client;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !::GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Milliseconds timeout) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               static_cast<UINT>(timeout.count()), &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

// ---------------------------------------------------------------------------------------

bool BringToFront(HWND window) {
    if (::GetForegroundWindow() == window) return true;
    ::SetForegroundWindow(window);
    return WaitUntil([window] { return ::GetForegroundWindow() == window; }, 5s);
}

bool PressKey(WORD virtualKey, bool shift) {
    std::vector<INPUT> inputs;
    const auto key = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (shift) key(VK_SHIFT, false);
    key(virtualKey, false);
    key(virtualKey, true);
    if (shift) key(VK_SHIFT, true);
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool MovePointer(POINT screen) { return ::SetCursorPos(screen.x, screen.y) != FALSE; }

HCURSOR PointerShape() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

bool MovePointerUntil(POINT screen, const std::function<bool()>& arrived, Milliseconds timeout) {
    constexpr Milliseconds kSettle = 50ms;
    const auto there = [screen] {
        POINT now{};
        return ::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    };
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!MovePointer(screen)) return false;
        if (!WaitUntil([&] { return there() && arrived(); }, 1s, 2ms)) continue;
        const bool undone = WaitUntil([&] { return !there() || !arrived(); }, kSettle, 2ms);
        if (!undone) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------

bool AnswerMessageBox(const MessageBoxView& box, Answer answer) {
    const auto clickButton = [&box](int id) {
        for (HWND button : box.buttonWindows) {
            // What a click on the button sends its dialog; it does not depend on the
            // button having the focus or the box being in front.
            if (::GetDlgCtrlID(button) == id) {
                return ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                      reinterpret_cast<LPARAM>(button)) != FALSE;
            }
        }
        return false;
    };
    switch (answer) {
    case Answer::Ok: return clickButton(IDOK);
    case Answer::Cancel: return clickButton(IDCANCEL);
    case Answer::Yes: return clickButton(IDYES);
    case Answer::No: return clickButton(IDNO);
    case Answer::Escape:
        return BringToFront(box.window) && PressKey(VK_ESCAPE);
    case Answer::CloseBox: return ::PostMessageW(box.window, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
    }
    return false;
}

// ---------------------------------------------------------------------------------------

VellicorProcess::VellicorProcess(const std::wstring& arguments, const std::wstring& exe,
                                 const std::wstring& currentFolder) {
    if (exe.empty()) throw std::runtime_error("no path to Vellicor.exe: pass --vellicor=<path> or set VELLICOR_EXE");
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        Fail("CreateProcessW", static_cast<LSTATUS>(::GetLastError()), exe);
    }
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    id_ = info.dwProcessId;

    // Should this test program die, the job takes the program with it.
    job_.Reset(::CreateJobObjectW(nullptr, nullptr));
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!::SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
            !::AssignProcessToJobObject(job_.Get(), process_.Get())) {
            job_.Reset();
        }
    }
    ::ResumeThread(thread_.Get());
}

VellicorProcess::~VellicorProcess() { Kill(); }

std::vector<HWND> VellicorProcess::TopLevelWindows(bool includeHidden) const {
    ProcessWindows search{id_, includeHidden, {}};
    ::EnumWindows(&CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VellicorProcess::WaitForMainWindow(Milliseconds timeout) {
    WaitUntil(
        [this] {
            for (HWND window : TopLevelWindows()) {
                if (ClassOf(window) == kMainWindowClass && TextOf(window) == kMainWindowTitle) {
                    main_ = window;
                    return true;
                }
            }
            return !Running();
        },
        timeout);
    return main_;
}

HWND VellicorProcess::Control(std::size_t creationIndex) const {
    return main_ ? ::GetDlgItem(main_, kFirstControlId + static_cast<int>(creationIndex)) : nullptr;
}

HWND VellicorProcess::Control(std::wstring_view layoutName) const { return Control(LayoutIndex(layoutName)); }

HWND VellicorProcess::ControlByCaption(const std::wstring& caption) const {
    if (!main_) return nullptr;
    for (HWND child : DirectChildren(main_)) {
        if (TextOf(child) == caption) return child;
    }
    return nullptr;
}

bool VellicorProcess::Click(HWND control) const { return control && Send(control, BM_CLICK).has_value(); }

bool VellicorProcess::PostClick(HWND control) const {
    return control && ::PostMessageW(control, BM_CLICK, 0, 0) != FALSE;
}

int VellicorProcess::CheckState(HWND box) const {
    const auto state = box ? Send(box, BM_GETCHECK) : std::nullopt;
    return state ? static_cast<int>(*state) : -1;
}

bool VellicorProcess::Sync() const { return main_ && Send(main_, WM_NULL).has_value(); }

std::optional<MessageBoxView> VellicorProcess::WaitForMessageBox(Milliseconds timeout) const {
    std::optional<MessageBoxView> box;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows()) {
                if (ClassOf(window) != kDialogClass) continue;
                box = ViewOf(window);
                // The text and buttons arrive just after the dialog becomes visible.
                if (!box->buttons.empty()) return true;
            }
            box.reset();
            return !Running();
        },
        timeout);
    return box;
}

bool VellicorProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool VellicorProcess::WaitForExit(Milliseconds timeout) const {
    return process_ && ::WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> VellicorProcess::ExitCode() const {
    DWORD code = 0;
    if (!process_ || !::GetExitCodeProcess(process_.Get(), &code) || code == STILL_ACTIVE) return std::nullopt;
    return code;
}

void VellicorProcess::Kill() {
    if (!Running()) return;
    ::TerminateProcess(process_.Get(), 1);
    ::WaitForSingleObject(process_.Get(), 5000);
}

std::optional<MessageBoxView> VellicorProcess::NextMessageBox(HWND previous, Milliseconds timeout) const {
    if (previous && !WaitUntil([previous] { return !::IsWindow(previous) || !::IsWindowVisible(previous); })) {
        return std::nullopt;
    }
    return WaitForMessageBox(timeout);
}

Conversation VellicorProcess::Converse(std::wstring_view button, bool asks, Answer answer,
                                      Milliseconds resultTimeout) const {
    Conversation conversation;
    if (!PostClick(Control(button))) return conversation;
    std::optional<MessageBoxView> box = WaitForMessageBox(asks ? kPatience : resultTimeout);
    if (box && asks) {
        conversation.question = box;
        AnswerMessageBox(*box, answer);
        box = NextMessageBox(box->window, resultTimeout);
    }
    if (!box) return conversation;
    conversation.result = box;
    AnswerMessageBox(*box, Answer::Ok);
    WaitUntil([&] { return !::IsWindow(box->window); });
    return conversation;
}

std::wstring SystemText(DWORD code) { return platform::SystemErrorText(static_cast<std::int32_t>(code)); }

std::wstring FailureReport(const std::wstring& what, DWORD code) {
    return what + L"\r\n\r\n" + std::to_wstring(code) + L": " + SystemText(code);
}

} // namespace vellicor::e2e
