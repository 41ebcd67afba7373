#include "ui/AboutForm.h"
#include "ui/AboutLayout.h"
#include "ui/Links.h"
#include "ui/ShellCommand.h"

#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace vellicor::ui {
namespace {

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t ch : text) narrow.push_back(ch < 128 ? static_cast<char>(ch) : '?');
    return narrow;
}

class RecordingShell : public platform::Shell {
public:
    void Open(const std::wstring& address) override { opened.push_back(address); }
    std::vector<std::wstring> opened;
};

class CountingHost : public AboutHost {
public:
    void Close() override { ++closes; }
    int closes = 0;
};

// One About window's model and logic, as one press of "About..." makes them.
struct AboutHarness {
    Window window{AboutLayout()};
    RecordingShell shell;
    CountingHost host;
    AboutForm form{window, shell, host};
};

const ProgramVersion kOurVersion{2, 1, 20};

TEST(AboutTitle, NameThenTwoBlanksThenVersionWithoutLeadingZeros) {
    EXPECT_EQ(L"Vellicor  2.1 build 20", ComposeTitle(L"Vellicor ", kOurVersion));
    EXPECT_EQ(L"Vellicor  0.0 build 0", ComposeTitle(L"Vellicor ", ProgramVersion{}));
    EXPECT_EQ(L"Vellicor  10.9 build 65535", ComposeTitle(L"Vellicor ", ProgramVersion{10, 9, 65535}));
}

TEST(AboutTitle, LoadAppendsTheVersionOncePerFreshWindow) {
    for (int opening = 0; opening < 2; ++opening) {
        AboutHarness about;
        EXPECT_EQ(L"Vellicor ", about.window.Get(L"lblTitle").Text());
        about.form.Form_Load(kOurVersion);
        EXPECT_EQ(L"Vellicor  2.1 build 20", about.window.Get(L"lblTitle").Text()) << "opening " << opening;
    }
}

TEST(AboutTitle, UnreadableVersionLeavesTheCreationCaption) {
    AboutHarness about;
    about.form.Form_Load(std::nullopt);
    EXPECT_EQ(L"Vellicor ", about.window.Get(L"lblTitle").Text());
}

std::vector<std::wstring> SplitAtCrLf(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring_view::npos; start = end + 2) {
        lines.emplace_back(text.substr(start, end - start));
    }
    EXPECT_EQ(text.size(), start) << "text after the last CR LF";
    return lines;
}

TEST(AboutDescription, TwentyOneLinesEachEndedByCrLfAndNothingElse) {
    const std::wstring_view text = AboutDescription();
    const std::vector<std::wstring> lines = SplitAtCrLf(text);
    ASSERT_EQ(21u, lines.size());
    for (const std::wstring& line : lines) {
        EXPECT_EQ(std::wstring::npos, line.find_first_of(L"\r\n")) << "stray CR or LF in: " << Narrow(line);
    }
    for (std::size_t blank : {3u, 6u, 10u, 14u, 20u}) EXPECT_EQ(L"", lines[blank - 1]) << "line " << blank;
    EXPECT_EQ(text, AboutLayout()[0].caption) << "txtDesc is created with the text";
}

TEST(AboutDescription, TrailingBlanksMarkerAndSignatureAreExact) {
    const std::vector<std::wstring> lines = SplitAtCrLf(AboutDescription());
    ASSERT_EQ(21u, lines.size());
    // Lines that wrap onto the next one keep the blank between the two words.
    for (std::size_t wrapped : {1u, 4u, 8u, 11u, 12u, 15u, 16u, 17u, 18u}) {
        EXPECT_TRUE(lines[wrapped - 1].ends_with(L' ')) << "line " << wrapped << ": " << Narrow(lines[wrapped - 1]);
        EXPECT_FALSE(lines[wrapped - 1].ends_with(L"  ")) << "line " << wrapped;
    }
    for (std::size_t closed : {2u, 5u, 7u, 9u, 13u, 19u, 21u}) {
        EXPECT_FALSE(lines[closed - 1].ends_with(L' ')) << "line " << closed;
    }
    EXPECT_EQ(L"- The playlist mangling stuff only works with global ", lines[7]);
    EXPECT_EQ(L"Need help? If it's a question to do with XMPlay, then I ", lines[10]);
    EXPECT_EQ(L"utility.</lawyer-speak>", lines[18]);
    EXPECT_EQ(L"  ~ The Vellicor developers (vellicor on the forums)", lines[20]);
}

TEST(AboutLinks, EachLabelOpensItsOwnTagAndTheWindowStaysOpen) {
    AboutHarness about;
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"XMPlay", links::kPlayerHome},
        {L"un4seen forums", links::kForums},
        {L"Vellicor", links::kProjectHome},
        {L"e-mail", links::kMail},
    };
    for (int index = 0; index < 4; ++index) {
        Control& label = about.window.Get(L"lblLink", index);
        EXPECT_EQ(expected[index].first, label.Text());
        label.UserClick();
        label.UserClick();
    }
    EXPECT_EQ((std::vector<std::wstring>{links::kPlayerHome, links::kPlayerHome, links::kForums, links::kForums,
                                         links::kProjectHome, links::kProjectHome, links::kMail, links::kMail}),
              about.shell.opened);
    EXPECT_EQ(0, about.host.closes);
}

TEST(AboutButtons, OkClosesThroughTheHostAndOpensNothing) {
    AboutHarness about;
    about.window.Get(L"cmdOK").UserClick();
    EXPECT_EQ(1, about.host.closes);
    EXPECT_TRUE(about.shell.opened.empty());
}

TEST(ShellCommandLine, WrapsEveryLinkInQuotesAfterTheWordExplorer) {
    for (const ControlDef& def : AboutLayout()) {
        if (def.name != L"lblLink") continue;
        EXPECT_EQ(L"explorer \"" + std::wstring(def.tag) + L"\"", ShellCommandLine(def.tag).value_or(L"refused"));
    }
    EXPECT_EQ(L"explorer \"mailto:vellicor@vellicor.invalid?subject=Vellicor\"",
              ShellCommandLine(links::kMail).value_or(L"refused"));
    EXPECT_EQ(L"explorer \"https://example.invalid/a b?c=d&e\"",
              ShellCommandLine(L"https://example.invalid/a b?c=d&e").value_or(L"refused"));
}

TEST(ShellCommandLine, RefusesAddressesThatCouldBreakOutOfTheirQuotes) {
    const std::wstring refused[] = {
        L"",
        L"https://example.invalid/\" /select,C:\\Windows",
        L"\"",
        std::wstring(L"https://example.invalid/") + L'\0' + L"x",
        L"C:\\Windows\\",
    };
    for (const std::wstring& address : refused) {
        EXPECT_FALSE(ShellCommandLine(address).has_value()) << Narrow(address);
    }
}

} // namespace
} // namespace vellicor::ui
