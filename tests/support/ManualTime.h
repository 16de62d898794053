#pragma once
// Puts the main run loop on a manual clock for the life of the object, so that a test
// moves time itself (advance) instead of sleeping. On the way out everything still
// waiting in the loop is dropped and the system clock comes back.

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"

namespace testsupport {

class ManualTime {
public:
    ManualTime();
    ~ManualTime();
    ManualTime(const ManualTime&) = delete;
    ManualTime& operator=(const ManualTime&) = delete;

    // Moves time forward, firing what falls due; advance(0) turns the loop once.
    std::size_t advance(double seconds) { return m_clock->advance(seconds); }
    double now() const { return m_clock->now(); }
    foundation::ManualClock& clock() { return *m_clock; }

private:
    foundation::ManualClock* m_clock { nullptr };
};

} // namespace testsupport
