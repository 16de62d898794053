#pragma once
// Runs the platform's main run loop on Qt's event loop with the real clock: a single-shot
// timer is set to the next due entry, and post() from any thread wakes the bridge through
// a queued call. After every turn that ran something the display is told, so that it can
// repaint and follow the focus.
//
// Ownership: borrows the run loop, which must outlive the bridge. The wake-up handler it
// installs holds only a shared cell that the bridge empties when it goes, so a thread
// posting late never reaches a destroyed bridge.

#include "platform/foundation/RunLoop.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace tessaro {

class RunLoopBridge final : public QObject {
public:
    RunLoopBridge(foundation::RunLoop& loop, std::function<void()> afterTurn);
    ~RunLoopBridge() override;

    // Runs what is due now and sets the timer for what comes next.
    void turn();

private:
    struct WakeCell;

    void schedule();

    foundation::RunLoop& m_loop;
    std::function<void()> m_afterTurn;
    QTimer m_timer;
    std::shared_ptr<WakeCell> m_cell;
};

} // namespace tessaro
