// Where Windows cannot be staged under Wine: every form of install folder, every attribute
// bit, a refused write, failures at each stage of the playlist's replacement,
// HKEY_CLASSES_ROOT as Windows merges it, and the command line that hands a link to the
// shell.
#include "app/MainForm.h"
#include "tools/HostFiles.h"
#include "tools/RegistryCommands.h"
#include "ui/MainLayout.h"
#include "ui/ShellCommand.h"
#include "unit/Doubles.h"

namespace vellicor::test {
namespace {

using Op = MemoryFileSystem::Operation;

// The main window's logic over its real layout, with the player's settings key, its files
// and the message boxes in memory: what a person would see, where Wine cannot stage it.
class PlayerFiles : public testing::Test {
protected:
    PlayerFiles() { form_.Form_Initialize(); }
    void Folder(const std::wstring& folder) { registry_->values[L"Install_Dir"] = TextValue(folder); }
    ui::Control& Control(std::wstring_view name) { return window_.Get(name); }
    std::shared_ptr<MemoryRegistry> registry_ = std::make_shared<MemoryRegistry>();
    registry::RegistryRoot root_{registry_};
    MemoryFileSystem files_;
    RecordedDialogs dialogs_;
    ui::WindowModel window_{ui::MainLayout()};
    struct : app::WindowHost {
        void Close() override {}
        void ShowAbout() override {}
    } host_;
    app::MainForm form_{window_,
                        app::Environment{[this]() -> const registry::RegistryRoot& { return root_; }, dialogs_, files_},
                        host_};
};

TEST_F(PlayerFiles, OnlyAnAbsoluteFolderIsUsedAndDevicesAreRefused) {
    const std::pair<const wchar_t*, bool> folders[] = {
        {L"C:\\XMPlay", true},
        {L"c:/XMPlay", true},
        {L"\\\\server\\share", true},
        {L"//server/share/XMPlay", true},
        {L"\\\\?\\C:\\XMPlay", true},
        {L"\\\\?\\UNC\\server\\share\\XMPlay", true},
        {L"", false},
        {L"XMPlay", false},
        {L"C:XMPlay", false},
        {L"\\XMPlay", false},
        {L"%ProgramFiles%\\XMPlay", false},
        {L"\\\\server", false},
        {L"\\\\.\\C:\\XMPlay", false},
        {L"//?/C:/XMPlay", false},
        {L"\\??\\C:\\XMPlay", false},
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\XMPlay", false},
        {L"\\\\?\\Volume{00000000-0000-0000-0000-000000000000}\\XMPlay", false},
    };
    const registry::RegistryKey settings = root_.KeyFromPath(L"\\HKEY_CURRENT_USER\\Settings");
    for (const auto& [folder, absolute] : folders) {
        Folder(folder);
        std::int32_t failure = 0;
        try {
            EXPECT_EQ(std::wstring(folder) + L"\\xmplay.pls", tools::HostFilePath(&settings, L"xmplay.pls"));
        } catch (const Failure& f) {
            failure = f.Number();
        }
        EXPECT_EQ(absolute ? 0 : 13, failure) << testing::PrintToString(std::wstring(folder));
    }
}

// The read-only boxes change only the read-only bit. Where a write is refused (no right to
// write), a box shows what is stored, not what the user asked for, and says nothing: the
// playlist's box, an inverted toggle checked while 1 is stored, and Boost unchecked while
// it is there.
TEST_F(PlayerFiles, TheReadOnlyBoxesChangeOnlyTheReadOnlyBitAndEveryBoxShowsWhatIsStoredWhenAWriteIsRefused) {
    Folder(L"C:\\XMPlay");
    ui::Control& box = Control(L"chkPlayReadOnly");
    // A file with no other bit reads as NORMAL; pinned and unpinned are attrib's +P and +U.
    for (const std::uint32_t initial : {0x80u, 0x20u | 0x2u | 0x4u | 0x2000u, 0x80000u | 0x20u, 0x100000u}) {
        files_.files[L"C:\\XMPlay\\xmplay.pls"] = {initial, "p"};
        box.SetValue(ui::kChecked);
        EXPECT_EQ((initial == 0x80 ? 0 : initial) | 1, files_.files.at(L"C:\\XMPlay\\xmplay.pls").attributes);
        box.SetValue(ui::kUnchecked);
        EXPECT_EQ(initial, files_.files.at(L"C:\\XMPlay\\xmplay.pls").attributes);
    }
    files_.failures[Op::SetAttributes] = 5;
    box.SetValue(ui::kChecked);
    registry_->values[L"NoTenths"] = registry_->values[L"Boost"] = registry::EncodeDword(1);
    registry_->denyWrites = true;
    Control(L"chkTenths").SetValue(ui::kChecked);
    Control(L"chkBoost").SetValue(ui::kUnchecked);
    EXPECT_EQ((std::array{ui::kUnchecked, ui::kUnchecked, ui::kChecked}),
              (std::array{box.Value(), Control(L"chkTenths").Value(), Control(L"chkBoost").Value()}));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(PlayerFiles, AFailureAtAnyStageOfThePlaylistsReplacementKeepsTheOldOneAndRemovesTheNewOne) {
    Folder(L"C:\\XMPlay");
    files_.files[L"C:\\XMPlay\\xmplay.pls"] = {0x22, "[playlist]\r\nFile1=a.mp3\r\nnumberofentries=1\r\n"};
    const auto before = files_.files;
    const struct {
        std::optional<Op> stage; // none: the new file's name leads to another folder
        std::int32_t code;
        std::wstring shown;
    } stages[] = {
        {Op::Create, 5, L"Error opening playlist: 5 Access is denied.\r\n\r\nC:\\XMPlay\\xmplay.pls"},
        {std::nullopt, 0, L"Error opening playlist: 5 Access is denied.\r\n\r\nC:\\XMPlay\\xmplay.pls"},
        {Op::Write, 112, L"Error emptying default playlist\r\n\r\n112: There is not enough space on the disk."},
        {Op::MoveOver, 32,
         L"Error emptying default playlist\r\n\r\n32: The process cannot access the file because it is being used by "
         L"another process."},
    };
    for (const auto& stage : stages) {
        if (stage.stage)
            files_.failures[*stage.stage] = stage.code;
        else
            files_.links[L"C:\\XMPlay\\xmplay.pls.tmp"] = L"D:\\Elsewhere\\xmplay.pls.tmp";
        Control(L"cmdEmptyPlaylist").UserClick();
        EXPECT_EQ(stage.shown, dialogs_.shown.back());
        files_.links.clear();
        EXPECT_TRUE(before == files_.files) << "the old playlist as it was, the new one gone";
    }
}

// A per-user XMPlay class hides a machine-wide one, which only an administrator may open
// for removal.
struct MergedClasses : MemoryRegistry {
    MergedClasses(bool user, bool machine, bool admin) : user(user), machine(machine), admin(admin) {}
    bool user, machine, admin;
    void Reach() const {
        if (!user && !machine) throw SystemFailure(2);
        if (!user && !admin) throw SystemFailure(5);
    }
    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey root, const std::wstring& path) override {
        if (!path.empty()) Reach();
        return MemoryRegistry::OpenKey(root, path);
    }
    void DeleteSubKeyTree(const std::wstring&) override {
        Reach();
        (user ? user : machine) = false;
    }
};

TEST(FixFileAssociations, AMachineWideClassUncoveredByTheRemovalIsRemovedTooOrReported) {
    const struct {
        bool user, machine, admin, machineLeft;
    } cases[] = {
        {true, false, false, false}, {true, true, true, false}, {true, true, false, true}, {false, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.user << c.machine << c.admin);
        const auto classes = std::make_shared<MergedClasses>(c.user, c.machine, c.admin);
        const tools::Outcome outcome = tools::FixFileAssociations(registry::RegistryRoot(classes));
        EXPECT_EQ(c.machineLeft ? 5 : 0, outcome.failure ? outcome.failure->Number() : 0);
        EXPECT_FALSE(classes->user);
        EXPECT_EQ(c.machineLeft, classes->machine);
    }
}

TEST(ShellCommandLine, QuotesTheLinkAfterExplorerAndRefusesWhatCouldBreakOutOfTheQuotes) {
    EXPECT_EQ(L"explorer \"https://x.invalid/a b?c=d&e\"", ui::ShellCommandLine(L"https://x.invalid/a b?c=d&e"));
    for (const std::wstring& refused :
         {std::wstring(), std::wstring(L"https://x.invalid/\" /select,C:\\"), std::wstring(L"\""),
          std::wstring(L"https://x.invalid/\0x", 20), std::wstring(L"C:\\Windows\\")}) {
        EXPECT_FALSE(ui::ShellCommandLine(refused)) << refused.size();
    }
}

} // namespace
} // namespace vellicor::test
