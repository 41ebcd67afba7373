// The registry layer over the real registry, where its callers rely on more than the
// end-to-end tests can see: what it refuses, what it reports missing, and what a parent is.
#include "core/Failure.h"
#include "e2e/Driver.h"
#include "registry/Registry.h"
#include "win32/Win32Registry.h"

namespace vellicor::e2e {
namespace {

// The failure's number (0 when the step succeeds); every failure carries a description.
std::int32_t FailureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure& failure) {
        EXPECT_FALSE(failure.Description().empty());
        return failure.Number();
    }
    return 0;
}

TEST(RegistryLayer, RefusesMalformedPathsOtherTypesAndKeysThatAreNotDirectSubkeysAndCreatesNothing) {
    const std::wstring scratch = L"Software\\Vellicor layer scratch";
    const ScratchKeys deleted(HKEY_CURRENT_USER, {scratch});
    WriteValue(HKEY_CURRENT_USER, scratch + L"\\XMPlay\\shell", L"Kept", Dword(7));
    const registry::RegistryRoot root(std::make_shared<win32::Win32Registry>());
    for (const wchar_t* malformed :
         {L"HKEY_CURRENT_USER\\Software", L"\\HKEY_NOWHERE\\Software", L"\\HKEY_CURRENT_USER\\Software\\",
          L"\\HKEY_CURRENT_USER\\\\Software", L"\\\\HKEY_CURRENT_USER", L""}) {
        EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { root.KeyFromPath(malformed); })) << std::wstring(malformed);
    }
    const registry::RegistryKey key = root.KeyFromPath(L"\\hkey_current_user\\" + scratch + L"\\XMPlay");
    EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { key.Values().Add(L"Other", 1, REG_SZ); }));
    // A value's absence is reported, not passed over: callers rely on it to tell what is stored.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FailureOf([&] { key.Values().Item(L"Other"); }));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, FailureOf([&] { key.Values().Remove(L"Other"); }));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, scratch + L"\\XMPlay", L"Other"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { key.Parent().Parent().SubKeys().Remove(key); }))
        << "not a direct subkey";
    EXPECT_EQ(Dword(7), ReadValue(HKEY_CURRENT_USER, scratch + L"\\XMPlay\\shell", L"Kept"));
    // A root key has no parent.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, FailureOf([&] { root.KeyFromPath(L"\\HKEY_CURRENT_USER").Parent(); }));
}

} // namespace
} // namespace vellicor::e2e
