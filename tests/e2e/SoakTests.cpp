// A long session: many sweeps, clicks and commands must leave no handle, GDI or USER
// object behind, and the registry and files must hold exactly what was asked for.
#include "e2e/Driver.h"

#include "app/RegistryToggles.h"
#include "ui/MainLayout.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>

namespace vellicor::e2e {
namespace {

namespace msg = ui::messages;

struct Resources {
    DWORD handles = 0;
    DWORD gdi = 0; // 0 where the system does not count them (Wine)
    DWORD user = 0;
    std::size_t windows = 0;
    SIZE_T privateBytes = 0;
};

// Wine answers GetProcessHandleCount with 0; its system-wide handle list is right.
DWORD HandleCountFromSystemList(DWORD processId) {
    struct Entry {
        ULONG processId;
        BYTE objectType;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
    std::vector<BYTE> buffer(1 << 20);
    ULONG length = 0;
    LONG status = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
           kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return 0;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].processId == processId ? 1 : 0;
    return mine;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<std::size_t*>(count);
    return TRUE;
}

Resources ResourcesOf(const VellicorProcess& program) {
    Resources r;
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.Id()));
    if (!process) return r;
    ::GetProcessHandleCount(process.Get(), &r.handles);
    if (r.handles == 0) r.handles = HandleCountFromSystemList(program.Id());
    r.gdi = ::GetGuiResources(process.Get(), GR_GDIOBJECTS);
    r.user = ::GetGuiResources(process.Get(), GR_USEROBJECTS);
    for (HWND window : program.TopLevelWindows(true)) {
        ++r.windows;
        ::EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&r.windows));
    }
    PROCESS_MEMORY_COUNTERS counters{};
    if (::GetProcessMemoryInfo(process.Get(), &counters, sizeof counters)) r.privateBytes = counters.PagefileUsage;
    return r;
}

void CreateAssociationKey() {
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CLASSES_ROOT, L"XMPlay\\shell", 0, nullptr, 0, KEY_READ, nullptr,
                                               &raw, nullptr));
    ::RegCloseKey(raw);
}

class Soak : public testing::Test {
protected:
    void TearDown() override { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"XMPlay"); }
    void SetUp() override {
        settings_.SetText(L"Install_Dir", folder_.Path());
        RecreateFiles();
        program_.emplace();
        ASSERT_TRUE(program_->WaitForMainWindow());
    }
    void RecreateFiles() const {
        WriteBytes(folder_.File(L"xmplay.library"), "library");
        WriteBytes(folder_.File(L"xmplay.pls"), "[playlist]\r\nFile1=a.mp3\r\nnumberofentries=1\r\n");
    }
    // Runs a command to its end; false when its boxes did not come as expected.
    bool RunCommand(const wchar_t* button, bool asks, Answer answer) {
        const Conversation c = program_->Converse(button, asks, answer, answer == Answer::Ok ? kPatience : 0ms);
        if (asks && !c.question) return false;
        return answer == Answer::Ok ? c.result.has_value() : !c.result.has_value();
    }
    bool OpenAndCloseAbout() {
        if (!program_->PostClick(program_->Control(L"cmdAbout"))) return false;
        HWND about = nullptr;
        if (!WaitUntil([&] {
                for (HWND window : program_->TopLevelWindows()) {
                    if (window != program_->MainWindow() && ClassOf(window) == L"VellicorForm") about = window;
                }
                return about != nullptr;
            })) {
            return false;
        }
        ::PostMessageW(about, WM_CLOSE, 0, 0);
        return WaitUntil([&] { return !::IsWindow(about); });
    }
    void OneOfEverything(int refreshes, int clicksPerBox, int commandRuns) {
        for (int i = 0; i < refreshes; ++i) ASSERT_TRUE(program_->Click(program_->Control(L"cmdRefresh")));
        for (const auto& control : ui::MainLayout()) {
            if (control.kind != ui::ControlKind::CheckBox) continue;
            for (int i = 0; i < clicksPerBox; ++i) ASSERT_TRUE(program_->Click(program_->Control(control.name)));
        }
        for (int i = 0; i < commandRuns; ++i) {
            for (const wchar_t* command : {L"cmdKillLib", L"cmdEmptyPlaylist"}) {
                ASSERT_TRUE(RunCommand(command, true, Answer::Cancel));
                ASSERT_TRUE(RunCommand(command, true, Answer::Ok));
                RecreateFiles();
            }
            CreateAssociationKey();
            ASSERT_TRUE(RunCommand(L"cmdFixAssoc", false, Answer::Ok)); // deletes, then reports the key missing
            ASSERT_TRUE(RunCommand(L"cmdFixAssoc", false, Answer::Ok));
            ASSERT_TRUE(RunCommand(L"cmdKillReg", true, Answer::Cancel)); // OK would end the program
            ASSERT_TRUE(OpenAndCloseAbout());
        }
    }

    ScratchSettings settings_;
    ScratchFolder folder_{L"vellicor-e2e"};
    std::optional<VellicorProcess> program_;
};

TEST_F(Soak, NothingGrowsAndEverythingHoldsWhatWasAskedFor) {
    // One round first: the system caches what a first message box or About window loads.
    OneOfEverything(1, 2, 1);
    ASSERT_TRUE(program_->Sync());
    const Resources before = ResourcesOf(*program_);

    OneOfEverything(1000, 200, 50);
    ASSERT_TRUE(program_->Sync());
    const Resources after = ResourcesOf(*program_);
    ASSERT_GT(before.handles, 0u) << "no way to count the program's handles";
    EXPECT_LE(after.handles, before.handles);
    EXPECT_LE(after.windows, before.windows);
    // Where GDI objects cannot be counted (Wine), a leak still shows as memory: a font or
    // brush per sweep or per click would be megabytes after this many.
    EXPECT_LE(after.privateBytes, before.privateBytes + (2u << 20));
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_LE(after.user, before.user);

    // An even number of clicks leaves each box as it was, and the registry agrees with it.
    for (const app::ToggleDef& toggle : app::RegistryToggles()) {
        const int state = program_->CheckState(program_->Control(toggle.control));
        const auto stored = settings_.Dword(std::wstring(toggle.valueName));
        if (toggle.kind == app::ToggleKind::Presence) {
            EXPECT_EQ(state == BST_CHECKED, stored.has_value()) << Utf8(toggle.valueName);
        } else {
            ASSERT_TRUE(stored) << Utf8(toggle.valueName);
            EXPECT_EQ(state == BST_CHECKED ? 0u : 1u, *stored) << Utf8(toggle.valueName);
        }
    }
    EXPECT_EQ(std::vector<std::wstring>({L"xmplay.library", L"xmplay.pls"}), FileNames(folder_.Path()))
        << "no temporary file left";
    std::printf("handles %lu -> %lu, GDI objects %lu -> %lu, USER objects %lu -> %lu, windows %zu -> %zu, "
                "private bytes %zu -> %zu\n",
                before.handles, after.handles, before.gdi, after.gdi, before.user, after.user, before.windows,
                after.windows, static_cast<std::size_t>(before.privateBytes), static_cast<std::size_t>(after.privateBytes));
}

} // namespace
} // namespace vellicor::e2e
