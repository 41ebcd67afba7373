// The stack canary's value and its failure routine, in place of GCC's libssp. Its set-up
// asks the cryptographic provider for a random value (rsaenh.dll and its registry keys)
// before wWinMain, 4 to 5 ms of start-up under Wine: more than the first load. The guard
// is drawn instead from the sources the Microsoft compiler's own /GS cookie uses: time,
// counters, the process and thread, and an address that ASLR moves.
// Built without the canary and without link-time optimisation: the compiler calls these
// behind the optimiser's back, and nothing here may be checked against a guard that
// changes under it.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <intrin.h>

extern "C" {

// The compiler's names; the guard is written once, below, before any guarded code runs.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cppcoreguidelines-avoid-non-const-global-variables)
std::uintptr_t __stack_chk_guard;

// Runs before the program's other constructors, from the runtime's start-up code, which
// has no canary, so no guarded frame is live while the value changes.
__attribute__((constructor(101))) static void SetStackGuard() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::uint64_t value = (std::uint64_t{now.dwHighDateTime} << 32 | now.dwLowDateTime) ^
                          static_cast<std::uint64_t>(counter.QuadPart) ^ __rdtsc() ^
                          std::uint64_t{::GetCurrentProcessId()} << 32 ^ ::GetCurrentThreadId() ^
                          reinterpret_cast<std::uintptr_t>(&now);
    // A zero low byte: a string read or copied past its end stops at the guard.
    constexpr std::uint64_t kLowByte = 0xFF;
    value &= ~kLowByte;
    __stack_chk_guard = static_cast<std::uintptr_t>(value);
}

// A smashed stack ends the process at once, past every exception handler (none of the
// damaged frames runs again) and through Windows Error Reporting; a debugger sees the
// reason first.
[[noreturn]] void __stack_chk_fail() { // NOLINT(bugprone-reserved-identifier)
    ::OutputDebugStringA("*** stack smashing detected ***: Vellicor terminated\n");
    ::RaiseFailFastException(nullptr, nullptr, 0);
    std::abort(); // not reached: the call above does not return
}
}
