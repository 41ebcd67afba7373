#include "registry/Registry.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

namespace vellicor::registry {

std::int32_t ValueData::AsNumber() const {
    if (const auto* number = std::get_if<std::int32_t>(&data_)) return *number;
    throw SystemFailure(errors::kInvalidData);
}

const std::wstring& ValueData::AsText() const {
    if (const auto* text = std::get_if<std::wstring>(&data_)) return *text;
    throw SystemFailure(errors::kInvalidData);
}

RegistryKey::RegistryKey(std::shared_ptr<RegistryBackend> backend, KeyPath path, std::shared_ptr<KeyHandle> handle)
    : backend_(std::move(backend)), path_(std::move(path)), handle_(std::move(handle)) {}

RegistryValues RegistryKey::Values() const { return RegistryValues(handle_); }

RegistryKey RegistryKey::Parent() const {
    if (path_.IsRoot()) throw SystemFailure(errors::kInvalidParameter);
    KeyPath parent = path_.ParentPath();
    std::shared_ptr<KeyHandle> handle = backend_->OpenKey(parent.root, parent.subPath);
    return RegistryKey(backend_, std::move(parent), std::move(handle));
}

RegistryKeys RegistryKey::SubKeys() const { return RegistryKeys(path_, handle_); }

ValueData RegistryValue::Value() const {
    const RawValue raw = key_->QueryValue(name_);
    if (const auto number = DecodeInteger(raw.type, raw.data)) return ValueData(*number);
    if (auto text = DecodeText(raw.type, raw.data)) return ValueData(std::move(*text));
    throw SystemFailure(errors::kInvalidData);
}

void RegistryValue::SetValue(std::int16_t number) { key_->SetValue(name_, EncodeDword(number)); }

RegistryValue RegistryValues::Item(const std::wstring& name) const {
    key_->QueryValue(name); // the existence test: throws when there is no such value
    return RegistryValue(key_, name);
}

void RegistryValues::Add(const std::wstring& name, std::int16_t data, std::int32_t type) {
    if (type != kRegDword) throw SystemFailure(errors::kInvalidParameter);
    key_->SetValue(name, EncodeDword(data));
}

void RegistryValues::Remove(const std::wstring& name) { key_->DeleteValue(name); }

void RegistryKeys::Remove(const RegistryKey& key) {
    const KeyPath& child = key.Path();
    const KeyPath parent = child.ParentPath();
    if (child.IsRoot() || parent.root != parentPath_.root || !SameRegistryName(parent.subPath, parentPath_.subPath)) {
        throw SystemFailure(errors::kInvalidParameter);
    }
    parent_->DeleteSubKeyTree(child.LastComponent());
}

RegistryKey RegistryRoot::KeyFromPath(std::wstring_view path) const {
    auto parsed = KeyPath::Parse(path);
    if (!parsed) throw SystemFailure(errors::kInvalidParameter);
    std::shared_ptr<KeyHandle> handle = backend_->OpenKey(parsed->root, parsed->subPath);
    return RegistryKey(backend_, std::move(*parsed), std::move(handle));
}

} // namespace vellicor::registry
