#include "tools/RegistryCommands.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/FailureReport.h"
#include "ui/Messages.h"

#include <optional>

namespace vellicor::tools {

namespace {

using namespace win32values;
namespace msg = ui::messages;

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

void FixFileAssociations(const registry::RegistryRoot& root, platform::Dialogs& dialogs) {
    try {
        RemoveKey(root.KeyFromPath(kAssociationKeyPath));
        if (const auto machineCopy = Uncovered(root)) RemoveKey(*machineCopy);
        dialogs.Show(msg::kAssociationsDeleted, kMbOk | kMbIconInformation);
    } catch (const Failure& failure) {
        dialogs.Show(FailureReport(msg::kErrorFixingAssociations, failure), kMbOk | kMbIconExclamation);
    }
}

bool DeleteSettings(const registry::RegistryKey* settingsKey, platform::Dialogs& dialogs) {
    if (dialogs.Show(msg::kConfirmDeleteSettings, kMbOkCancel | kMbIconQuestion) != kIdOk) return false;
    try {
        if (!settingsKey) throw SystemFailure(errors::kInvalidHandle);
        RemoveKey(*settingsKey);
    } catch (const Failure& failure) {
        dialogs.Show(FailureReport(msg::kErrorDeletingSettings, failure), kMbOk | kMbIconExclamation);
        return false;
    }
    dialogs.Show(msg::kSettingsDeleted, kMbOk | kMbIconInformation);
    return true;
}

} // namespace vellicor::tools
