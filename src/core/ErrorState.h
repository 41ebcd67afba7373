#pragma once

#include "core/Failure.h"

#include <utility>

namespace vellicor {

// Resume-on-error mode: a step that fails is abandoned, the failure is noted, and the
// routine carries on; the routine looks at the state only after the steps that matter.
// Only Failure is contained: anything else (out of memory, a bug) still propagates.
class ErrorState {
public:
    template <class Step>
    bool Try(Step&& step) {
        try {
            std::forward<Step>(step)();
            return true;
        } catch (const Failure&) {
            failed_ = true;
            return false;
        }
    }

    bool Failed() const noexcept { return failed_; }

private:
    bool failed_ = false;
};

} // namespace vellicor
