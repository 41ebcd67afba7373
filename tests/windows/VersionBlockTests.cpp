// The version block of the built Vellicor.exe, read the way Explorer's property sheet
// and the About window read it.
#include "platform/win32/AboutWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#ifndef VELLICOR_PROGRAM_FILE
#error "the build names the program file to inspect"
#endif

namespace vellicor::test {
namespace {

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; *text; ++text) wide.push_back(static_cast<unsigned char>(*text));
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t ch : text) narrow.push_back(ch < 128 ? static_cast<char>(ch) : '?');
    return narrow;
}

// CMake on Linux gives a Unix path; Wine reaches / through drive Z:.
std::wstring ProgramFile() {
    std::wstring path = Widen(VELLICOR_PROGRAM_FILE);
    if (path.starts_with(L'/')) path = L"Z:" + path;
    return path;
}

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(ProgramFile().c_str(), &ignored);
        ASSERT_NE(0u, size) << Narrow(ProgramFile()) << ": error " << ::GetLastError();
        block_.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(ProgramFile().c_str(), 0, size, block_.data())) << ::GetLastError();
    }

    const VS_FIXEDFILEINFO* Fixed() {
        void* data = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(block_.data(), L"\\", &data, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(data);
    }

    std::optional<std::wstring> String(const std::wstring& entry) {
        void* data = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + entry;
        if (!::VerQueryValueW(block_.data(), query.c_str(), &data, &length) || !data) return std::nullopt;
        // The length counts characters, the terminator included when there is one.
        std::wstring value(static_cast<const wchar_t*>(data), length);
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        return value;
    }

    std::vector<std::byte> block_;
};

TEST_F(VersionBlock, FixedFileAndProductVersionAre2_1_0_20) {
    const VS_FIXEDFILEINFO* fixed = Fixed();
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), fixed->dwSignature);
    constexpr DWORD kHigh = 0x0002'0001; // 2.1
    constexpr DWORD kLow = 0x0000'0014; // 0.20
    EXPECT_EQ(kHigh, fixed->dwFileVersionMS);
    EXPECT_EQ(kLow, fixed->dwFileVersionLS);
    EXPECT_EQ(kHigh, fixed->dwProductVersionMS);
    EXPECT_EQ(kLow, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

TEST_F(VersionBlock, StringEntriesInUsEnglishUnicode) {
    const std::pair<std::wstring, std::wstring> entries[] = {
        {L"FileVersion", L"2.01.0020"},
        {L"ProductVersion", L"2.01.0020"},
        {L"ProductName", L"Vellicor"},
        {L"InternalName", L"Vellicor"},
        {L"OriginalFilename", L"Vellicor.exe"},
        {L"Comments", L"Lets you get at some of the secret/hidden options in XMPlay. Can be used to fix problems."},
    };
    for (const auto& [entry, expected] : entries) {
        EXPECT_EQ(expected, String(entry).value_or(L"<missing>")) << Narrow(entry);
    }
    // The maker's name and the legal notices are ours to word, but must be there.
    for (const wchar_t* entry : {L"CompanyName", L"FileDescription", L"LegalCopyright"}) {
        EXPECT_FALSE(String(entry).value_or(L"").empty()) << Narrow(entry);
    }
}

TEST_F(VersionBlock, TranslationIsUsEnglishWithTheUnicodeCodePage) {
    void* data = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &data, &length));
    ASSERT_EQ(4u, length) << "exactly one language";
    const auto* words = static_cast<const WORD*>(data);
    EXPECT_EQ(0x0409, words[0]);
    EXPECT_EQ(1200, words[1]);
}

TEST_F(VersionBlock, TheAboutWindowReadsMajorMinorAndRevisionFromIt) {
    const std::optional<ui::ProgramVersion> version = platform::win32::ReadFileVersion(ProgramFile());
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(2u, version->major);
    EXPECT_EQ(1u, version->minor);
    EXPECT_EQ(20u, version->revision);
}

TEST(VersionReader, MissingFileOrFileWithoutABlockGivesNothing) {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t file[MAX_PATH + 1] = {};
    ASSERT_NE(0u, ::GetTempPathW(MAX_PATH + 1, folder));
    ASSERT_NE(0u, ::GetTempFileNameW(folder, L"vel", 0, file)) << ::GetLastError();
    EXPECT_FALSE(platform::win32::ReadFileVersion(file).has_value()) << "an empty file";
    ::DeleteFileW(file);
    EXPECT_FALSE(platform::win32::ReadFileVersion(file).has_value()) << "no file at all";
}

} // namespace
} // namespace vellicor::test
