#pragma once

#include <windows.h>

#include <utility>

namespace vellicor::win32 {

// Owns one system handle and closes it exactly once. Traits give the handle type, the
// value that means "no handle" (NULL for most kinds, INVALID_HANDLE_VALUE for files)
// and the function that closes it. Move-only: a copy would close the handle twice.
template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Empty(); }

    // Gives up ownership without closing, for callers that must check the close.
    Type Release() noexcept { return std::exchange(handle_, Traits::Empty()); }

    void Reset(Type handle = Traits::Empty()) noexcept {
        const Type old = std::exchange(handle_, handle);
        if (old != Traits::Empty()) Traits::Close(old);
    }

    // For functions that hand back a new handle through a pointer.
    Type* Put() noexcept {
        Reset();
        return &handle_;
    }

private:
    Type handle_ = Traits::Empty();
};

// The kinds of handle the program holds: the type, and the function that closes one.
// Every kind but files uses NULL for "none".
template <typename Handle, auto CloseFunction>
struct ClosedBy {
    using Type = Handle;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { CloseFunction(handle); }
};
struct FileTraits : ClosedBy<HANDLE, &::CloseHandle> {
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
};

using UniqueKernelHandle = UniqueHandle<ClosedBy<HANDLE, &::CloseHandle>>; // processes, threads
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueKey = UniqueHandle<ClosedBy<HKEY, &::RegCloseKey>>;
using UniqueLocalMemory = UniqueHandle<ClosedBy<HLOCAL, &::LocalFree>>;
using UniqueLibrary = UniqueHandle<ClosedBy<HMODULE, &::FreeLibrary>>;
using UniqueFont = UniqueHandle<ClosedBy<HFONT, &::DeleteObject>>;
using UniqueBrush = UniqueHandle<ClosedBy<HBRUSH, &::DeleteObject>>;
using UniqueIcon = UniqueHandle<ClosedBy<HICON, &::DestroyIcon>>;

// A window's device context (the screen's for no window), released at the end of the
// scope.
class ScopedDC {
public:
    explicit ScopedDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~ScopedDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context, and the one it replaced put back at the end
// of the scope.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~ScopedSelection() { ::SelectObject(dc_, old_); }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace vellicor::win32
