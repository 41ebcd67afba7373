#include "tools/RegistryCommands.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"
#include "core/Win32Values.h"
#include "tools/FailureReport.h"
#include "ui/Messages.h"

namespace vellicor::tools {

namespace {

using namespace win32values;
namespace msg = ui::messages;

void RemoveKey(const registry::RegistryKey& key) { key.Parent().SubKeys().Remove(key); }

} // namespace

void FixFileAssociations(const registry::RegistryRoot& root, platform::Dialogs& dialogs) {
    try {
        RemoveKey(root.KeyFromPath(kAssociationKeyPath));
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
