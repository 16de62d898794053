#include "platform/foundation/RunLoop.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/SystemClock.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>
#include <vector>

namespace foundation {

namespace {

constexpr double minimumRepeatInterval = 0.0001;
// An entry that keeps rescheduling itself for the same instant would otherwise hold
// advance() forever; past this many runs without time moving we give up on the advance.
constexpr std::size_t maximumRunsAtOneInstant = 100000;
// Times are sums of decimal fractions ("0.2 seconds later", twice): an entry due within a
// nanosecond of the end of an advance belongs to it.
constexpr double timeTolerance = 1e-9;

} // namespace

RunLoop& RunLoop::main()
{
    static RunLoop instance;
    return instance;
}

RunLoop::RunLoop()
    : RunLoop(std::make_unique<SystemClock>())
{
}

RunLoop::RunLoop(std::unique_ptr<Clock> clock)
    : m_clock(std::move(clock))
{
    m_manualClock = dynamic_cast<ManualClock*>(m_clock.get());
    if (m_manualClock)
        m_manualClock->m_runLoop = this;
}

RunLoop::~RunLoop()
{
    detachTimers();
    if (m_manualClock)
        m_manualClock->m_runLoop = nullptr;
}

double RunLoop::now() const
{
    return m_clock->now();
}

void RunLoop::detachTimers()
{
    std::vector<std::shared_ptr<Timer>> timers;
    {
        std::lock_guard lock(m_mutex);
        for (auto& [key, entry] : m_entries) {
            if (auto timer = entry.timer.lock())
                timers.push_back(std::move(timer));
        }
    }
    for (auto& timer : timers) {
        timer->m_valid = false;
        timer->m_runLoop = nullptr;
        timer->m_entryId = 0;
    }
}

void RunLoop::replaceClock(std::unique_ptr<Clock> clock, ManualClock* manual)
{
    detachTimers();
    {
        std::lock_guard lock(m_mutex);
        m_entries.clear();
        m_keysById.clear();
        if (m_manualClock)
            m_manualClock->m_runLoop = nullptr;
        m_clock = std::move(clock);
        m_manualClock = manual;
        if (m_manualClock)
            m_manualClock->m_runLoop = this;
    }
    wakeUp();
}

ManualClock& RunLoop::useManualClock(double start)
{
    auto clock = std::make_unique<ManualClock>(start);
    auto* manual = clock.get();
    replaceClock(std::move(clock), manual);
    return *manual;
}

void RunLoop::useSystemClock()
{
    replaceClock(std::make_unique<SystemClock>(), nullptr);
}

RunLoop::CallId RunLoop::schedule(double due, Entry entry)
{
    CallId id = 0;
    {
        std::lock_guard lock(m_mutex);
        id = m_nextId++;
        entry.id = id;
        Key key { due, m_nextSequence++ };
        m_keysById.emplace(id, key);
        m_entries.emplace(key, std::move(entry));
    }
    wakeUp();
    return id;
}

void RunLoop::wakeUp()
{
    Function handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_wakeUpHandler;
    }
    m_wake.notify_all();
    if (handler)
        handler();
}

void RunLoop::post(Function fn)
{
    double due = 0;
    {
        // The clock may be swapped by a test on the main thread; read it under the lock.
        std::lock_guard lock(m_mutex);
        due = m_clock->now();
    }
    Entry entry;
    entry.function = std::move(fn);
    schedule(due, std::move(entry));
}

RunLoop::CallId RunLoop::performAfterDelay(double seconds, Function fn)
{
    Entry entry;
    entry.function = std::move(fn);
    return schedule(now() + std::max(0.0, seconds), std::move(entry));
}

RunLoop::CallId RunLoop::performAfterDelay(double seconds, std::weak_ptr<const void> guard, Function fn)
{
    Entry entry;
    entry.function = std::move(fn);
    entry.guarded = true;
    entry.guard = std::move(guard);
    return schedule(now() + std::max(0.0, seconds), std::move(entry));
}

void RunLoop::cancelPerform(CallId id)
{
    std::lock_guard lock(m_mutex);
    auto found = m_keysById.find(id);
    if (found == m_keysById.end())
        return;
    m_entries.erase(found->second);
    m_keysById.erase(found);
}

std::shared_ptr<Timer> RunLoop::scheduledTimer(double interval, TimerRepeat repeat, Timer::Callback callback)
{
    bool repeats = repeat == TimerRepeat::Repeating;
    if (interval < 0)
        interval = 0;
    if (repeats && interval < minimumRepeatInterval)
        interval = minimumRepeatInterval;
    std::shared_ptr<Timer> timer(new Timer(this, interval, repeats, std::move(callback)));
    timer->m_fireDate = now() + interval;
    scheduleTimer(*timer, timer);
    return timer;
}

