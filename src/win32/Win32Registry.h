#pragma once

#include "registry/RegistryBackend.h"

#include <memory>
#include <string>

namespace vellicor::win32 {

// The system registry, through the Win32 registry functions. Values travel as the
// registry stores them; deciding what they mean is left to the portable layer.
class Win32Registry : public registry::RegistryBackend {
public:
    std::unique_ptr<registry::KeyHandle> OpenKey(registry::RootKey root, const std::wstring& subPath) override;
};

} // namespace vellicor::win32
