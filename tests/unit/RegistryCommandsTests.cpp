#include "doubles/FormHarness.h"

#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/RegistryCommands.h"

#include <gtest/gtest.h>

namespace vellicor::test {
namespace {

using namespace win32values;

const std::wstring kAssoc = L"\\HKEY_CLASSES_ROOT\\XMPlay";

TEST(FixAssociations, RemovesOnlyThePlayersClassKeyWithoutAsking) {
    FormHarness h;
    h.registry->SetValue(kAssoc + L"\\shell\\open\\command", L"", registry::EncodeText(L"xmplay.exe \"%1\""));
    h.registry->SetValue(L"\\HKEY_CLASSES_ROOT\\XMPlayer", L"", registry::EncodeText(L"other"));
    h.registry->SetValue(L"\\HKEY_CLASSES_ROOT\\.mp3", L"", registry::EncodeText(L"XMPlay"));
    ASSERT_TRUE(h.Start());

    h.window.Get(L"cmdFixAssoc").UserClick();
    ASSERT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(L"File association information deleted - run XMPlay to recreate association information.",
              h.dialogs.shown[0].text);
    EXPECT_EQ(kMbOk | kMbIconInformation, h.dialogs.shown[0].style);
    EXPECT_FALSE(h.registry->KeyExists(kAssoc));
    EXPECT_TRUE(h.registry->KeyExists(L"\\HKEY_CLASSES_ROOT\\XMPlayer"));
    EXPECT_EQ(registry::EncodeText(L"XMPlay"), h.registry->GetValue(L"\\HKEY_CLASSES_ROOT\\.mp3", L""));

    h.window.Get(L"cmdFixAssoc").UserClick();
    EXPECT_EQ(L"Error fixing file associations\r\n\r\n2: The system cannot find the file specified.",
              h.dialogs.shown[1].text);
    EXPECT_EQ(kMbOk | kMbIconExclamation, h.dialogs.shown[1].style);
}

TEST(FixAssociations, AccessDeniedIsReportedAndChangesNothing) {
    FormHarness h;
    h.registry->CreateKey(kAssoc + L"\\DefaultIcon");
    h.registry->DenyWrites(kAssoc);
    ASSERT_TRUE(h.Start());
    h.window.Get(L"cmdFixAssoc").UserClick();
    EXPECT_EQ(L"Error fixing file associations\r\n\r\n5: Access is denied.", h.dialogs.shown.at(0).text);
    EXPECT_TRUE(h.registry->KeyExists(kAssoc + L"\\DefaultIcon"));
}

// HKEY_CLASSES_ROOT as Windows merges it: a per-user XMPlay class hides a machine-wide
// one, which only an administrator may open for removal.
class MergedClasses : public registry::RegistryBackend {
public:
    bool user = false;
    bool machine = false;
    bool admin = false;

    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey root, const std::wstring& subPath) override {
        if (root != registry::RootKey::ClassesRoot) throw SystemFailure(2);
        if (!subPath.empty()) Reach();
        return std::make_unique<Handle>(*this);
    }

private:
    void Reach() const {
        if (!user && !machine) throw SystemFailure(2);
        if (!user && !admin) throw SystemFailure(5);
    }
    struct Handle : registry::KeyHandle {
        explicit Handle(MergedClasses& classes) : classes(classes) {}
        registry::RawValue QueryValue(const std::wstring&) const override { throw SystemFailure(120); }
        void SetValue(const std::wstring&, const registry::RawValue&) override { throw SystemFailure(120); }
        void DeleteValue(const std::wstring&) override { throw SystemFailure(120); }
        void DeleteSubKeyTree(const std::wstring&) override {
            classes.Reach();
            (classes.user ? classes.user : classes.machine) = false;
        }
        MergedClasses& classes;
    };
};

TEST(FixAssociations, AMachineCopyUncoveredByTheRemovalIsRemovedTooOrReported) {
    struct Case {
        bool user, machine, admin;
        std::wstring text;
        bool userLeft, machineLeft;
    };
    const std::wstring done = L"File association information deleted - run XMPlay to recreate association information.";
    const std::wstring denied = L"Error fixing file associations\r\n\r\n5: Access is denied.";
    const Case cases[] = {
        {true, false, false, done, false, false},
        {true, true, true, done, false, false},
        {true, true, false, denied, false, true},
        {false, true, false, denied, false, true},
    };
    for (const Case& c : cases) {
        const auto classes = std::make_shared<MergedClasses>();
        classes->user = c.user;
        classes->machine = c.machine;
        classes->admin = c.admin;
        FakeDialogs dialogs;
        tools::FixFileAssociations(registry::RegistryRoot(classes), dialogs);
        ASSERT_EQ(1u, dialogs.shown.size());
        EXPECT_EQ(c.text, dialogs.shown[0].text) << c.user << c.machine << c.admin;
        EXPECT_EQ(c.userLeft, classes->user);
        EXPECT_EQ(c.machineLeft, classes->machine);
    }
}

TEST(DeleteSettings, CancelChangesNothingAndOkDeletesTheKeyThenCloses) {
    FormHarness h;
    h.SetDword(L"NoTenths", 0);
    h.registry->CreateKey(kSettings + L"\\Plugins");
    h.registry->CreateKey(L"\\HKEY_CURRENT_USER\\Software\\Un4seen Developments\\Other");
    ASSERT_TRUE(h.Start());
    const std::wstring before = h.registry->Dump();

    h.dialogs.answers = {kIdCancel};
    h.window.Get(L"cmdKillReg").UserClick();
    ASSERT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(L"Warning: all XMPlay settings will be deleted. Are you sure you want to continue?\r\n\r\n"
              L"Vellicor will exit after deleting settings",
              h.dialogs.shown[0].text);
    EXPECT_EQ(kMbOkCancel | kMbIconQuestion, h.dialogs.shown[0].style);
    EXPECT_EQ(before, h.registry->Dump());
    EXPECT_EQ(0, h.host.closes);

    h.window.Get(L"cmdKillReg").UserClick();
    ASSERT_EQ(3u, h.dialogs.shown.size());
    EXPECT_EQ(L"Settings deleted!", h.dialogs.shown[2].text);
    EXPECT_EQ(kMbOk | kMbIconInformation, h.dialogs.shown[2].style);
    EXPECT_FALSE(h.registry->KeyExists(kSettings));
    EXPECT_TRUE(h.registry->KeyExists(L"\\HKEY_CURRENT_USER\\Software\\Un4seen Developments\\Other"));
    EXPECT_EQ(1, h.host.closes);
}

TEST(DeleteSettings, AKeyAlreadyGoneIsReportedAndTheWindowStays) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    h.registry->DeleteKey(kSettings);
    h.window.Get(L"cmdKillReg").UserClick();
    ASSERT_EQ(2u, h.dialogs.shown.size());
    EXPECT_EQ(L"Error deleting settings\r\n\r\n2: The system cannot find the file specified.", h.dialogs.shown[1].text);
    EXPECT_EQ(kMbOk | kMbIconExclamation, h.dialogs.shown[1].style);
    EXPECT_EQ(0, h.host.closes);
}

} // namespace
} // namespace vellicor::test
