#pragma once

// Drives the real Vellicor.exe from another process, the way a person does: start it,
// find its windows, click, press keys, move the pointer, read what it shows and answer
// its message boxes; then look at the registry and the files. Every wait has a timeout,
// so a broken program fails a test instead of hanging it, and a started program dies
// with the test that started it.
//
// Nothing here comes from the program's own tables: the tests say what a person must
// see, so that a change in the program's tables shows up as a difference.

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellicor::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// Long enough for a cold start under Wine on a busy machine; a working program answers
// in a fraction of it. "Nothing happens" checks watch for kQuiet.
inline constexpr Milliseconds kPatience = 15s;
inline constexpr Milliseconds kQuiet = 300ms;

std::string Utf8(std::wstring_view text);
bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout = kPatience);

// Vellicor.exe's Windows path, from "--vellicor=<path>" (a Unix path is mapped through
// Wine's drives).
const std::wstring& VellicorPath();
void ConfigureFromCommandLine();
// The folder this test program runs from, ending in a backslash.
std::wstring OwnFolder();

// ---------------------------------------------------------------------------------------
// Real files, by paths taken literally (with the \\?\ prefix, after the system's own
// clean-up), so that long paths can be laid out without the code under test.

std::wstring LiteralPath(const std::wstring& path);
void WriteBytes(const std::wstring& path, std::string_view bytes);
std::optional<std::string> ReadBytes(const std::wstring& path);
DWORD Attributes(const std::wstring& path); // INVALID_FILE_ATTRIBUTES when missing
void SetAttributes(const std::wstring& path, DWORD attributes);
std::vector<std::wstring> FileNames(const std::wstring& folder); // sorted
void RemoveTree(const std::wstring& path);

// A new folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring_view prefix);
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Under Wine, the Unix path a Windows path stands for; empty elsewhere.
std::string UnixPathOf(const std::wstring& path);
// Makes `link` a symbolic link to the file `target`: under Wine a Unix one (Wine 8 makes
// none itself), on Windows where the user may. False when none could be made.
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
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_, substituted_;
};

// Holds a file open without sharing, as a running player might.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path);
    bool Locked() const { return bool(handle_); }

private:
    platform::UniqueFile handle_;
};

// ---------------------------------------------------------------------------------------
// The registry, as another program sees it.

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    friend bool operator==(const RawValue&, const RawValue&) = default;
};
RawValue Dword(DWORD number);
RawValue Bytes(DWORD type, std::vector<BYTE> data);
// UTF-16 text with its terminator unless asked otherwise.
RawValue Text(std::wstring_view text, DWORD type = REG_SZ, bool terminated = true);

using Values = std::map<std::wstring, RawValue>;
std::optional<RawValue> ReadValue(HKEY root, const std::wstring& key, const std::wstring& name);
void WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const RawValue& value);
Values ReadValues(HKEY root, const std::wstring& key);
bool KeyExists(HKEY root, const std::wstring& key);
void DeleteKeyTree(HKEY root, const std::wstring& key); // a missing key is fine

inline constexpr wchar_t kVendorKey[] = L"Software\\Un4seen Developments";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Un4seen Developments\\XMPlay2";

// The player's settings key as scratch space: deleted when made (left-overs of an aborted
// run must not leak in) and when gone, with the vendor key if this made it.
class ScratchSettings {
public:
    explicit ScratchSettings(bool withKey = true);
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    void Set(const std::wstring& name, const RawValue& value) const;
    void Delete(const std::wstring& name) const;
    Values Read() const;
    bool Exists() const;
    void DeleteKey() const;

private:
    bool vendorExisted_;
};

// One HKEY_CURRENT_USER value, put back as it was (or removed) on destruction.
class SavedValue {
public:
    SavedValue(std::wstring key, std::wstring name, std::optional<RawValue> set = std::nullopt);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    std::wstring key_, name_;
    std::optional<RawValue> original_;
    bool keyExisted_;
};

