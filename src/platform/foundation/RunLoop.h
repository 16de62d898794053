#pragma once
// The main run loop: the one queue on which everything of the application happens.
//
// Entries are functions due at a time on the loop's clock: work posted for the next turn,
// delayed calls ("0.1 seconds later"), timers and animation completions. Entries due at the
// same time run in the order they were scheduled. post() is the only call that is safe
// from another thread; everything else belongs to the main thread.
//
// The program drives the loop on the system clock: the display calls runDueEntries() when
// secondsUntilNextEntry() has passed or when the wake-up handler fires. Tests install a
// ManualClock (useManualClock) and move time themselves with advance().
//
// Ownership: the loop owns its clock and the functions waiting in it. It holds timers only
// weakly (see Timer.h).

#include "platform/foundation/Timer.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace foundation {

class Clock;
class ManualClock;

class RunLoop {
public:
    using Function = std::function<void()>;
    using CallId = std::uint64_t;

    // The application's main loop, on the system clock until told otherwise.
    static RunLoop& main();

    RunLoop();
    explicit RunLoop(std::unique_ptr<Clock> clock);
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    double now() const;
    Clock& clock() const { return *m_clock; }

    // Replaces the clock with a manual one starting at `start` and hands it back. Entries
    // already waiting are dropped: their times belong to the old clock.
    ManualClock& useManualClock(double start = 0.0);
    // Back to the system clock; entries waiting are dropped likewise.
    void useSystemClock();
    // The manual clock in force, or null on the system clock.
    ManualClock* manualClock() const { return m_manualClock; }

    // Runs fn on the next turn of the loop. Safe from any thread.
    void post(Function fn);

    // Runs fn `seconds` from now (0: on the next turn). The id cancels it.
    CallId performAfterDelay(double seconds, Function fn);
    // Same, but skipped when the guarded object has gone by then; screens pass
    // weak_from_this() so that a call outliving its screen does nothing.
    CallId performAfterDelay(double seconds, std::weak_ptr<const void> guard, Function fn);
    // Cancels a delayed call that has not run yet; unknown or spent ids are ignored.
    void cancelPerform(CallId id);

    // Schedules a timer firing every `interval` seconds (repeating intervals below a tenth
    // of a millisecond are raised to it). Keep the returned pointer: the loop does not.
    [[nodiscard]] std::shared_ptr<Timer> scheduledTimer(double interval, TimerRepeat repeat,
                                                        Timer::Callback callback);

    // One turn: runs every entry due now that was scheduled before the turn began, in
    // order. Returns how many ran.
    std::size_t runDueEntries();

    // Seconds until the earliest entry is due (0 when one is due already), empty when idle.
    std::optional<double> secondsUntilNextEntry() const;
    std::size_t pendingCount() const;

    // Drops every waiting entry (tests use it between cases).
    void cancelAll();

    // Called whenever an entry is added, from whatever thread added it, so that an outside
    // event loop can wake up and look at secondsUntilNextEntry() again. It must itself be
    // safe to call from any thread.
    void setWakeUpHandler(Function handler);

    // Runs the loop on the calling thread until quit(); with a manual clock, it moves time
    // from entry to entry until the queue is empty or quit() is called.
    void run();
    // Ends run(). Safe from any thread.
    void quit();

private:
    friend class ManualClock;
    friend class Timer;

    struct Key {
        double due { 0 };
        std::uint64_t sequence { 0 };
        bool operator<(const Key& other) const
        {
            return due != other.due ? due < other.due : sequence < other.sequence;
        }
    };
    struct Entry {
        CallId id { 0 };
        Function function;
        bool guarded { false };
        std::weak_ptr<const void> guard;
        std::weak_ptr<Timer> timer;
    };

    CallId schedule(double due, Entry entry);
    void wakeUp();
    struct DueEntry {
        Entry entry;
        double due { 0 };
    };
    // Takes the earliest entry out of the queue when it falls due by `limit` and was queued
    // before `sequenceLimit`. The caller holds the lock.
    std::optional<DueEntry> takeEarliestDue(double limit, std::uint64_t sequenceLimit);
    // Runs one entry taken out of the queue. Returns false when it did nothing.
    bool runEntry(Entry& entry, double due);
    void scheduleTimer(Timer& timer, const std::shared_ptr<Timer>& strong);
    void detachTimers();
    void replaceClock(std::unique_ptr<Clock> clock, ManualClock* manual);
    std::size_t advanceManualClock(double seconds);

    std::unique_ptr<Clock> m_clock;
    ManualClock* m_manualClock { nullptr };

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<Key, Entry> m_entries;
    std::unordered_map<CallId, Key> m_keysById;
    std::uint64_t m_nextSequence { 1 };
    CallId m_nextId { 1 };
    Function m_wakeUpHandler;
    bool m_quit { false };
};

} // namespace foundation
