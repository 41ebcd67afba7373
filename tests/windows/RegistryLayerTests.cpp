// The registry layer over the real registry: what its callers rely on, in a scratch key
// that "another program" (plain Win32 calls) lays out and inspects.
#include "core/Failure.h"
#include "e2e/Driver.h"
#include "platform/win32/Win32Registry.h"
#include "registry/Registry.h"

#include <gtest/gtest.h>

namespace vellicor::e2e {
namespace {

const std::wstring kScratch = L"Software\\Vellicor layer scratch";
const std::wstring kPath = L"\\HKEY_CURRENT_USER\\" + kScratch;

// The failure's number (0 when the step succeeds); every failure carries a description.
std::int32_t FailureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure& failure) {
        EXPECT_FALSE(failure.Description().empty()) << failure.Number();
        return failure.Number();
    }
    return 0;
}

class RegistryLayer : public testing::Test {
protected:
    RegistryLayer() { DeleteKeyTree(HKEY_CURRENT_USER, kScratch), WriteValue(HKEY_CURRENT_USER, kScratch, L"Sibling", Dword(3)); }
    ~RegistryLayer() override { DeleteKeyTree(HKEY_CURRENT_USER, kScratch); }
    registry::RegistryRoot root_{std::make_shared<platform::Win32Registry>()};
};

TEST_F(RegistryLayer, KeyFromPathOpensExistingKeysOnlyAndRefusesMalformedPaths) {
    EXPECT_EQ(0, FailureOf([&] { root_.KeyFromPath(L"\\hkey_current_user\\" + kScratch); }));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FailureOf([&] { root_.KeyFromPath(kPath + L"\\Missing"); }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\Missing")) << "opening never creates";
    for (const wchar_t* malformed : {L"HKEY_CURRENT_USER\\Software", L"\\HKEY_NOWHERE\\Software", L"\\HKEY_CURRENT_USER\\Software\\",
                                     L"\\HKEY_CURRENT_USER\\\\Software", L"\\\\HKEY_CURRENT_USER", L""}) {
        EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { root_.KeyFromPath(malformed); })) << Utf8(malformed);
    }
}

TEST_F(RegistryLayer, ValuesAreFoundWhateverTheCaseWrittenAsDwordsCreatedAndRemoved) {
    WriteValue(HKEY_CURRENT_USER, kScratch, L"Text", Text(L"abc"));
    registry::RegistryValues values = root_.KeyFromPath(kPath).Values();
    EXPECT_EQ(L"abc", values.Item(L"TEXT").Value().AsText());
    EXPECT_EQ(3, values.Item(L"sibling").Value().AsNumber());
    EXPECT_EQ(ERROR_INVALID_DATA, FailureOf([&] { values.Item(L"Text").Value().AsNumber(); }));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FailureOf([&] { values.Item(L"Missing"); }));
    values.Item(L"Text").SetValue(-1);
    EXPECT_EQ(Dword(0xFFFFFFFF), ReadValue(HKEY_CURRENT_USER, kScratch, L"Text")) << "a write leaves a DWORD";
    values.Add(L"Boost", 1, REG_DWORD);
    EXPECT_EQ(Dword(1), ReadValue(HKEY_CURRENT_USER, kScratch, L"Boost"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { values.Add(L"Other", 1, REG_SZ); }));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kScratch, L"Other"));
    values.Remove(L"Boost");
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kScratch, L"Boost"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FailureOf([&] { values.Remove(L"Boost"); }));
}

TEST_F(RegistryLayer, AKeyIsRemovedThroughItsParentWithEverythingBelowItAndNothingElse) {
    WriteValue(HKEY_CURRENT_USER, kScratch + L"\\XMPlay\\shell\\open\\command", L"", Text(L"xmplay.exe \"%1\""));
    WriteValue(HKEY_CURRENT_USER, kScratch + L"\\XMPlayer", L"Keep", Dword(7));
    const registry::RegistryKey key = root_.KeyFromPath(kPath + L"\\XMPlay");
    const registry::RegistryKey parent = key.Parent();
    EXPECT_EQ(3, parent.Values().Item(L"Sibling").Value().AsNumber()) << "the parent is the key above";
    const registry::RegistryKey nested = root_.KeyFromPath(kPath + L"\\XMPlay\\shell");
    EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { parent.SubKeys().Remove(nested); })) << "not a direct subkey";
    parent.SubKeys().Remove(key);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\XMPlay"));
    EXPECT_EQ(Dword(7), ReadValue(HKEY_CURRENT_USER, kScratch + L"\\XMPlayer", L"Keep"));
    EXPECT_EQ(Dword(3), ReadValue(HKEY_CURRENT_USER, kScratch, L"Sibling"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FailureOf([&] { parent.SubKeys().Remove(key); }));
    // Below a root key the parent is that root, which has no parent itself.
    const registry::RegistryKey user = root_.KeyFromPath(L"\\HKEY_CURRENT_USER\\Software").Parent();
    EXPECT_EQ(L"\\HKEY_CURRENT_USER", user.Path().ToString());
    EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { user.Parent(); }));
}

TEST_F(RegistryLayer, AKeyRemovedByAnotherProgramFailsEverythingAndIsNotRecreated) {
    WriteValue(HKEY_CURRENT_USER, kScratch + L"\\Settings", L"NoTenths", Dword(0));
    const registry::RegistryKey key = root_.KeyFromPath(kPath + L"\\Settings");
    DeleteKeyTree(HKEY_CURRENT_USER, kScratch + L"\\Settings");
    EXPECT_NE(0, FailureOf([&] { key.Values().Item(L"NoTenths"); }));
    EXPECT_NE(0, FailureOf([&] { key.Values().Add(L"NoTenths", 1, REG_DWORD); }));
    EXPECT_NE(0, FailureOf([&] { key.Values().Remove(L"NoTenths"); }));
    EXPECT_NE(0, FailureOf([&] { key.Parent().SubKeys().Remove(key); }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\Settings"));
}

} // namespace
} // namespace vellicor::e2e
