#pragma once

#include <string>

namespace vellicor::platform {

// Starts the system's shell program on one argument (a web or mailto address) in a
// normal, activated window, without waiting for it.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void Open(const std::wstring& address) = 0;
};

} // namespace vellicor::platform
