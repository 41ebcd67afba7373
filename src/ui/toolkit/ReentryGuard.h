#pragma once

#include "ui/toolkit/Control.h"

namespace vellicor::ui {

// The entry test shared by every check-box Click handler: a disabled box does nothing,
// and a run nested inside the handler's own run (raised by the handler setting its own
// box's state) returns at once. One guard per handler, kept for the window's life.
class ReentryGuard {
public:
    template <class Body>
    void Run(const Control& box, Body&& body) {
        if (!box.Enabled() || active_) return;
        active_ = true;
        const Reset reset{active_};
        body();
    }

private:
    class Reset {
    public:
        explicit Reset(bool& flag) : flag_(flag) {}
        ~Reset() { flag_ = false; }
        Reset(const Reset&) = delete;
        Reset& operator=(const Reset&) = delete;

    private:
        bool& flag_;
    };
    bool active_ = false;
};

} // namespace vellicor::ui
