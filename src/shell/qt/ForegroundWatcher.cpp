#include "shell/qt/ForegroundWatcher.h"

namespace tessaro {

void ForegroundWatcher::becameVisible()
{
    if (!m_inBackground)
        return;
    // Cleared first: the handler may show an alert, which activates the window again.
    m_inBackground = false;
    if (m_handler)
        m_handler();
}

} // namespace tessaro
