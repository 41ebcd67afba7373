#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vellicor {

// A failed operation: the Win32 error number and the text the system gives for it.
// Thrown by the registry layer and the platform services; caught by ErrorState or
// by a command's report step.
class Failure : public std::exception {
public:
    Failure(std::int32_t number, std::wstring description) : number_(number), description_(std::move(description)) {}

    std::int32_t Number() const noexcept { return number_; }
    const std::wstring& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return "Vellicor operation failed"; }

private:
    std::int32_t number_;
    std::wstring description_;
};

// Builds a Failure for a Win32 error code with the system's own description.
Failure SystemFailure(std::int32_t code);

} // namespace vellicor