void RunLoop::scheduleTimer(Timer& timer, const std::shared_ptr<Timer>& strong)
{
    Entry entry;
    entry.timer = strong;
    timer.m_entryId = schedule(timer.m_fireDate, std::move(entry));
}

bool RunLoop::runEntry(Entry& entry, double due)
{
    if (auto timer = entry.timer.lock()) {
        if (!timer->m_valid || timer->m_entryId != entry.id)
            return false;
        timer->m_entryId = 0;
        if (timer->m_repeats) {
            // Firings missed while the loop was busy are dropped, not caught up on.
            double next = due + timer->m_interval;
            double current = now();
            while (next <= current && !m_manualClock)
                next += timer->m_interval;
            timer->m_fireDate = next;
            scheduleTimer(*timer, timer);
            auto callback = timer->m_callback;
            if (callback)
                callback(*timer);
        } else {
            timer->fire();
        }
        return true;
    }
    if (!entry.function)
        return false;
    if (entry.guarded && entry.guard.expired())
        return false;
    entry.function();
    return true;
}

std::optional<RunLoop::DueEntry> RunLoop::takeEarliestDue(double limit, std::uint64_t sequenceLimit)
{
    if (m_entries.empty())
        return std::nullopt;
    auto first = m_entries.begin();
    if (first->first.due > limit || first->first.sequence >= sequenceLimit)
        return std::nullopt;
    DueEntry taken { std::move(first->second), first->first.due };
    m_keysById.erase(taken.entry.id);
    m_entries.erase(first);
    return taken;
}

std::size_t RunLoop::runDueEntries()
{
    double turnTime = now();
    std::uint64_t sequenceLimit = 0;
    {
        std::lock_guard lock(m_mutex);
        sequenceLimit = m_nextSequence;
    }
    std::size_t ran = 0;
    for (;;) {
        std::optional<DueEntry> next;
        {
            std::lock_guard lock(m_mutex);
            next = takeEarliestDue(turnTime + timeTolerance, sequenceLimit);
        }
        if (!next)
            break;
        if (runEntry(next->entry, next->due))
            ++ran;
    }
    return ran;
}

std::size_t RunLoop::advanceManualClock(double seconds)
{
    double target = now() + seconds;
    std::size_t ran = 0;
    std::size_t runsAtThisInstant = 0;
    double instant = now();
    for (;;) {
        std::optional<DueEntry> next;
        {
            std::lock_guard lock(m_mutex);
            next = takeEarliestDue(target + timeTolerance, std::numeric_limits<std::uint64_t>::max());
            if (next && m_manualClock && next->due > m_manualClock->now())
                m_manualClock->setNow(next->due);
        }
        if (!next)
            break;
        double current = now();
        if (current != instant) {
            instant = current;
            runsAtThisInstant = 0;
        }
        if (++runsAtThisInstant > maximumRunsAtOneInstant) {
            log("run loop: entries keep rescheduling themselves at the same instant; advance stopped");
            break;
        }
        if (runEntry(next->entry, next->due))
            ++ran;
    }
    if (m_manualClock && m_manualClock->now() < target)
        m_manualClock->setNow(target);
    return ran;
}

std::optional<double> RunLoop::secondsUntilNextEntry() const
{
    std::lock_guard lock(m_mutex);
    if (m_entries.empty())
        return std::nullopt;
    return std::max(0.0, m_entries.begin()->first.due - m_clock->now());
}

std::size_t RunLoop::pendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

void RunLoop::cancelAll()
{
    detachTimers();
    std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_keysById.clear();
}

void RunLoop::setWakeUpHandler(Function handler)
{
    std::lock_guard lock(m_mutex);
    m_wakeUpHandler = std::move(handler);
}

void RunLoop::run()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = false;
    }
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_quit)
                return;
        }
        if (m_manualClock) {
            auto wait = secondsUntilNextEntry();
            if (!wait)
                return;
            m_manualClock->advance(*wait);
            continue;
        }
        runDueEntries();
        std::unique_lock lock(m_mutex);
        if (m_quit)
            return;
        if (m_entries.empty()) {
            m_wake.wait(lock);
        } else {
            double wait = m_entries.begin()->first.due - m_clock->now();
            if (wait > 0)
                m_wake.wait_for(lock, std::chrono::duration<double>(wait));
        }
    }
}

void RunLoop::quit()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
}

} // namespace foundation
