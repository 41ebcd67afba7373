// A long session: many sweeps, clicks and commands must leave no handle, window or
// memory behind, and the registry and files must hold exactly what was asked for.
#include "e2e/Expected.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <cstdio>

namespace vellicor::e2e {
namespace {

struct Resources {
    DWORD handles = 0, gdi = 0, user = 0; // GDI and USER objects: 0 where not counted (Wine)
    std::size_t windows = 0;
    SIZE_T privateBytes = 0;
};

// Wine answers GetProcessHandleCount with 0; its system-wide handle list is right.
DWORD HandlesInSystemList(DWORD processId) {
    struct Entry {
        ULONG processId;
        BYTE type, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> buffer(1 << 20);
    ULONG length = 0;
    while (query(16 /* SystemHandleInformation */, buffer.data(), ULONG(buffer.size()), &length) == LONG(0xC0000004L)) buffer.resize(buffer.size() * 2);
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD mine = 0;
    for (ULONG i = 0, n = *reinterpret_cast<const ULONG*>(buffer.data()); i < n; ++i) mine += entries[i].processId == processId;
    return mine;
}

Resources ResourcesOf(const Program& program) {
    Resources r;
    ::GetProcessHandleCount(program.Process(), &r.handles);
    if (r.handles == 0) r.handles = HandlesInSystemList(program.Id());
    r.gdi = ::GetGuiResources(program.Process(), GR_GDIOBJECTS);
    r.user = ::GetGuiResources(program.Process(), GR_USEROBJECTS);
    for (HWND window : program.TopLevelWindows()) {
        ++r.windows;
        ::EnumChildWindows(window, [](HWND, LPARAM count) { return ++*reinterpret_cast<std::size_t*>(count), TRUE; }, LPARAM(&r.windows));
    }
    PROCESS_MEMORY_COUNTERS counters{};
    if (::GetProcessMemoryInfo(program.Process(), &counters, sizeof counters)) r.privateBytes = counters.PagefileUsage;
    return r;
}

TEST(Soak, NothingGrowsAndEverythingHoldsWhatWasAskedFor) {
    Player player;
    Program program;
    ASSERT_TRUE(program.Main());
    const auto round = [&](int refreshes, int clicksPerBox, int commandRuns) {
        for (int i = 0; i < refreshes; ++i) ASSERT_TRUE(program.Click(ControlOf(program, L"cmdRefresh")));
        for (const Expected& row : kMain) {
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
            ASSERT_TRUE(program.PostClick(ControlOf(program, L"cmdAbout")));
            const HWND about = program.WaitForWindow(L"About Vellicor");
            ASSERT_TRUE(about && ::PostMessageW(about, WM_CLOSE, 0, 0) && WaitUntil([&] { return !::IsWindow(about); }));
        }
    };
    // One round first: the system caches what a first message box or About window loads.
    round(1, 2, 1);
    ASSERT_TRUE(program.Sync());
    const Resources before = ResourcesOf(program);
    round(1000, 200, 50);
    ASSERT_TRUE(program.Sync());
    const Resources after = ResourcesOf(program);
    ASSERT_GT(before.handles, 0u) << "no way to count the program's handles";
    EXPECT_LE(after.handles, before.handles);
    EXPECT_LE(after.windows, before.windows);
    // Where GDI objects are not counted, a leak still shows as memory: a font or brush
    // per sweep or per click would be megabytes after this many.
    EXPECT_LE(after.privateBytes, before.privateBytes + (2u << 20));
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_LE(after.user, before.user);
    // An even number of clicks leaves each box as it was, and the registry agrees with it.
    for (const Toggle& toggle : kToggles) {
        const int state = program.State(ControlOf(program, toggle.box));
        const auto stored = player.settings.Read();
        const auto value = stored.find(toggle.value);
        if (toggle.presence) EXPECT_EQ(state == BST_CHECKED, value != stored.end()) << Utf8(toggle.value);
        else EXPECT_EQ(Dword(state == BST_CHECKED ? 0 : 1), value == stored.end() ? RawValue{} : value->second) << Utf8(toggle.value);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"xmplay.library", L"xmplay.pls"}), FileNames(player.folder.Path())) << "no temporary file left";
    std::printf("handles %lu -> %lu, GDI %lu -> %lu, USER %lu -> %lu, windows %zu -> %zu, private bytes %zu -> %zu\n", before.handles,
                after.handles, before.gdi, after.gdi, before.user, after.user, before.windows, after.windows,
                std::size_t(before.privateBytes), std::size_t(after.privateBytes));
    DeleteKeyTree(HKEY_CLASSES_ROOT, L"XMPlay");
}

} // namespace
} // namespace vellicor::e2e
