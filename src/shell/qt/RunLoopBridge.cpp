#include "shell/qt/RunLoopBridge.h"

#include <QMetaObject>

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>

namespace tessaro {

struct RunLoopBridge::WakeCell {
    std::mutex mutex;
    RunLoopBridge* bridge { nullptr };
    // Many posts in a row (a download handing back its pieces) need one wake-up, not one
    // queued event each.
    std::atomic<bool> pending { false };
};

RunLoopBridge::RunLoopBridge(foundation::RunLoop& loop, std::function<void()> afterTurn)
    : m_loop(loop)
    , m_afterTurn(std::move(afterTurn))
    , m_cell(std::make_shared<WakeCell>())
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { turn(); });
    m_cell->bridge = this;
    m_loop.setWakeUpHandler([cell = m_cell] {
        if (cell->pending.exchange(true))
            return;
        std::lock_guard lock(cell->mutex);
        if (!cell->bridge)
            return;
        // Queued, so that an entry added from inside a turn runs on the next turn, and one
        // added from another thread runs on the main thread.
        QMetaObject::invokeMethod(
            cell->bridge,
            [cell] {
                cell->pending = false;
                std::unique_lock lock(cell->mutex);
                auto* bridge = cell->bridge;
                lock.unlock();
                if (bridge)
                    bridge->turn();
            },
            Qt::QueuedConnection);
    });
    schedule();
}

RunLoopBridge::~RunLoopBridge()
{
    m_loop.setWakeUpHandler(nullptr);
    std::lock_guard lock(m_cell->mutex);
    m_cell->bridge = nullptr;
}

void RunLoopBridge::turn()
{
    std::size_t ran = m_loop.runDueEntries();
    schedule();
    if (ran > 0 && m_afterTurn)
        m_afterTurn();
}

void RunLoopBridge::schedule()
{
    auto wait = m_loop.secondsUntilNextEntry();
    if (!wait) {
        m_timer.stop();
        return;
    }
    // Rounded up: a timer that fires a hair early finds nothing due and costs a turn.
    double ms = std::ceil(std::max(0.0, *wait) * 1000.0);
    int interval = ms > double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(ms);
    m_timer.start(interval);
}

} // namespace tessaro
