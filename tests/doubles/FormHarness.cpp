#include "doubles/FormHarness.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

namespace vellicor::test {

namespace {

class CountingHandle : public registry::KeyHandle {
public:
    CountingHandle(std::unique_ptr<registry::KeyHandle> inner, std::map<std::wstring, int>& reads)
        : inner_(std::move(inner)), reads_(reads) {}
    registry::RawValue QueryValue(const std::wstring& name) const override {
        ++reads_[name];
        return inner_->QueryValue(name);
    }
    void SetValue(const std::wstring& name, const registry::RawValue& value) override { inner_->SetValue(name, value); }
    void DeleteValue(const std::wstring& name) override { inner_->DeleteValue(name); }
    void DeleteSubKeyTree(const std::wstring& name) override { inner_->DeleteSubKeyTree(name); }

private:
    std::unique_ptr<registry::KeyHandle> inner_;
    std::map<std::wstring, int>& reads_;
};

} // namespace

std::unique_ptr<registry::KeyHandle> CountingBackend::OpenKey(registry::RootKey root, const std::wstring& subPath) {
    return std::make_unique<CountingHandle>(inner_->OpenKey(root, subPath), reads);
}

FormHarness::FormHarness() {
    registry->CreateKey(kSettings);
    app::Environment environment{
        [this]() -> const registry::RegistryRoot& {
            if (!registryAvailable) throw SystemFailure(errors::kFileNotFound);
            if (!root) root.emplace(counting);
            return *root;
        },
        dialogs,
        files,
    };
    form = std::make_unique<app::MainForm>(window, environment, host);
}

bool FormHarness::Start() {
    if (!form->Form_Initialize()) return false;
    form->Form_Load();
    return true;
}

void FormHarness::SetDword(const std::wstring& name, std::int32_t number) {
    registry->SetValue(kSettings, name, registry::EncodeDword(number));
}

} // namespace vellicor::test
