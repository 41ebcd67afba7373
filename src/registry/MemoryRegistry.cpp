#include "registry/MemoryRegistry.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "registry/KeyPath.h"

#include <algorithm>
#include <cwctype>
#include <functional>
#include <sstream>

namespace vellicor::registry {

namespace {

struct NameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const wchar_t x = std::towupper(a[i]);
            const wchar_t y = std::towupper(b[i]);
            if (x != y) return x < y;
        }
        return a.size() < b.size();
    }
};

} // namespace

struct MemoryRegistry::Node {
    std::map<std::wstring, std::shared_ptr<Node>, NameLess> subKeys;
    std::map<std::wstring, RawValue, NameLess> values;
    bool deleted = false;
    bool denyWrites = false;

    void MarkDeleted() {
        deleted = true;
        for (auto& [name, child] : subKeys) child->MarkDeleted();
    }
};

namespace {

using Node = MemoryRegistry::Node;

std::vector<std::wstring> Split(const std::wstring& subPath) {
    std::vector<std::wstring> parts;
    std::wstring part;
    std::wistringstream stream(subPath);
    while (std::getline(stream, part, L'\\')) parts.push_back(part);
    return parts;
}

class MemoryKeyHandle : public KeyHandle {
public:
    MemoryKeyHandle(std::shared_ptr<Node> node, std::shared_ptr<int> writes)
        : node_(std::move(node)), writes_(std::move(writes)) {}

    RawValue QueryValue(const std::wstring& name) const override {
        CheckAlive();
        const auto it = node_->values.find(name);
        if (it == node_->values.end()) throw SystemFailure(errors::kFileNotFound);
        return it->second;
    }

    void SetValue(const std::wstring& name, const RawValue& value) override {
        CheckWritable();
        node_->values[name] = value;
        ++*writes_;
    }

    void DeleteValue(const std::wstring& name) override {
        CheckWritable();
        if (node_->values.erase(name) == 0) throw SystemFailure(errors::kFileNotFound);
        ++*writes_;
    }

    void DeleteSubKeyTree(const std::wstring& name) override {
        CheckWritable();
        const auto it = node_->subKeys.find(name);
        if (it == node_->subKeys.end()) throw SystemFailure(errors::kFileNotFound);
        if (it->second->denyWrites) throw SystemFailure(errors::kAccessDenied);
        it->second->MarkDeleted();
        node_->subKeys.erase(it);
        ++*writes_;
    }

private:
    void CheckAlive() const {
        if (node_->deleted) throw SystemFailure(errors::kKeyDeleted);
    }
    void CheckWritable() const {
        CheckAlive();
        if (node_->denyWrites) throw SystemFailure(errors::kAccessDenied);
    }

    std::shared_ptr<Node> node_;
    std::shared_ptr<int> writes_;
};

} // namespace

MemoryRegistry::MemoryRegistry() : writes_(std::make_shared<int>(0)) {
    for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users,
                         RootKey::CurrentConfig}) {
        roots_[root] = std::make_shared<Node>();
    }
}

MemoryRegistry::~MemoryRegistry() = default;

std::unique_ptr<KeyHandle> MemoryRegistry::OpenKey(RootKey root, const std::wstring& subPath) {
    std::shared_ptr<Node> node = roots_.at(root);
    if (!subPath.empty()) {
        for (const std::wstring& part : Split(subPath)) {
            const auto it = node->subKeys.find(part);
            if (it == node->subKeys.end()) throw SystemFailure(errors::kFileNotFound);
            node = it->second;
        }
    }
    return std::make_unique<MemoryKeyHandle>(node, writes_);
}

std::shared_ptr<Node> MemoryRegistry::Find(const std::wstring& path) const {
    const auto parsed = KeyPath::Parse(path);
    if (!parsed) return nullptr;
    std::shared_ptr<Node> node = roots_.at(parsed->root);
    if (parsed->subPath.empty()) return node;
    for (const std::wstring& part : Split(parsed->subPath)) {
        const auto it = node->subKeys.find(part);
        if (it == node->subKeys.end()) return nullptr;
        node = it->second;
    }
    return node;
}

std::shared_ptr<Node> MemoryRegistry::FindOrCreate(const std::wstring& path) {
    const auto parsed = KeyPath::Parse(path);
    if (!parsed) throw SystemFailure(errors::kInvalidParameter);
    std::shared_ptr<Node> node = roots_.at(parsed->root);
    if (parsed->subPath.empty()) return node;
    for (const std::wstring& part : Split(parsed->subPath)) {
        auto& child = node->subKeys[part];
        if (!child) child = std::make_shared<Node>();
        node = child;
    }
    return node;
}

void MemoryRegistry::CreateKey(const std::wstring& path) { FindOrCreate(path); }

void MemoryRegistry::DeleteKey(const std::wstring& path) {
    const auto parsed = KeyPath::Parse(path);
    if (!parsed || parsed->IsRoot()) return;
    const auto parent = Find(parsed->ParentPath().ToString());
    if (!parent) return;
    const auto it = parent->subKeys.find(parsed->LastComponent());
    if (it == parent->subKeys.end()) return;
    it->second->MarkDeleted();
    parent->subKeys.erase(it);
}

bool MemoryRegistry::KeyExists(const std::wstring& path) const { return Find(path) != nullptr; }

void MemoryRegistry::SetValue(const std::wstring& keyPath, const std::wstring& name, const RawValue& value) {
    FindOrCreate(keyPath)->values[name] = value;
}

void MemoryRegistry::DeleteValue(const std::wstring& keyPath, const std::wstring& name) {
    if (const auto node = Find(keyPath)) node->values.erase(name);
}

std::optional<RawValue> MemoryRegistry::GetValue(const std::wstring& keyPath, const std::wstring& name) const {
    const auto node = Find(keyPath);
    if (!node) return std::nullopt;
    const auto it = node->values.find(name);
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

void MemoryRegistry::DenyWrites(const std::wstring& path, bool deny) { FindOrCreate(path)->denyWrites = deny; }

std::wstring MemoryRegistry::Dump() const {
    std::wostringstream out;
    const std::function<void(const Node&, const std::wstring&)> walk = [&](const Node& node, const std::wstring& path) {
        out << L'[' << path << L"]\n";
        for (const auto& [name, value] : node.values) {
            out << L"  " << name << L" type=" << value.type << L" data=";
            for (std::uint8_t byte : value.data) out << static_cast<int>(byte) << L' ';
            out << L'\n';
        }
        for (const auto& [name, child] : node.subKeys) walk(*child, std::wstring(path).append(L"\\").append(name));
    };
    for (const auto& [root, node] : roots_) walk(*node, std::wstring(L"\\") + std::wstring(RootName(root)));
    return out.str();
}

int MemoryRegistry::WriteCount() const { return *writes_; }

} // namespace vellicor::registry
