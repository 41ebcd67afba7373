#pragma once

#include "core/Failure.h"

#include <windows.h>

#include <new>
#include <string>

namespace vellicor::win32 {

// Where the system calls into the program for one event. Handlers contain the failures
// they expect; a Failure or a lack of memory that still gets here abandons that one event
// and leaves a line for a debugger (DebugView, or the debugger's output window). Anything
// else is a bug: every caller is noexcept, so it ends the program where it happened.
// True when the handler ran to its end.
template <class Handler>
bool HandleEvent(Handler&& handler) {
    std::wstring abandoned = L"Vellicor: an event was abandoned: ";
    try {
        handler();
        return true;
    } catch (const Failure& failure) {
        abandoned += std::to_wstring(failure.Number()) + L": " + failure.Description();
    } catch (const std::bad_alloc&) {
        abandoned += L"out of memory";
    }
    abandoned += L'\n';
    ::OutputDebugStringW(abandoned.c_str());
    return false;
}

} // namespace vellicor::win32
