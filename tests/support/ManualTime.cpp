#include "support/ManualTime.h"

namespace testsupport {

ManualTime::ManualTime()
    : m_clock(&foundation::RunLoop::main().useManualClock(1000.0))
{
}

ManualTime::~ManualTime()
{
    foundation::RunLoop::main().useSystemClock();
}

} // namespace testsupport
