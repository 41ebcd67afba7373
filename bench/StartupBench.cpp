// Measures, under Wine or on Windows, how long programs take from process start until
// their main window is visible and idle, started in turn, and how the first of them
// compares with each of the others. Then the first program's peak working set after
// start-up, and the time of one of its refresh sweeps.
//   StartupBench runs sweeps name=program.exe name=program.exe ...
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
    // Waiting for the first idle moment costs the starting program nothing; looking for its
    // window over and over would take the system's time from it.
    ::WaitForInputIdle(run.process.hProcess, 30000);
    Found found{run.process.dwProcessId, nullptr};
    while (!found.window && Now() - begin < 30) {
        ::EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&found));
        if (!found.window) ::Sleep(1);
    }
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
    // What the system still does after a program has gone should not fall on the next.
    ::Sleep(50);
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

struct Program {
    std::wstring name;
    std::wstring exe;
    std::vector<double> times;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const std::size_t equals = argument.find(L'=');
        if (equals == std::wstring::npos) break;
        programs.push_back({argument.substr(0, equals), argument.substr(equals + 1), {}});
    }
    if (argc < 5 || programs.size() != static_cast<std::size_t>(argc - 3)) {
        std::fprintf(stderr, "usage: StartupBench runs sweeps name=program.exe name=program.exe ...\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    const int sweeps = _wtoi(argv[2]);
    SIZE_T peak = 0;
    for (int i = 0; i < runs; ++i) {
        // Take turns in a rotating order, so that drift in the machine's load hits all alike.
        for (std::size_t turn = 0; turn < programs.size(); ++turn) {
            const std::size_t which = (i + turn) % programs.size();
            Run run = Start(programs[which].exe);
            if (run.seconds < 0) {
                std::fprintf(stderr, "could not start %ls\n", programs[which].exe.c_str());
                return 1;
            }
            programs[which].times.push_back(run.seconds);
            if (which == 0) peak = std::max(peak, run.peakWorkingSet);
            Stop(run);
        }
    }

    Run run = Start(programs[0].exe);
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

    std::printf("start-up to an idle window, median of %d runs each:\n", runs);
    const double first = Median(programs[0].times);
    for (const Program& program : programs) {
        const double median = Median(program.times);
        std::printf("  %-16ls %7.1f ms", program.name.c_str(), median * 1000);
        if (&program != &programs[0] && median > 0) {
            std::printf("   %ls / %ls %.2f", programs[0].name.c_str(), program.name.c_str(), first / median);
        }
        std::printf("\n");
    }
    std::printf("%ls: peak working set after start-up %.1f MB, refresh sweep (median of %zu) %.3f ms\n",
                programs[0].name.c_str(), static_cast<double>(peak) / (1024.0 * 1024.0), sweep.size(),
                Median(sweep) * 1000);
    return 0;
}
