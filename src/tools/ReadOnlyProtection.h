#pragma once

#include "platform/FileSystem.h"
#include "registry/Registry.h"

#include <string>
#include <string_view>

namespace vellicor::tools {

// What protects one of the player's files: its read-only attribute.
struct Protection {
    enum class State {
        FolderUnknown, // the player's folder cannot be read
        FileMissing,   // the file at `path` cannot be opened or its attributes read
        ReadOnly,
        Writable,
    };
    State state;
    std::wstring path; // the file's path, once the folder is known
};

Protection ReadProtection(const registry::RegistryKey* settingsKey, platform::FileSystem& files,
                          std::wstring_view fileName);

// Sets or clears the read-only bit, every other bit written back as read. False when
// nothing was stored.
bool WriteProtection(const registry::RegistryKey* settingsKey, platform::FileSystem& files, std::wstring_view fileName,
                     bool readOnly);

} // namespace vellicor::tools
