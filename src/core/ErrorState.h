#pragma once

#include "core/Failure.h"

#include <optional>
#include <utility>

namespace vellicor {

// Resume-on-error mode: a step that fails is abandoned, its failure is kept, and the
// routine carries on; the routine looks at the state only after the steps that matter.
// Only Failure is contained: anything else (out of memory, a bug) still propagates.
class ErrorState {
public:
    template <class Step>
    bool Try(Step&& step) {
        try {
            std::forward<Step>(step)();
            return true;
        } catch (const Failure& failure) {
            failure_ = failure;
            return false;
        }
    }

    bool Failed() const noexcept { return failure_.has_value(); }
    const Failure& LastFailure() const { return *failure_; }
    void Clear() noexcept { failure_.reset(); }

private:
    std::optional<Failure> failure_;
};

} // namespace vellicor
