// Measures, under Wine or on Windows, how long Vellicor.exe takes from process start
// until its main window is visible and idle, beside two yardsticks: an empty window, and
// the same window with its controls but none of the program's logic. Also its peak
// working set after start-up, and the time of one refresh sweep.
//   StartupBench <Vellicor.exe> <EmptyWindow.exe> <ControlsOnly.exe> [runs] [sweeps]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <psapi.h>
#include <string>
#include <vector>

namespace {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == found->pid && ::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

struct Run {
    double seconds = -1;
    SIZE_T peakWorkingSet = 0;
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// Starts the program and returns once its top window is visible and its thread idle.
Run Start(const std::wstring& exe) {
    Run run;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double begin = Now();
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &run.process)) {
        return run;
    }
    Found found{run.process.dwProcessId, nullptr};
    while (!found.window && Now() - begin < 30) {
        ::EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&found));
        if (!found.window) ::Sleep(1);
    }
    ::WaitForInputIdle(run.process.hProcess, 10000);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(found.window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
    run.seconds = Now() - begin;
    run.window = found.window;
    PROCESS_MEMORY_COUNTERS counters{};
    if (::GetProcessMemoryInfo(run.process.hProcess, &counters, sizeof counters)) {
        run.peakWorkingSet = counters.PeakWorkingSetSize;
    }
    return run;
}

void Stop(Run& run) {
    if (run.window) ::PostMessageW(run.window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(run.process.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(run.process.hProcess, 1);
    }
    ::CloseHandle(run.process.hThread);
    ::CloseHandle(run.process.hProcess);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

BOOL CALLBACK FindRefresh(HWND child, LPARAM param) {
    wchar_t text[32]{};
    ::GetWindowTextW(child, text, 32);
    if (std::wstring(text) == L"Refresh") {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: StartupBench Vellicor.exe EmptyWindow.exe ControlsOnly.exe [runs] [sweeps]\n");
        return 2;
    }
    constexpr int kPrograms = 3; // Vellicor, the empty window, the controls alone
    const int runs = argc > 4 ? _wtoi(argv[4]) : 20;
    const int sweeps = argc > 5 ? _wtoi(argv[5]) : 1000;
    std::vector<double> times[kPrograms];
    SIZE_T peak = 0;
    for (int i = 0; i < runs; ++i) {
        // Take turns in a rotating order, so that drift in the machine's load hits all alike.
        for (int turn = 0; turn < kPrograms; ++turn) {
            const int which = (i + turn) % kPrograms;
            Run run = Start(argv[1 + which]);
            if (run.seconds < 0) {
                std::fprintf(stderr, "could not start %ls\n", argv[1 + which]);
                return 1;
            }
            times[which].push_back(run.seconds);
            if (which == 0) peak = std::max(peak, run.peakWorkingSet);
            Stop(run);
        }
    }

    Run run = Start(argv[1]);
    HWND refresh = nullptr;
    ::EnumChildWindows(run.window, &FindRefresh, reinterpret_cast<LPARAM>(&refresh));
    std::vector<double> sweep;
    for (int i = 0; refresh && i < sweeps; ++i) {
        DWORD_PTR ignored = 0;
        const double begin = Now();
        ::SendMessageTimeoutW(refresh, BM_CLICK, 0, 0, SMTO_BLOCK, 10000, &ignored);
        sweep.push_back(Now() - begin);
    }
    Stop(run);

    const double vellicor = Median(times[0]);
    const double empty = Median(times[1]);
    const double controls = Median(times[2]);
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("start-up to idle window, median of %d runs: Vellicor %.1f ms, empty window %.1f ms, "
                "controls alone %.1f ms\n",
                runs, vellicor * 1000, empty * 1000, controls * 1000);
    std::printf("  Vellicor / empty window %.2f; controls alone / empty window %.2f; Vellicor / controls alone %.2f\n",
                ratio(vellicor, empty), ratio(controls, empty), ratio(vellicor, controls));
    std::printf("peak working set after start-up: %.1f MB\n", static_cast<double>(peak) / (1024.0 * 1024.0));
    std::printf("refresh sweep, median of %zu: %.3f ms\n", sweep.size(), Median(sweep) * 1000);
    return 0;
}
