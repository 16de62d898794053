#pragma once
// The time source of the run loop: seconds on a monotonic scale whose zero means nothing.
// The program runs on the system clock; tests run on a ManualClock they move forward
// themselves, so that no test ever sleeps.

namespace foundation {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary, fixed start. Never goes backwards.
    virtual double now() const = 0;
};

} // namespace foundation