// ---------------------------------------------------------------------------------------
// Windows of another process. Cross-process messages go with a timeout.

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
LONG_PTR StyleOf(HWND window);
RECT RectInParent(HWND child);
SIZE ClientSize(HWND window);
POINT ScreenCentre(HWND window);
// The focus of the thread that owns the window.
HWND FocusOf(HWND window);
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Input through the system's queue, to whatever window is in front.
bool BringToFront(HWND window);
bool PressKey(WORD virtualKey, bool shift = false);
// Moves the real pointer until `arrived` holds with it still there a little later: under
// Wine a move from another process can be replayed after a later one, putting the
// pointer back; a move undone that way is made again.
bool MovePointerUntil(POINT screen, const std::function<bool()>& arrived);
// A person's click on the control's centre; the press carries its own position, so a
// replayed move in between cannot send it elsewhere.
bool ClickWithMouse(HWND control);

// ---------------------------------------------------------------------------------------
// Message boxes, as a person sees them: title, icon, text, buttons, the default one.

enum class Icon { None, Question, Information, Exclamation, Critical };
enum class Answer { Ok, Cancel, Escape, CloseBox };

struct Box {
    HWND window = nullptr;
    std::wstring title;
    Icon icon = Icon::None;
    std::wstring text;
    std::vector<std::wstring> buttons;
    std::wstring defaultButton;
};

// What the program's boxes must look like: every one is titled "Vellicor"; a question
// has OK and Cancel with OK the default, every other box OK alone.
struct Shown {
    Icon icon;
    std::wstring text;
    friend bool operator==(const Shown&, const Shown&) = default;
};
std::ostream& operator<<(std::ostream& out, const Shown& shown);
Shown Question(std::wstring text);
Shown Notice(std::wstring text);  // information
Shown Warning(std::wstring text); // exclamation
Shown Critical(std::wstring text);
// The box's look checked against the rule above; icon and text returned for comparison.
Shown Seen(const Box& box);

bool AnswerBox(const Box& box, Answer answer);
std::wstring SystemText(DWORD code);
// "what", a blank line, "number: description".
std::wstring FailureReport(const std::wstring& what, DWORD code);

// ---------------------------------------------------------------------------------------
// The program.

// Control ids follow the order in which the program creates its controls.
inline constexpr int kFirstControlId = 100;

class Program {
public:
    // Starts the program (or a copy of it elsewhere), in this folder or the one given.
    explicit Program(const std::wstring& exe = VellicorPath(), const std::wstring& currentFolder = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The visible main window; null when none appears in time.
    HWND Main();
    // The main window's control created n-th; the same of another window of the program.
    HWND Control(int creationIndex, HWND window = nullptr);
    std::vector<HWND> TopLevelWindows() const;
    // A visible window of the program with this caption.
    HWND WaitForWindow(const std::wstring& caption, Milliseconds timeout = kPatience);

    // BM_CLICK sent (returns once handled) or posted (for clicks that open a modal box).
    bool Click(HWND control) const;
    bool PostClick(HWND control) const;
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; -1 without an answer.
    int State(HWND box) const;
    // Returns once the program has handled everything sent before.
    bool Sync();

    // The next message box, once the previous one (if any) has gone.
    std::optional<Box> NextBox(HWND previous = nullptr, Milliseconds timeout = kPatience) const;
    // Every box shown at start, each answered with OK, until the main window is up.
    std::vector<Shown> StartupBoxes();
    // Clicks the button; answers its question (when `asks`) with `answer`; dismisses the
    // box that follows with OK. Returns what was shown, in order.
    std::vector<Shown> Converse(HWND button, bool asks, Answer answer = Answer::Ok);

    bool Running() const;
    bool WaitForExit(Milliseconds timeout = kPatience) const;
    std::optional<DWORD> ExitCode() const;
    DWORD Id() const { return id_; }
    HANDLE Process() const { return process_.Get(); }

private:
    platform::UniqueKernelHandle process_, job_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

} // namespace vellicor::e2e
