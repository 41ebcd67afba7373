#pragma once

#include "core/Failure.h"

#include <windows.h>

#include <array>
#include <new>
#include <stdlib.h>

namespace vellicor::win32 {

// Where the system calls into the program for one event. Handlers contain the failures
// they expect; a Failure or a lack of memory that still gets here abandons that one event
// and leaves a line for a debugger (DebugView, or the debugger's output window). Anything
// else is a bug and ends the program where it happened (noexcept).
// True when the handler ran to its end.
template <class Handler>
bool HandleEvent(Handler&& handler) noexcept {
    // The trace is written in pieces, without allocating: every message passes here, and
    // a lack of memory must not end the program on its way out.
    constexpr const wchar_t* kAbandoned = L"Vellicor: an event was abandoned: ";
    try {
        handler();
        return true;
    } catch (const Failure& failure) {
        std::array<wchar_t, 16> number{};
        constexpr int kDecimal = 10;
        ::_itow_s(failure.Number(), number.data(), number.size(), kDecimal);
        for (const wchar_t* piece :
             {kAbandoned, static_cast<const wchar_t*>(number.data()), L": ", failure.Description().c_str(), L"\n"})
            ::OutputDebugStringW(piece);
    } catch (const std::bad_alloc&) {
        for (const wchar_t* piece : {kAbandoned, L"out of memory\n"}) ::OutputDebugStringW(piece);
    }
    return false;
}

} // namespace vellicor::win32
