#pragma once

#include <windows.h>

#include <utility>

namespace vellicor::platform {

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

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type key) noexcept { ::RegCloseKey(key); }
};

// Processes, threads, jobs: NULL when there is none (files use INVALID_HANDLE_VALUE).
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type file) noexcept { ::CloseHandle(file); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type memory) noexcept { ::LocalFree(memory); }
};

using UniqueKey = UniqueHandle<RegistryKeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

} // namespace vellicor::platform
