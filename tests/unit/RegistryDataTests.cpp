// What counts as a number and what as text, for every kind of data another program can
// leave in the registry.
#include "registry/RegistryData.h"

#include <gtest/gtest.h>

namespace vellicor::registry {
namespace {

TEST(RegistryData, NumbersAndTextsAreDecodedByTypeAndSizeAndNothingElseIs) {
    const struct {
        const char* what;
        RawValue raw;
        std::optional<std::int32_t> number;
        std::optional<std::wstring> text;
    } cases[] = {
        {"dword", {kRegDword, {5, 0, 0, 0}}, 5, {}},
        {"dword -1", {kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, -1, {}},
        {"dword of 2 bytes", {kRegDword, {1, 0}}, {}, {}},
        {"dword of 5 bytes", {kRegDword, {1, 0, 0, 0, 0}}, {}, {}},
        {"big-endian dword", {kRegDwordBigEndian, {0, 0, 1, 2}}, 0x102, {}},
        {"qword", {kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}}, 1, {}},
        {"qword -2^31", {kRegQword, {0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0xFF}}, INT32_MIN, {}},
        {"qword 2^31", {kRegQword, {0, 0, 0, 0x80, 0, 0, 0, 0}}, {}, {}},
        {"qword of 4 bytes", {kRegQword, {1, 0, 0, 0}}, {}, {}},
        {"text", EncodeText(L"C:\\XMPlay"), {}, L"C:\\XMPlay"},
        {"text stops at its first NUL", {kRegSz, {'a', 0, 0, 0, 'b', 0, 0, 0}}, {}, L"a"},
        {"unterminated text", {kRegSz, {'a', 0, 'b', 0}}, {}, L"ab"},
        {"odd-sized text", {kRegSz, {'a', 0, 'b'}}, {}, {}},
        {"expandable text, unexpanded", EncodeText(L"%TEMP%", kRegExpandSz), {}, L"%TEMP%"},
        {"multi text", {kRegMultiSz, {'a', 0, 0, 0, 0, 0}}, {}, {}},
        {"binary", {kRegBinary, {1, 0, 0, 0}}, {}, {}},
        {"none", {kRegNone, {}}, {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.number, DecodeInteger(c.raw.type, c.raw.data)) << c.what;
        EXPECT_EQ(c.text, DecodeText(c.raw.type, c.raw.data)) << c.what;
    }
    EXPECT_EQ((RawValue{kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}}), EncodeDword(-2));
    EXPECT_EQ((RawValue{kRegSz, {'a', 0, 0x16, 0x04, 0, 0}}), EncodeText(L"a\u0416"));
}

} // namespace
} // namespace vellicor::registry
