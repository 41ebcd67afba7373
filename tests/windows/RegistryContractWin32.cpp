// The registry contract against the system registry, with "another program" played by
// direct Win32 calls that share no code with the backend under test.
#include "contract/RegistryContract.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Registry.h"
#include "registry/KeyPath.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vellicor::test {

namespace {

using platform::UniqueKey;
using registry::RawValue;

HKEY RootHandle(registry::RootKey root) {
    switch (root) {
    case registry::RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case registry::RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case registry::RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case registry::RootKey::Users: return HKEY_USERS;
    case registry::RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    throw std::invalid_argument("unknown root key");
}

struct Location {
    HKEY root;
    std::wstring subPath;
};

// The world only ever works below a root: an empty subpath would make RegDeleteTreeW
// empty the whole root key.
Location Locate(const std::wstring& path) {
    const auto parsed = registry::KeyPath::Parse(path);
    if (!parsed || parsed->IsRoot()) throw std::invalid_argument("not a key below a root");
    return {RootHandle(parsed->root), parsed->subPath};
}

void Require(LSTATUS status, const char* call) {
    if (status != ERROR_SUCCESS) throw std::runtime_error(std::string(call) + " failed with " + std::to_string(status));
}

// String types make the system peek past the data for a forgotten terminator; a
// non-NUL guard keeps what we store exactly what we were given.
std::vector<BYTE> Guarded(const std::vector<std::uint8_t>& data) {
    std::vector<BYTE> buffer(data.size() + 4, 0xFF);
    std::copy(data.begin(), data.end(), buffer.begin() + 2);
    return buffer;
}

class Win32World : public RegistryWorld {
public:
    std::shared_ptr<registry::RegistryBackend> Backend() override { return backend_; }

    void CreateKey(const std::wstring& path) override { Create(path); }

    void DeleteKey(const std::wstring& path) override {
        const Location at = Locate(path);
        const LSTATUS status = ::RegDeleteTreeW(at.root, at.subPath.c_str());
        if (status != ERROR_FILE_NOT_FOUND) Require(status, "RegDeleteTreeW");
    }

    bool KeyExists(const std::wstring& path) override {
        const Location at = Locate(path);
        UniqueKey key;
        const LSTATUS status = ::RegOpenKeyExW(at.root, at.subPath.c_str(), 0, KEY_READ, key.Put());
        if (status == ERROR_FILE_NOT_FOUND) return false;
        Require(status, "RegOpenKeyExW");
        return true;
    }

    void SetRaw(const std::wstring& path, const std::wstring& name, const RawValue& value) override {
        const UniqueKey key = Create(path);
        const std::vector<BYTE> buffer = Guarded(value.data);
        Require(::RegSetValueExW(key.Get(), name.c_str(), 0, value.type, buffer.data() + 2,
                                 static_cast<DWORD>(value.data.size())),
                "RegSetValueExW");
    }

    std::optional<RawValue> GetRaw(const std::wstring& path, const std::wstring& name) override {
        const Location at = Locate(path);
        UniqueKey key;
        LSTATUS status = ::RegOpenKeyExW(at.root, at.subPath.c_str(), 0, KEY_QUERY_VALUE, key.Put());
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        Require(status, "RegOpenKeyExW");
        DWORD type = 0;
        DWORD size = 0;
        status = ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        Require(status, "RegQueryValueExW");
        std::vector<BYTE> data(size + 1);
        Require(::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &size), "RegQueryValueExW");
        return RawValue{type, {data.begin(), data.begin() + size}};
    }

private:
    UniqueKey Create(const std::wstring& path) {
        const Location at = Locate(path);
        UniqueKey key;
        Require(::RegCreateKeyExW(at.root, at.subPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Put(), nullptr),
                "RegCreateKeyExW");
        return key;
    }

    std::shared_ptr<platform::Win32Registry> backend_ = std::make_shared<platform::Win32Registry>();
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(WorldFactory{"Win32", [] { return std::make_unique<Win32World>(); }}),
                         [](const auto& info) { return info.param.name; });

// What the backend itself must get right beyond the contract: values travel whole and
// unaltered in both directions, however odd or large.
class Win32RegistryRaw : public ::testing::Test {
protected:
    void SetUp() override {
        world_.DeleteKey(kScratch);
        world_.CreateKey(kScratch);
        key_ = backend_.OpenKey(registry::RootKey::CurrentUser, L"Software\\Vellicor Raw Scratch");
    }
    void TearDown() override {
        key_.reset();
        world_.DeleteKey(kScratch);
    }

    static constexpr const wchar_t* kScratch = L"\\HKEY_CURRENT_USER\\Software\\Vellicor Raw Scratch";
    Win32World world_;
    platform::Win32Registry backend_;
    std::unique_ptr<registry::KeyHandle> key_;
};

TEST_F(Win32RegistryRaw, ValuesAreStoredAndReadByteForByte) {
    const std::vector<std::pair<const char*, RawValue>> cases = {
        {"unterminated text", {registry::kRegSz, {'a', 0, 'b', 0}}},
        {"odd-sized text", {registry::kRegSz, {'a', 0, 'b'}}},
        {"one-byte text", {registry::kRegExpandSz, {'a'}}},
        {"empty text", {registry::kRegSz, {}}},
        {"unterminated multi text", {registry::kRegMultiSz, {'a', 0, 0, 0, 'b', 0}}},
        {"short dword", {registry::kRegDword, {1, 0}}},
        {"binary", {registry::kRegBinary, {0, 0xFF, 0, 0x80}}},
        {"none", {registry::kRegNone, {}}},
    };
    for (const auto& [what, raw] : cases) {
        key_->SetValue(L"Written", raw);
        const auto written = world_.GetRaw(kScratch, L"Written");
        ASSERT_TRUE(written) << what;
        EXPECT_EQ(raw.type, written->type) << what;
        EXPECT_EQ(raw.data, written->data) << what;

        world_.SetRaw(kScratch, L"Read", raw);
        const RawValue read = key_->QueryValue(L"Read");
        EXPECT_EQ(raw.type, read.type) << what;
        EXPECT_EQ(raw.data, read.data) << what;
    }
}

TEST_F(Win32RegistryRaw, AMegabyteValueIsReadWhole) {
    RawValue big{registry::kRegBinary, std::vector<std::uint8_t>(1 << 20)};
    for (std::size_t i = 0; i < big.data.size(); ++i) big.data[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    world_.SetRaw(kScratch, L"Big", big);
    EXPECT_EQ(big, key_->QueryValue(L"Big"));
}

TEST_F(Win32RegistryRaw, DeletingASubkeyTakesOnlyADirectSubkeyByName) {
    world_.CreateKey(std::wstring(kScratch) + L"\\A\\B");
    for (const std::wstring& name : {std::wstring(L""), std::wstring(L"A\\B")}) {
        try {
            key_->DeleteSubKeyTree(name);
            ADD_FAILURE() << "no failure for \"" << name << '"';
        } catch (const Failure& failure) {
            EXPECT_EQ(errors::kFileNotFound, failure.Number());
        }
    }
    EXPECT_TRUE(world_.KeyExists(std::wstring(kScratch) + L"\\A\\B"));
}

} // namespace vellicor::test
