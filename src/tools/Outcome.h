#pragma once

#include "core/Failure.h"

#include <optional>
#include <string>

namespace vellicor::tools {

// What a command did: done, or the failure that stopped it. The program's window turns it
// into what the user is told.
struct Outcome {
    std::optional<Failure> failure; // none: done
    std::wstring path;              // the player's file acted on, once its folder is known
    bool creating = false;          // the failure came while the new playlist was being created

    bool Done() const { return !failure; }
};

// Runs a command's steps; the first failure stops them and is what the outcome reports.
template <class Steps>
Outcome Attempt(Steps&& steps) {
    Outcome outcome;
    try {
        steps(outcome);
    } catch (const Failure& failure) {
        outcome.failure = failure;
    }
    return outcome;
}

} // namespace vellicor::tools
