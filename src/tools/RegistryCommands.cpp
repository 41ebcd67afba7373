#include "tools/RegistryCommands.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

#include <optional>

namespace vellicor::tools {

namespace {

void RemoveKey(const registry::RegistryKey& key) { key.Parent().SubKeys().Remove(key); }

// Through HKEY_CLASSES_ROOT a per-user class hides a machine-wide one of the same name:
// removing the first can uncover the second. Only "no such key" means it is gone; a
// machine copy that cannot be opened for removal (no administrator rights) is a failure.
std::optional<registry::RegistryKey> Uncovered(const registry::RegistryRoot& root) {
    try {
        return root.KeyFromPath(kAssociationKeyPath);
    } catch (const Failure& failure) {
        if (failure.Number() != errors::kFileNotFound) throw;
        return std::nullopt;
    }
}

} // namespace

Outcome FixFileAssociations(const registry::RegistryRoot& root) {
    return Attempt([&](Outcome&) {
        RemoveKey(root.KeyFromPath(kAssociationKeyPath));
        if (const auto machineCopy = Uncovered(root)) RemoveKey(*machineCopy);
    });
}

Outcome DeleteSettings(const registry::RegistryKey* settingsKey) {
    return Attempt([&](Outcome&) {
        if (!settingsKey) throw SystemFailure(errors::kInvalidHandle);
        RemoveKey(*settingsKey);
    });
}

} // namespace vellicor::tools
