// A long session: many sweeps, clicks and commands must leave no handle, window or memory
// behind, and the registry and files must hold exactly what was asked for.
#include "e2e/Expected.h"

#include <psapi.h>

#include <cstdio>

namespace vellicor::e2e {
namespace {

// Handles; GDI and USER objects (0 where the system does not count them: Wine); windows;
// private memory.
std::array<std::size_t, 5> ResourcesOf(const Program& program) {
    std::size_t windows = 0;
    for (HWND window : program.TopLevelWindows()) {
        ++windows, ::EnumChildWindows(window, [](HWND, LPARAM count) { return ++*reinterpret_cast<std::size_t*>(count), TRUE; }, LPARAM(&windows));
    }
    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(program.Process(), &memory, sizeof memory);
    return {program.HandleCount(), ::GetGuiResources(program.Process(), GR_GDIOBJECTS), ::GetGuiResources(program.Process(), GR_USEROBJECTS), windows, memory.PagefileUsage};
}

TEST(Soak, NothingGrowsAndEverythingHoldsWhatWasAskedFor) {
    Player player;
    Program program;
    const auto round = [&](int refreshes, int clicksPerBox, int commandRuns) {
        for (int i = 0; i < refreshes; ++i) ASSERT_TRUE(program.Click(ControlOf(program, L"cmdRefresh")));
        for (const ControlDef& row : ui::MainLayout()) {
            for (int i = 0; row.kind == Kind::CheckBox && i < clicksPerBox; ++i) ASSERT_TRUE(program.Click(ControlOf(program, row.name)));
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
            ASSERT_EQ(1u, program.Converse(ControlOf(program, L"cmdKillReg"), true, Answer::Cancel).size()); // OK would end it
            const HWND about = OpenAbout(program);
            ASSERT_TRUE(about && ::PostMessageW(about, WM_CLOSE, 0, 0) && WaitUntil([&] { return !::IsWindow(about); }));
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
    ASSERT_GT(before[0], 0u) << "no way to count the program's handles";
    // Where GDI objects are not counted, a leak still shows as memory: a font or brush per
    // sweep or per click would be megabytes after this many.
    const char* const counted[] = {"handles", "GDI objects", "USER objects", "windows"};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_LE(after[i], before[i]) << counted[i];
    EXPECT_LE(after[4], before[4] + (2u << 20)) << "private bytes";
    std::printf("handles, GDI, USER objects, windows, private bytes: %zu %zu %zu %zu %zu -> %zu %zu %zu %zu %zu\n", before[0], before[1], before[2], before[3], before[4], after[0], after[1], after[2], after[3], after[4]);
    // An even number of clicks leaves each box, and what is stored, as it was.
    for (std::size_t i = 0; i < states.size(); ++i) EXPECT_EQ(states[i], program.State(ControlOf(program, kToggles[i].box))) << std::wstring(kToggles[i].box);
    EXPECT_EQ(stored, player.settings.Read());
    EXPECT_EQ((std::vector<std::wstring>{L"xmplay.library", L"xmplay.pls"}), FileNames(player.folder.Path())) << "no temporary file left";
    DeleteKeyTree(HKEY_CLASSES_ROOT, L"XMPlay");
}

} // namespace
} // namespace vellicor::e2e
