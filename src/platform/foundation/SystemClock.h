#pragma once
// The real monotonic clock of the machine, used by the running program.

#include "platform/foundation/Clock.h"

#include <chrono>

namespace foundation {

class SystemClock final : public Clock {
public:
    SystemClock();
    double now() const override;

private:
    std::chrono::steady_clock::time_point m_start;
};

} // namespace foundation
