#pragma once
// Starts the stand-in screens in a key window of the device's screen size.

#include "platform/automation/AutomationSession.h"

namespace tessaro::sample {

AutomationTarget launchSample();

} // namespace tessaro::sample
