#include "doubles/FormHarness.h"

#include "core/Win32Values.h"

#include <gtest/gtest.h>

namespace vellicor::test {
namespace {

using namespace win32values;

// A load that finds its value reads it twice: Item's existence test, then Value.
constexpr int kReadsPerLoad = 2;

const std::vector<std::wstring> kToggleValues = {L"NoTrayTitle",    L"NoCheckDead",  L"NoPanelOpen", L"NoListEllipsis",
                                                 L"NoFlashTotal", L"NoCheckScan", L"Boost",       L"NoTenths"};

TEST(Startup, MissingSettingsKeyShowsOneCriticalMessageAndCreatesNothing) {
    FormHarness h;
    h.registry->DeleteKey(kSettings);
    const std::wstring before = h.registry->Dump();

    EXPECT_FALSE(h.Start());
    ASSERT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(L"Could not open the XMPlay registry section. Please run XMPlay to create the keys.",
              h.dialogs.shown[0].text);
    EXPECT_EQ(kMbOk | kMbIconCritical, h.dialogs.shown[0].style);
    EXPECT_EQ(before, h.registry->Dump());
    EXPECT_TRUE(h.counting->reads.empty()) << "the sweep must not run";
}

TEST(Startup, RegistryNotAvailableIsTheSameFailure) {
    FormHarness h;
    h.registryAvailable = false;
    EXPECT_FALSE(h.Start());
    ASSERT_EQ(1u, h.dialogs.shown.size());
    EXPECT_EQ(kMbOk | kMbIconCritical, h.dialogs.shown[0].style);
}

TEST(Startup, EveryHandlerLoadsExactlyOnceAndNothingIsWritten) {
    FormHarness h;
    for (std::size_t i = 0; i < kToggleValues.size(); ++i) h.SetDword(kToggleValues[i], static_cast<int>(i % 2));
    h.registry->SetValue(kSettings, L"Install_Dir", registry::EncodeText(L"C:\\XMPlay"));
    h.files.files[L"C:\\XMPlay\\xmplay.library"] = {0x21, "lib"};
    h.files.files[L"C:\\XMPlay\\xmplay.pls"] = {0x20, "pls"};

    ASSERT_TRUE(h.Start());
    for (const std::wstring& name : kToggleValues) EXPECT_EQ(kReadsPerLoad, h.counting->reads[name]) << Narrow(name);
    EXPECT_EQ(2 * kReadsPerLoad, h.counting->reads[L"Install_Dir"]) << "one load per read-only box";
    for (const auto& control : h.window.Controls()) {
        if (control->TypeName() == L"CheckBox") {
            EXPECT_NE(ui::kGrayed, control->Value()) << Narrow(control->Name());
        }
    }
    EXPECT_EQ(ui::kChecked, h.Box(L"chkLibReadOnly").Value());
    EXPECT_EQ(ui::kUnchecked, h.Box(L"chkPlayReadOnly").Value());
    EXPECT_EQ(0, h.registry->WriteCount());
    EXPECT_EQ(0, h.files.attributeWrites);
    EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST(RefreshSweep, NeverWritesAndLeavesOtherControlsAlone) {
    FormHarness h;
    h.SetDword(L"NoTenths", 0);
    h.SetDword(L"Boost", 5);
    h.SetDword(L"NoCheckScan", 7);
    ASSERT_TRUE(h.Start());
    h.window.Get(L"txtTip").SetText(L"kept");
    const std::wstring before = h.registry->Dump();

    h.form->cmdRefresh_Click();
    h.form->cmdRefresh_Click();
    EXPECT_EQ(before, h.registry->Dump());
    EXPECT_EQ(0, h.registry->WriteCount());
    EXPECT_EQ(L"kept", h.window.Get(L"txtTip").Text());
}

TEST(RefreshSweep, ValueCreatedOutsideIsLoadedThroughTheCallByName) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(ui::kGrayed, h.Box(L"chkTenths").Value());

    h.SetDword(L"NoTenths", 1);
    h.counting->reads.clear();
    h.form->cmdRefresh_Click();
    EXPECT_EQ(ui::kUnchecked, h.Box(L"chkTenths").Value());
    EXPECT_EQ(kReadsPerLoad, h.counting->reads[L"NoTenths"]);
}

TEST(RefreshSweep, ValueDeletedOutsideRunsTheHandlerOnceAndStaysGrayed) {
    FormHarness h;
    h.SetDword(L"NoTenths", 0);
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(ui::kChecked, h.Box(L"chkTenths").Value());

    h.registry->DeleteValue(kSettings, L"NoTenths");
    h.counting->reads.clear();
    h.form->cmdRefresh_Click();
    EXPECT_EQ(ui::kGrayed, h.Box(L"chkTenths").Value());
    EXPECT_EQ(1, h.counting->reads[L"NoTenths"]) << "one load, stopped by the existence test";
    EXPECT_FALSE(h.Value(L"NoTenths"));
}

TEST(RefreshSweep, DisabledBoxIgnoresClicksCodeAndCallsByName) {
    FormHarness h;
    h.SetDword(L"NoTenths", 0);
    ASSERT_TRUE(h.Start());
    ui::Control& box = h.Box(L"chkTenths");
    box.SetEnabled(false);
    h.counting->reads.clear();

    box.UserClick();
    box.SetValue(ui::kUnchecked);
    h.window.CallByName(L"chkTenths_Click");
    h.form->cmdRefresh_Click();
    EXPECT_EQ(ui::kGrayed, box.Value());
    EXPECT_EQ(0, h.counting->reads[L"NoTenths"]);
    EXPECT_EQ(registry::EncodeDword(0), h.Value(L"NoTenths"));
}

TEST(Lifecycle, ExitClosesAndTerminateReleasesTheKey) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    h.window.Get(L"cmdExit").UserClick();
    EXPECT_EQ(1, h.host.closes);
    EXPECT_TRUE(h.dialogs.shown.empty());
    h.form->Form_Terminate();
    EXPECT_FALSE(h.form->SettingsKey());
}

TEST(HoverTips, ChecksAndButtonsShowTheirTagFramesAndBackgroundEmptyIt) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    ui::Control& tip = h.window.Get(L"txtTip");
    EXPECT_EQ(L"", tip.Text());

    h.window.Get(L"cmdKillReg").MouseMove();
    EXPECT_EQ(L"This will delete all XMPlay settings. Note that file & plugin settings are not affected.", tip.Text());
    h.window.Get(L"txtTip").MouseMove();
    EXPECT_NE(L"", tip.Text()) << "the description box has no handler";
    h.window.Get(L"fraTools").MouseMove();
    EXPECT_EQ(L"", tip.Text());
    h.window.CallByName(L"chkTitleWarn_MouseMove");
    EXPECT_EQ(L"Show \"Title scanning in progress\" warning when closing", tip.Text());
    h.form->Form_MouseMove();
    EXPECT_EQ(L"", tip.Text());
}

} // namespace
} // namespace vellicor::test
