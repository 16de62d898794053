#pragma once
// A one-shot or repeating timer on a run loop (RunLoop::scheduledTimer).
//
// Ownership: whoever scheduled the timer owns it through the shared pointer it got back.
// The run loop only keeps a weak reference, so a timer whose owner has gone never fires
// into a dead object. Invalidate a timer to stop it while keeping the object around
// ("is the timer still valid?" is a question some screens ask).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace foundation {

class RunLoop;

enum class TimerRepeat { Once, Repeating };

class Timer {
public:
    using Callback = std::function<void(Timer&)>;

    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Stops the timer for good. A one-shot timer invalidates itself just before it fires.
    void invalidate();
    bool isValid() const { return m_valid; }

    double timeInterval() const { return m_interval; }
    bool repeats() const { return m_repeats; }
    // Run-loop time of the next firing; empty once invalid.
    std::optional<double> fireDate() const;

    // Fires now, outside the schedule. A repeating timer keeps its schedule; a one-shot
    // timer is spent (invalid) afterwards. Does nothing when invalid.
    void fire();

private:
    friend class RunLoop;
    Timer(RunLoop* runLoop, double interval, bool repeats, Callback callback);

    RunLoop* m_runLoop { nullptr };
    double m_interval { 0 };
    bool m_repeats { false };
    bool m_valid { true };
    double m_fireDate { 0 };
    std::uint64_t m_entryId { 0 };
    Callback m_callback;
};

} // namespace foundation
