#pragma once
// A clock that only moves when told. Installed on a run loop (RunLoop::useManualClock), its
// advance() walks time forward entry by entry, so every timer, delayed call and animation
// completion due in the interval fires at its own time, in time order, and entries due at
// the same time fire in the order they were scheduled.
//
// The run loop that installs the clock owns it; the clock keeps a plain pointer back to
// that run loop and forgets it when the loop lets the clock go.

#include "platform/foundation/Clock.h"

#include <atomic>

namespace foundation {

class RunLoop;

class ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 0.0);
    double now() const override;

    // Moves time forward by seconds (negative counts as 0), firing what falls due on the
    // run loop the clock is installed on. advance(0) turns the loop once: it runs what was
    // posted and what is due now. Returns the number of entries that ran.
    std::size_t advance(double seconds);

private:
    friend class RunLoop;
    // Sets the time without firing anything; only the run loop moves it this way, step by step.
    void setNow(double seconds);

    // Read from other threads when they post work, so kept atomic.
    std::atomic<double> m_now { 0.0 };
    RunLoop* m_runLoop { nullptr };
};

} // namespace foundation
