#pragma once

// Drives the real Vellicor.exe from another process, the way a person does: start it,
// find its windows, click, type, move the pointer, read what it shows, and answer its
// message boxes. Every wait has a timeout, so a broken program fails a test instead of
// hanging it, and every started process is killed when its owner goes away.

#include "platform/win32/UniqueHandle.h"
#include "support/ScratchFiles.h"

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellicor::e2e {

// Real files for the tests: the install folders they lay out.
using test::Attributes;
using test::FileNames;
using test::LockedFile;
using test::ReadBytes;
using test::ScratchFolder;
using test::SetAttributes;
using test::WriteBytes;

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// Long enough for a cold start under Wine on a busy machine; a working program answers
// in a fraction of it.
inline constexpr Milliseconds kPatience = 15s;
// How long a "nothing happens" check watches before it believes it.
inline constexpr Milliseconds kQuietPeriod = 300ms;

using UniqueHandle = platform::UniqueKernelHandle;
using platform::UniqueKey;

// ---------------------------------------------------------------------------------------
// The program under test.

// The full Windows path of Vellicor.exe, from "--vellicor=<path>" on the test program's
// command line or the VELLICOR_EXE environment variable. A Unix path (as CMake hands it
// over) is turned into the path Wine maps it to.
const std::wstring& VellicorPath();
// A control's position in the main window's layout table; throws for an unknown name.
std::size_t LayoutIndex(std::wstring_view name);

// Reads "--vellicor=" from the process's own command line; call from main.
void ConfigureFromCommandLine();
// Makes this process per-monitor DPI aware, so coordinates read from and sent to the
// program are real pixels at whatever density the program runs.
void UsePhysicalPixels();

// ---------------------------------------------------------------------------------------
// Polling.

// Calls the predicate until it holds or the timeout passes; true when it held.
bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout = kPatience,
               Milliseconds interval = 10ms);

// ---------------------------------------------------------------------------------------
// Registry.

inline constexpr wchar_t kVendorSubKey[] = L"Software\\Un4seen Developments";
inline constexpr wchar_t kSettingsSubKey[] = L"Software\\Un4seen Developments\\XMPlay2";

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    friend bool operator==(const RawValue&, const RawValue&) = default;
};

RawValue DwordValue(DWORD number);
RawValue TextValue(const std::wstring& text); // REG_SZ, terminated

// For test messages: gtest prints std::wstring itself, but not inside << chains.
std::string Utf8(std::wstring_view text);

// One key's values, read raw: for "nothing was written" checks.
using ValueSnapshot = std::map<std::wstring, RawValue>;

// A value anywhere under HKEY_CURRENT_USER.
std::optional<RawValue> ReadValue(const std::wstring& subKey, const std::wstring& name);
void WriteValue(const std::wstring& subKey, const std::wstring& name, const RawValue& value);
void DeleteValue(const std::wstring& subKey, const std::wstring& name);
bool KeyExists(const std::wstring& subKey);
// Deletes the key with everything below it; a missing key is fine.
void DeleteKeyTree(const std::wstring& subKey);
ValueSnapshot Snapshot(const std::wstring& subKey);

// The player's settings key as scratch space. The key is deleted when this is made
// (left-overs of an aborted run must not leak into the test) and again when it goes,
// together with the vendor key if this made it, so the registry ends as it began.
class ScratchSettings {
public:
    enum class Start { WithKey, WithoutKey };
    explicit ScratchSettings(Start start = Start::WithKey);
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    void CreateKey() const;
    void DeleteKey() const;
    bool Exists() const;

    void SetDword(const std::wstring& name, DWORD value) const;
    void SetText(const std::wstring& name, const std::wstring& value) const;
    void SetRaw(const std::wstring& name, const RawValue& value) const;
    void Delete(const std::wstring& name) const;

    // Empty when the value is missing or is not a 4-byte REG_DWORD.
    std::optional<DWORD> Dword(const std::wstring& name) const;
    std::optional<std::wstring> Text(const std::wstring& name) const;
    std::optional<RawValue> Raw(const std::wstring& name) const;
    ValueSnapshot Values() const;

private:
    bool vendorExisted_ = false;
};

// Remembers one HKCU value (or its absence) and puts it back on destruction.
class SavedValue {
public:
    SavedValue(std::wstring subKey, std::wstring name);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    std::wstring subKey_;
    std::wstring name_;
    std::optional<RawValue> original_;
    bool keyExisted_ = false;
};

// True when running under Wine.
bool UnderWine();

// The Unix path Wine maps a Windows path to; empty outside Wine.
std::string UnixPathOf(const std::wstring& path);

// Makes `link` a symbolic link to the file `target`: under Wine a Unix one (Wine 8 has
// no Windows call that makes one), on Windows where the user may. False when none could
// be made.
bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target);

// A folder reached through another drive letter: under Wine the Z: drive, which shows
// the whole Unix file system; on Windows a free letter substituted for the folder, as
// "subst" does, for as long as this lives.
class OtherDrive {
public:
    explicit OtherDrive(const std::wstring& folder);
    ~OtherDrive();
    OtherDrive(const OtherDrive&) = delete;
    OtherDrive& operator=(const OtherDrive&) = delete;
    const std::wstring& Path() const { return path_; } // empty when there is none

private:
    std::wstring path_;
    std::wstring substituted_;
};

