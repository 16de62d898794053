#pragma once
// Tells when the application comes back to the foreground: the window is restored or
// activated after having been minimised or hidden (or the desktop suspended the whole
// application). Losing the focus to another window is not going to the background: the
// handset never sees that, and reloading every list on each click elsewhere would be
// wasteful.
//
// Qt-free; the window feeds it the states it sees.

#include <functional>

namespace tessaro {

class ForegroundWatcher {
public:
    void setWillEnterForegroundHandler(std::function<void()> handler) { m_handler = std::move(handler); }

    // The window was minimised, hidden by the desktop, or the application suspended.
    void wentToBackground() { m_inBackground = true; }
    // The window is shown, restored or activated again. Runs the handler once per return.
    void becameVisible();

    bool isInBackground() const { return m_inBackground; }

private:
    std::function<void()> m_handler;
    bool m_inBackground { false };
};

} // namespace tessaro
