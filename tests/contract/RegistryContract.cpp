#include "contract/RegistryContract.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

#include <cstdint>
#include <vector>

namespace vellicor::test {

namespace {

using registry::RawValue;

std::int32_t FailureNumber(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure& failure) {
        EXPECT_FALSE(failure.Description().empty()) << "failure " << failure.Number() << " has no description";
        return failure.Number();
    }
    return 0;
}

} // namespace

void RegistryContract::SetUp() {
    world_ = GetParam().make();
    world_->DeleteKey(scratch_);
    world_->CreateKey(scratch_);
    root_.emplace(world_->Backend());
}

void RegistryContract::TearDown() {
    root_.reset();
    world_->DeleteKey(scratch_);
    EXPECT_FALSE(world_->KeyExists(scratch_));
}

TEST_P(RegistryContract, KeyFromPathOpensExistingKeysAndRefusesOthers) {
    world_->CreateKey(Scratch(L"Sub"));
    EXPECT_NO_THROW(root_->KeyFromPath(Scratch(L"Sub")));
    EXPECT_NO_THROW(root_->KeyFromPath(L"\\hkey_current_user\\Software"));

    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { root_->KeyFromPath(Scratch(L"Missing")); }));
    EXPECT_FALSE(world_->KeyExists(Scratch(L"Missing"))) << "opening must never create";

    for (const std::wstring& malformed :
         {std::wstring(L"HKEY_CURRENT_USER\\Software"), std::wstring(L"\\HKEY_NOWHERE\\Software"),
          std::wstring(L"\\HKEY_CURRENT_USER\\Software\\"), std::wstring(L"\\HKEY_CURRENT_USER\\\\Software"),
          std::wstring(L"")}) {
        EXPECT_EQ(errors::kInvalidParameter, FailureNumber([&] { root_->KeyFromPath(malformed); }))
            << std::string(malformed.begin(), malformed.end());
    }
}

TEST_P(RegistryContract, ItemIsTheExistenceTestAndNamesIgnoreCase) {
    world_->SetRaw(Scratch(), L"NoTenths", registry::EncodeDword(0));
    const auto values = root_->KeyFromPath(Scratch()).Values();
    EXPECT_EQ(0, values.Item(L"notenths").Value().AsNumber());
    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { values.Item(L"NoCheckDead"); }));
}

struct DecodeCase {
    const char* what;
    RawValue raw;
    std::optional<std::int32_t> number;
    std::optional<std::wstring> text;
};

TEST_P(RegistryContract, ReadingDecodesNumbersAndTextsAndRefusesTheRest) {
    const std::vector<DecodeCase> cases = {
        {"dword", {registry::kRegDword, {0x05, 0, 0, 0}}, 5, {}},
        {"dword -1", {registry::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, -1, {}},
        {"dword of two bytes", {registry::kRegDword, {1, 0}}, {}, {}},
        {"dword of no bytes", {registry::kRegDword, {}}, {}, {}},
        {"big-endian dword", {registry::kRegDwordBigEndian, {0, 0, 0, 1}}, 1, {}},
        {"small qword", {registry::kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}}, 1, {}},
        {"large qword", {registry::kRegQword, {0, 0, 0, 0, 1, 0, 0, 0}}, {}, {}},
        {"text", registry::EncodeText(L"1"), {}, L"1"},
        {"empty text", registry::EncodeText(L""), {}, L""},
        // The type is spelled out because GCC 12 at -O3 warns "maybe uninitialized" otherwise.
        {"unterminated text", RawValue{registry::kRegSz, {'a', 0, 'b', 0}}, {}, L"ab"},
        {"odd-sized text", {registry::kRegSz, {'a', 0, 'b'}}, {}, {}},
        {"expandable text", registry::EncodeText(L"%TEMP%\\x", registry::kRegExpandSz), {}, L"%TEMP%\\x"},
        {"multi text", {registry::kRegMultiSz, {'a', 0, 0, 0, 0, 0}}, {}, {}},
        {"binary", {registry::kRegBinary, {1, 0, 0, 0}}, {}, {}},
        {"none", {registry::kRegNone, {}}, {}, {}},
    };
    for (const DecodeCase& c : cases) {
        world_->SetRaw(Scratch(), L"V", c.raw);
        const auto item = root_->KeyFromPath(Scratch()).Values().Item(L"V");
        std::int32_t failure = 0;
        std::optional<registry::ValueData> data;
        failure = FailureNumber([&] { data.emplace(item.Value()); });
        if (c.number) {
            ASSERT_TRUE(data) << c.what;
            EXPECT_EQ(*c.number, data->AsNumber()) << c.what;
        } else if (c.text) {
            ASSERT_TRUE(data) << c.what;
            EXPECT_EQ(*c.text, data->AsText()) << c.what;
            EXPECT_EQ(errors::kInvalidData, FailureNumber([&] { data->AsNumber(); })) << c.what;
        } else {
            EXPECT_EQ(errors::kInvalidData, failure) << c.what;
        }
    }
}

