#include "platform/foundation/SystemClock.h"

namespace foundation {

SystemClock::SystemClock()
    : m_start(std::chrono::steady_clock::now())
{
}

double SystemClock::now() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

} // namespace foundation
