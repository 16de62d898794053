#include "platform/foundation/Timer.h"

#include "platform/foundation/RunLoop.h"

#include <utility>

namespace foundation {

Timer::Timer(RunLoop* runLoop, double interval, bool repeats, Callback callback)
    : m_runLoop(runLoop)
    , m_interval(interval)
    , m_repeats(repeats)
    , m_callback(std::move(callback))
{
}

Timer::~Timer()
{
    invalidate();
}

void Timer::invalidate()
{
    if (!m_valid)
        return;
    m_valid = false;
    if (m_runLoop && m_entryId != 0)
        m_runLoop->cancelPerform(m_entryId);
    m_entryId = 0;
}

std::optional<double> Timer::fireDate() const
{
    if (!m_valid)
        return std::nullopt;
    return m_fireDate;
}

void Timer::fire()
{
    if (!m_valid)
        return;
    if (!m_repeats)
        invalidate();
    // A copy, so that the callback may replace or drop what it is running from.
    auto callback = m_callback;
    if (callback)
        callback(*this);
}

} // namespace foundation
