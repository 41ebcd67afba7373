#include "win32/Dpi.h"

#include "win32/Handles.h"
#include "win32/SystemLibrary.h"

#include <shellscalingapi.h>

namespace vellicor::win32 {

namespace {

// Resolved at run time: the per-monitor calls exist from Windows 10 1607 on, and the
// program also runs on Windows 7 and 8.1, where the system DPI is all there is.
template <class Function>
Function User32Function(const char* name) {
    return LibraryFunction<Function>(::GetModuleHandleW(L"user32.dll"), name);
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using MetricForDpiFn = int(WINAPI*)(int, UINT);
using GetWindowDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
using AreDpiAwarenessContextsEqualFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);

} // namespace

UINT MonitorDpi(HMONITOR monitor) {
    // shcore.dll is no known DLL; it is loaded from the system folder, once, and only
    // where the system lacks the per-window call.
    static const UniqueLibrary shcore = LoadSystemLibrary(L"shcore.dll");
    static const auto getDpiForMonitor = LibraryFunction<GetDpiForMonitorFn>(shcore.Get(), "GetDpiForMonitor");
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (!getDpiForMonitor || !monitor || FAILED(getDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) return 0;
    return dpiY;
}

bool ThemedAtWindowDpi(HWND window) {
    static const auto contextOf = User32Function<GetWindowDpiAwarenessContextFn>("GetWindowDpiAwarenessContext");
    static const auto same = User32Function<AreDpiAwarenessContextsEqualFn>("AreDpiAwarenessContextsEqual");
    return contextOf && same && same(contextOf(window), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

void ScaleNonClientArea(HWND window) {
    static const auto enable = User32Function<EnableNonClientDpiScalingFn>("EnableNonClientDpiScaling");
    if (enable) enable(window); // fails, harmlessly, where the system scales it anyway
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    } else if (window) {
        if (const UINT dpi = MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))) return dpi;
    }
    const ScopedDC screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int SystemMetric(int index, UINT dpi) {
    static const auto metricForDpi = User32Function<MetricForDpiFn>("GetSystemMetricsForDpi");
    if (metricForDpi) return metricForDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(WindowDpi(nullptr)));
}

RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, clientWidth, clientHeight};
    if (adjustForDpi) {
        adjustForDpi(&rect, style, FALSE, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return rect;
}

} // namespace vellicor::win32
