#pragma once

#include "registry/Registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vellicor::test {

// What another program does to the registry while ours runs: the contract tests use it
// to lay out keys and values and to look at the result, beside the backend under test.
class RegistryWorld {
public:
    virtual ~RegistryWorld() = default;
    virtual std::shared_ptr<registry::RegistryBackend> Backend() = 0;
    virtual void CreateKey(const std::wstring& path) = 0;
    virtual void DeleteKey(const std::wstring& path) = 0; // with its subkeys; missing is fine
    virtual bool KeyExists(const std::wstring& path) = 0;
    virtual void SetRaw(const std::wstring& path, const std::wstring& name, const registry::RawValue& value) = 0;
    virtual std::optional<registry::RawValue> GetRaw(const std::wstring& path, const std::wstring& name) = 0;
};

struct WorldFactory {
    std::string name;
    std::function<std::unique_ptr<RegistryWorld>()> make;
};

inline std::string PrintToString(const WorldFactory& factory) { return factory.name; }

// Runs every contract case against one backend, in a scratch key that is laid out
// afresh before each case and removed after it.
class RegistryContract : public ::testing::TestWithParam<WorldFactory> {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring Scratch(const std::wstring& below = L"") const {
        return below.empty() ? scratch_ : scratch_ + L"\\" + below;
    }

    std::unique_ptr<RegistryWorld> world_;
    std::optional<registry::RegistryRoot> root_;
    std::wstring scratch_ = L"\\HKEY_CURRENT_USER\\Software\\Vellicor Contract Scratch";
};

} // namespace vellicor::test
