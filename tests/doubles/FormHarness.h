#pragma once

#include "app/MainForm.h"
#include "doubles/FakeDialogs.h"
#include "doubles/MemoryFileSystem.h"
#include "registry/MemoryRegistry.h"
#include "ui/MainLayout.h"

#include <map>
#include <memory>
#include <string>

namespace vellicor::test {

// For test messages: the text with every character above ASCII shown as '?'.
inline std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t ch : text) narrow.push_back(ch < 128 ? static_cast<char>(ch) : '?');
    return narrow;
}

inline const std::wstring kSettings = L"\\HKEY_CURRENT_USER\\Software\\Un4seen Developments\\XMPlay2";

// Counts the value reads that pass through it, per value name: each run of a check
// box's load protocol reads its value exactly once.
class CountingBackend : public registry::RegistryBackend {
public:
    explicit CountingBackend(std::shared_ptr<registry::MemoryRegistry> inner) : inner_(std::move(inner)) {}
    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey root, const std::wstring& subPath) override;

    std::map<std::wstring, int> reads;

private:
    std::shared_ptr<registry::MemoryRegistry> inner_;
};

class FakeHost : public app::WindowHost {
public:
    void Close() override { ++closes; }
    void ShowAbout() override { ++abouts; }
    int closes = 0;
    int abouts = 0;
};

// The main window's logic over in-memory doubles: a registry, files, message boxes
// and the window that would host it.
class FormHarness {
public:
    FormHarness();

    // Form_Initialize, then Form_Load when it succeeded. False when start-up failed.
    bool Start();

    ui::Control& Box(const std::wstring& name) { return window.Get(name); }
    void SetDword(const std::wstring& name, std::int32_t number);
    std::optional<registry::RawValue> Value(const std::wstring& name) const { return registry->GetValue(kSettings, name); }

    std::shared_ptr<registry::MemoryRegistry> registry = std::make_shared<registry::MemoryRegistry>();
    std::shared_ptr<CountingBackend> counting = std::make_shared<CountingBackend>(registry);
    FakeDialogs dialogs;
    MemoryFileSystem files;
    FakeHost host;
    ui::Window window{ui::MainLayout()};
    bool registryAvailable = true;
    std::optional<registry::RegistryRoot> root;
    std::unique_ptr<app::MainForm> form;
};

} // namespace vellicor::test
