#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace vellicor::ui {
namespace {

TEST(MainLayout, CheckBoxesStartGrayedInTheOrderTheSweepWalks) {
    std::vector<std::wstring> boxes;
    for (const ControlDef& def : MainLayout()) {
        if (def.kind != ControlKind::CheckBox) continue;
        boxes.emplace_back(def.name);
        EXPECT_EQ(kGrayed, def.value) << std::string(def.name.begin(), def.name.end());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"chkLibReadOnly", L"chkPlayReadOnly", L"chkTenths", L"chkFlashList",
                                         L"chkTitleWarn", L"chkBoost", L"chkEllipse", L"chkPanel", L"chkNotify",
                                         L"chkVerify"}),
              boxes);
}

TEST(MainLayout, TabPositionsAreAPermutationAndContainersComeFirst) {
    std::set<int> tabs;
    std::set<std::wstring_view> created;
    for (const ControlDef& def : MainLayout()) {
        EXPECT_TRUE(tabs.insert(def.tabIndex).second) << "duplicate tab position " << def.tabIndex;
        if (!def.container.empty()) {
            EXPECT_TRUE(created.count(def.container)) << "container created after its control";
        }
        created.insert(def.name);
    }
    EXPECT_EQ(0, *tabs.begin());
    EXPECT_EQ(static_cast<int>(MainLayout().size()) - 1, *tabs.rbegin());
}

TEST(MainLayout, EveryControlFitsInsideItsContainer) {
    for (const ControlDef& def : MainLayout()) {
        int width = kMainClientWidth;
        int height = kMainClientHeight;
        if (!def.container.empty()) {
            const auto frame = std::find_if(MainLayout().begin(), MainLayout().end(),
                                            [&](const ControlDef& d) { return d.name == def.container; });
            width = frame->width;
            height = frame->height;
        }
        EXPECT_LE(def.left + def.width, width) << std::string(def.name.begin(), def.name.end());
        EXPECT_LE(def.top + def.height, height) << std::string(def.name.begin(), def.name.end());
    }
}

} // namespace
} // namespace vellicor::ui
