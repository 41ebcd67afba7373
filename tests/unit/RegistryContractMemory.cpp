#include "contract/RegistryContract.h"

#include "registry/MemoryRegistry.h"

namespace vellicor::test {

namespace {

class MemoryWorld : public RegistryWorld {
public:
    std::shared_ptr<registry::RegistryBackend> Backend() override { return registry_; }
    void CreateKey(const std::wstring& path) override { registry_->CreateKey(path); }
    void DeleteKey(const std::wstring& path) override { registry_->DeleteKey(path); }
    bool KeyExists(const std::wstring& path) override { return registry_->KeyExists(path); }
    void SetRaw(const std::wstring& path, const std::wstring& name, const registry::RawValue& value) override {
        registry_->SetValue(path, name, value);
    }
    std::optional<registry::RawValue> GetRaw(const std::wstring& path, const std::wstring& name) override {
        return registry_->GetValue(path, name);
    }

private:
    std::shared_ptr<registry::MemoryRegistry> registry_ = std::make_shared<registry::MemoryRegistry>();
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(WorldFactory{"Memory", [] { return std::make_unique<MemoryWorld>(); }}),
                         [](const auto& info) { return info.param.name; });

} // namespace vellicor::test