TEST_P(RegistryContract, WritingANumberLeavesADwordWhateverWasThere) {
    world_->SetRaw(Scratch(), L"Text", registry::EncodeText(L"abc"));
    world_->SetRaw(Scratch(), L"Wide", RawValue{registry::kRegQword, {9, 0, 0, 0, 0, 0, 0, 0}});
    const auto values = root_->KeyFromPath(Scratch()).Values();
    values.Item(L"Text").SetValue(1);
    values.Item(L"Wide").SetValue(-1);
    EXPECT_EQ(registry::EncodeDword(1), world_->GetRaw(Scratch(), L"Text"));
    EXPECT_EQ(registry::EncodeDword(-1), world_->GetRaw(Scratch(), L"Wide"));
    EXPECT_EQ(1, values.Item(L"Text").Value().AsNumber());
}

TEST_P(RegistryContract, AddCreatesDwordsOnlyAndRemoveDeletes) {
    auto values = root_->KeyFromPath(Scratch()).Values();
    values.Add(L"Boost", 1, registry::kRegDword);
    EXPECT_EQ(registry::EncodeDword(1), world_->GetRaw(Scratch(), L"Boost"));

    EXPECT_EQ(errors::kInvalidParameter, FailureNumber([&] { values.Add(L"Other", 1, registry::kRegSz); }));
    EXPECT_FALSE(world_->GetRaw(Scratch(), L"Other"));

    values.Remove(L"Boost");
    EXPECT_FALSE(world_->GetRaw(Scratch(), L"Boost"));
    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { values.Remove(L"Boost"); }));
}

TEST_P(RegistryContract, RemovingAKeyThroughItsParentTakesEverythingBelowItAndNothingElse) {
    world_->SetRaw(Scratch(L"XMPlay"), L"", registry::EncodeText(L"XMPlay file"));
    world_->SetRaw(Scratch(L"XMPlay\\shell\\open\\command"), L"", registry::EncodeText(L"xmplay.exe \"%1\""));
    world_->SetRaw(Scratch(L"XMPlayer"), L"Keep", registry::EncodeDword(7));
    world_->SetRaw(Scratch(), L"Sibling value", registry::EncodeDword(3));

    const auto key = root_->KeyFromPath(Scratch(L"XMPlay"));
    const auto parent = key.Parent();
    EXPECT_EQ(3, parent.Values().Item(L"Sibling value").Value().AsNumber()) << "Parent is the key above";
    parent.SubKeys().Remove(key);

    EXPECT_FALSE(world_->KeyExists(Scratch(L"XMPlay")));
    EXPECT_TRUE(world_->KeyExists(Scratch(L"XMPlayer")));
    EXPECT_EQ(registry::EncodeDword(7), world_->GetRaw(Scratch(L"XMPlayer"), L"Keep"));
    EXPECT_EQ(registry::EncodeDword(3), world_->GetRaw(Scratch(), L"Sibling value"));

    EXPECT_EQ(errors::kFileNotFound, FailureNumber([&] { parent.SubKeys().Remove(key); }))
        << "a second removal finds nothing";
}

TEST_P(RegistryContract, RemoveRefusesAKeyThatIsNotADirectSubkey) {
    world_->CreateKey(Scratch(L"A\\B"));
    const auto grandChild = root_->KeyFromPath(Scratch(L"A\\B"));
    const auto scratch = root_->KeyFromPath(Scratch());
    EXPECT_EQ(errors::kInvalidParameter, FailureNumber([&] { scratch.SubKeys().Remove(grandChild); }));
    EXPECT_TRUE(world_->KeyExists(Scratch(L"A\\B")));
}

TEST_P(RegistryContract, ParentOfAKeyBelowARootIsThatRoot) {
    const auto software = root_->KeyFromPath(L"\\HKEY_CURRENT_USER\\Software");
    const auto user = software.Parent();
    EXPECT_TRUE(user.Path().IsRoot());
    EXPECT_EQ(L"\\HKEY_CURRENT_USER", user.Path().ToString());
    EXPECT_EQ(errors::kInvalidParameter, FailureNumber([&] { user.Parent(); }));
}

TEST_P(RegistryContract, AKeyRemovedByAnotherProgramFailsEverythingAndIsNotRecreated) {
    world_->SetRaw(Scratch(L"Settings"), L"NoTenths", registry::EncodeDword(0));
    const auto key = root_->KeyFromPath(Scratch(L"Settings"));
    world_->DeleteKey(Scratch(L"Settings"));

    EXPECT_NE(0, FailureNumber([&] { key.Values().Item(L"NoTenths"); }));
    EXPECT_NE(0, FailureNumber([&] { key.Values().Add(L"NoTenths", 1, registry::kRegDword); }));
    EXPECT_NE(0, FailureNumber([&] { key.Values().Remove(L"NoTenths"); }));
    EXPECT_NE(0, FailureNumber([&] { key.Parent().SubKeys().Remove(key); }));
    EXPECT_FALSE(world_->KeyExists(Scratch(L"Settings")));
}

} // namespace vellicor::test