// Under Wine on a bare X server (Xvfb, no window manager), every top-level window the
// program hides makes Wine's X11 driver wait 2 s for a window manager to confirm it, so
// each message box closed or program ended costs 2 s. Telling Wine not to hand this
// program's windows to a window manager removes the wait and changes nothing the program
// can see; inside a Wine virtual desktop it is not needed and does no harm. Scoped to
// the program file's name, and undone on destruction.
class UnmanagedWindowsUnderWine {
public:
    explicit UnmanagedWindowsUnderWine(const std::wstring& programPath);
    ~UnmanagedWindowsUnderWine();
    UnmanagedWindowsUnderWine(const UnmanagedWindowsUnderWine&) = delete;
    UnmanagedWindowsUnderWine& operator=(const UnmanagedWindowsUnderWine&) = delete;

private:
    std::wstring appKey_;
    bool createdAppKey_ = false;
    std::optional<SavedValue> saved_;
};

// ---------------------------------------------------------------------------------------
// Windows of another process.

std::wstring ClassOf(HWND window);
// WM_GETTEXT through SendMessageTimeoutW: works across processes for any control.
std::wstring TextOf(HWND window);
LONG_PTR StyleOf(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
SIZE ClientSize(HWND window);
// The centre of a window's client area in screen coordinates.
POINT ScreenCentre(HWND window);
// A point given in a window's client coordinates, in screen coordinates.
POINT ToScreen(HWND window, POINT client);

// The focus of the thread that owns the window, read with GetGUIThreadInfo.
HWND FocusOf(HWND window);

// Sends a message with a timeout; nullopt when the receiver did not answer in time.
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                            Milliseconds timeout = kPatience);

// ---------------------------------------------------------------------------------------
// Input. Key presses and pointer moves go through the system's input queue as a person's
// would, to whichever window is in the foreground.

// Makes the window the foreground one; true once it is.
bool BringToFront(HWND window);
// Presses and releases the key, with Shift held down around it when asked.
bool PressKey(WORD virtualKey, bool shift = false);
// Moves the real pointer to a point in screen coordinates.
bool MovePointer(POINT screen);
// Moves the real pointer and waits until `arrived` holds with the pointer still there a
// little later. Under Wine on X, a move made from another process echoes back through
// the program's own X connection and can be replayed after a later move, putting the
// pointer back where it was; a move undone that way is made again.
bool MovePointerUntil(POINT screen, const std::function<bool()>& arrived, Milliseconds timeout = 5s);
// The pointer's current shape, as the foreground program last set it: it changes once
// the window under the pointer has handled the move (WM_SETCURSOR comes first).
HCURSOR PointerShape();

// ---------------------------------------------------------------------------------------
// Message boxes.

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text; // the STATIC with id 0xFFFF
    std::vector<std::wstring> buttons; // captions, in z-order
    std::vector<HWND> buttonWindows;
};

enum class Answer { Ok, Cancel, Yes, No, Escape, CloseBox };

// Answers a message box: a button by its command id, Esc through the dialog manager, or
// the close box. Posted, because answering ends a modal loop inside the program.
bool AnswerMessageBox(const MessageBoxView& box, Answer answer);

// What a button shows: the question it asks, when it asks one, and the box that follows.
struct Conversation {
    std::optional<MessageBoxView> question;
    std::optional<MessageBoxView> result;
};

// The system's text for an error number, as the program shows it.
std::wstring SystemText(DWORD code);

// "what\r\n\r\nnumber: description", the commands' failure report.
std::wstring FailureReport(const std::wstring& what, DWORD code);

// ---------------------------------------------------------------------------------------
// The program.

class VellicorProcess {
public:
    // Starts the program, in the given current folder or this one. The process is killed
    // when this goes away unless it ended.
    explicit VellicorProcess(const std::wstring& arguments = {}, const std::wstring& exe = VellicorPath(),
                             const std::wstring& currentFolder = {});
    ~VellicorProcess();
    VellicorProcess(const VellicorProcess&) = delete;
    VellicorProcess& operator=(const VellicorProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }

    // The visible top-level "Vellicor" window of class VellicorForm owned by this process;
    // null when none appears in time.
    HWND WaitForMainWindow(Milliseconds timeout = kPatience);
    HWND MainWindow() const { return main_; }
    // The top-level windows of this process right now (visible ones only, unless asked).
    std::vector<HWND> TopLevelWindows(bool includeHidden = false) const;

    // Controls of the main window: by their position in the layout table (ids are given
    // in creation order) or by caption.
    HWND Control(std::size_t creationIndex) const;
    // By the control's name in the layout table ("cmdRefresh").
    HWND Control(std::wstring_view layoutName) const;
    HWND ControlByCaption(const std::wstring& caption) const;

    // A click that opens nothing modal: returns once the program has handled it.
    bool Click(HWND control) const;
    // A click that may open a modal box: returns at once.
    bool PostClick(HWND control) const;
    // BM_GETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; -1 without an answer.
    int CheckState(HWND box) const;
    // Returns once the program has handled everything sent to it before.
    bool Sync() const;

    // The first #32770 dialog of this process that appears in time.
    std::optional<MessageBoxView> WaitForMessageBox(Milliseconds timeout = kPatience) const;
    // The message box that follows `previous` (null for the first one): waits until the
    // previous box is gone, then for the next one.
    std::optional<MessageBoxView> NextMessageBox(HWND previous, Milliseconds timeout = kPatience) const;
    // Clicks the button, gives its question (when it asks one) the answer, waits up to
    // resultTimeout for the box that follows and dismisses that with OK: nothing is left
    // open. The boxes' texts and buttons are in the result.
    Conversation Converse(std::wstring_view button, bool asks, Answer answer = Answer::Ok,
                          Milliseconds resultTimeout = kPatience) const;

    bool Running() const;
    bool WaitForExit(Milliseconds timeout = kPatience) const;
    std::optional<DWORD> ExitCode() const;
    void Kill();

private:
    UniqueHandle process_;
    UniqueHandle thread_;
    UniqueHandle job_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

} // namespace vellicor::e2e
