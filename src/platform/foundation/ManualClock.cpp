#include "platform/foundation/ManualClock.h"

#include "platform/foundation/RunLoop.h"

namespace foundation {

ManualClock::ManualClock(double start)
    : m_now(start)
{
}

double ManualClock::now() const
{
    return m_now.load();
}

void ManualClock::setNow(double seconds)
{
    m_now.store(seconds);
}

std::size_t ManualClock::advance(double seconds)
{
    if (seconds < 0)
        seconds = 0;
    if (m_runLoop)
        return m_runLoop->advanceManualClock(seconds);
    setNow(now() + seconds);
    return 0;
}

} // namespace foundation
