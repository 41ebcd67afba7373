// What the tools do where Windows cannot be staged under Wine: HKEY_CLASSES_ROOT as
// Windows merges it, and the command line that hands a link to the shell.
#include "core/Failure.h"
#include "tools/RegistryCommands.h"
#include "ui/ShellCommand.h"

#include <gtest/gtest.h>

namespace vellicor::tools {
namespace {

struct Recorded : platform::Dialogs {
    int Show(const std::wstring& text, unsigned) override { return shown.push_back(text), 1; }
    std::vector<std::wstring> shown;
};

// A per-user XMPlay class hides a machine-wide one, which only an administrator may open
// for removal.
struct MergedClasses : registry::RegistryBackend {
    bool user = false, machine = false, admin = false;
    void Reach() const {
        if (!user && !machine) throw SystemFailure(2);
        if (!user && !admin) throw SystemFailure(5);
    }
    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey, const std::wstring& path) override {
        if (!path.empty()) Reach();
        struct Handle : registry::KeyHandle {
            MergedClasses& classes;
            explicit Handle(MergedClasses& c) : classes(c) {}
            registry::RawValue QueryValue(const std::wstring&) const override { throw SystemFailure(2); }
            void SetValue(const std::wstring&, const registry::RawValue&) override {}
            void DeleteValue(const std::wstring&) override {}
            void DeleteSubKeyTree(const std::wstring&) override { classes.Reach(), (classes.user ? classes.user : classes.machine) = false; }
        };
        return std::make_unique<Handle>(*this);
    }
};

TEST(FixFileAssociations, AMachineWideClassUncoveredByTheRemovalIsRemovedTooOrReported) {
    const std::wstring done = L"File association information deleted - run XMPlay to recreate association information.";
    const std::wstring denied = L"Error fixing file associations\r\n\r\n5: Access is denied.";
    const struct {
        bool user, machine, admin;
        std::wstring text;
        bool machineLeft;
    } cases[] = {{true, false, false, done, false}, {true, true, true, done, false}, {true, true, false, denied, true}, {false, true, false, denied, true}};
    for (const auto& c : cases) {
        const auto classes = std::make_shared<MergedClasses>();
        classes->user = c.user, classes->machine = c.machine, classes->admin = c.admin;
        Recorded dialogs;
        FixFileAssociations(registry::RegistryRoot(classes), dialogs);
        EXPECT_EQ(std::vector{c.text}, dialogs.shown) << c.user << c.machine << c.admin;
        EXPECT_FALSE(classes->user);
        EXPECT_EQ(c.machineLeft, classes->machine);
    }
}

TEST(ShellCommandLine, QuotesTheLinkAfterExplorerAndRefusesWhatCouldBreakOutOfTheQuotes) {
    EXPECT_EQ(L"explorer \"mailto:a@b.invalid?subject=Vellicor\"", ui::ShellCommandLine(L"mailto:a@b.invalid?subject=Vellicor"));
    EXPECT_EQ(L"explorer \"https://x.invalid/a b?c=d&e\"", ui::ShellCommandLine(L"https://x.invalid/a b?c=d&e"));
    for (const std::wstring& refused : {std::wstring(), std::wstring(L"https://x.invalid/\" /select,C:\\"), std::wstring(L"\""),
                                        std::wstring(L"https://x.invalid/\0x", 20), std::wstring(L"C:\\Windows\\")}) {
        EXPECT_FALSE(ui::ShellCommandLine(refused)) << refused.size();
    }
}

} // namespace
} // namespace vellicor::tools
