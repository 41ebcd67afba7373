// A long session: many sweeps, clicks and commands must leave no handle, GDI object,
// window or memory behind, and the registry and files must hold exactly what was asked for.
#include "e2e/Expected.h"

#include <winternl.h>

#include <psapi.h>

namespace vellicor::e2e {
namespace {

// The GDI objects the system counts; Wine counts none, but keeps each process's own GDI
// handle table where Windows keeps the session's (the PEB's GdiSharedHandleTable, 65,536
// entries of 24 bytes, the type at byte 14): the entries in use there.
std::size_t GdiObjects(HANDLE process) {
    if (const DWORD counted = ::GetGuiResources(process, GR_GDIOBJECTS)) return counted;
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = win32::LibraryFunction<Query>(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    ULONG_PTR table = 0;
    std::vector<std::array<BYTE, 24>> entries(0x10000);
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) ||
        !::ReadProcessMemory(process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + 0xF8, &table, sizeof table,
                             nullptr) ||
        !::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size() * 24,
                             nullptr))
        return 0;
    return std::size_t(std::count_if(entries.begin(), entries.end(), [](const auto& entry) { return entry[14] != 0; }));
}

// Handles; GDI objects; USER objects (0 where the system does not count them: Wine);
// windows; private memory.
std::array<std::size_t, 5> ResourcesOf(const Program& program) {
    const auto count = [](HWND, LPARAM windows) {
        ++*reinterpret_cast<std::size_t*>(windows);
        return TRUE;
    };
    std::size_t windows = 0;
    for (HWND window : program.TopLevelWindows()) {
        ++windows;
        ::EnumChildWindows(window, count, LPARAM(&windows));
    }
    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(program.Process(), &memory, sizeof memory);
    return {program.HandleCount(), GdiObjects(program.Process()), ::GetGuiResources(program.Process(), GR_USEROBJECTS),
            windows, memory.PagefileUsage};
}

TEST(Soak, NothingGrowsAndEverythingHoldsWhatWasAskedFor) {
    Player player;
    const ScratchKeys classes(HKEY_CLASSES_ROOT, {L"XMPlay"});
    Program program;
    const auto round = [&](int refreshes, int clicksPerBox, int commandRuns) {
        for (int i = 0; i < refreshes; ++i) ASSERT_TRUE(program.Click(ControlOf(program, L"cmdRefresh")));
        for (const ControlDef& row : ui::MainLayout()) {
            for (int i = 0; row.kind == Kind::CheckBox && i < clicksPerBox; ++i)
                ASSERT_TRUE(program.Click(ControlOf(program, row.name)));
        }
        for (int i = 0; i < commandRuns; ++i) {
            for (const wchar_t* command : {L"cmdKillLib", L"cmdEmptyPlaylist"}) {
                ASSERT_EQ(1u, program.Converse(ControlOf(program, command), true, Answer::Cancel).size());
                ASSERT_EQ(2u, program.Converse(ControlOf(program, command), true).size());
                player.WriteFiles();
            }
            WriteValue(HKEY_CLASSES_ROOT, L"XMPlay\\shell", L"", Text(L"x"));
            ASSERT_EQ(1u, program.Converse(ControlOf(program, L"cmdFixAssoc"), false).size()); // deleted
            ASSERT_EQ(1u, program.Converse(ControlOf(program, L"cmdFixAssoc"), false).size()); // missing
            ASSERT_EQ(
                1u,
                program.Converse(ControlOf(program, L"cmdKillReg"), true, Answer::Cancel).size()); // OK would end it
            const HWND about = OpenAbout(program);
            ASSERT_TRUE(about && ::PostMessageW(about, WM_CLOSE, 0, 0) &&
                        WaitUntil([&] { return !::IsWindow(about); }));
        }
    };
    // One round first: the system caches what a first message box or About window loads.
    round(1, 2, 1);
    ASSERT_TRUE(Settled(program.Main()));
    const auto before = ResourcesOf(program);
    const Values stored = player.settings.Read();
    std::vector<int> states;
    for (const Toggle& toggle : kToggles) states.push_back(program.State(ControlOf(program, toggle.box)));
    round(1000, 200, 50);
    ASSERT_TRUE(Settled(program.Main()));
    const auto after = ResourcesOf(program);
    // Wine counts no USER objects: windows are counted one by one, and the icons and cursors
    // that a window would load hold GDI bitmaps. Every other count must have been read.
    const char* const counted[] = {"handles", "GDI objects", "USER objects", "windows", "private bytes"};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(before[i] > 0 || (i == 2 && UnderWine())) << "no count of " << counted[i];
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_LE(after[i], before[i] + (i == 4 ? 2u << 20 : 0)) << counted[i]; // memory: 2 MB of slack
    // An even number of clicks leaves each box, and what is stored, as it was.
    for (std::size_t i = 0; i < states.size(); ++i)
        EXPECT_EQ(states[i], program.State(ControlOf(program, kToggles[i].box))) << std::wstring(kToggles[i].box);
    EXPECT_EQ(stored, player.settings.Read());
    EXPECT_EQ((std::vector<std::wstring>{L"xmplay.library", L"xmplay.pls"}), FileNames(player.folder.Path()))
        << "no temporary file left";
}

} // namespace
} // namespace vellicor::e2e
