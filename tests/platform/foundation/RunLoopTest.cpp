#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using foundation::RunLoop;
using foundation::TimerRepeat;

namespace {

struct RunLoopTest : ::testing::Test {
    testsupport::ManualTime time;
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> order;
};

} // namespace

TEST_F(RunLoopTest, DelayedCallsFireInTimeOrderAndTiesInScheduleOrder)
{
    loop.performAfterDelay(0.3, [&] { order.push_back("c"); });
    loop.performAfterDelay(0.1, [&] { order.push_back("a1"); });
    loop.performAfterDelay(0.1, [&] { order.push_back("a2"); });
    loop.post([&] { order.push_back("posted"); });
    loop.performAfterDelay(0.2, [&] { order.push_back("b"); });

    time.advance(0.1);
    EXPECT_EQ(order, (std::vector<std::string> { "posted", "a1", "a2" }));
    time.advance(0.5);
    EXPECT_EQ(order, (std::vector<std::string> { "posted", "a1", "a2", "b", "c" }));
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(RunLoopTest, EachEntryRunsAtItsOwnTimeAndWorkItSchedulesJoinsTheSameAdvance)
{
    std::vector<double> seen;
    loop.performAfterDelay(0.1, [&] {
        seen.push_back(loop.now());
        loop.performAfterDelay(0.1, [&] { seen.push_back(loop.now()); });
        loop.performAfterDelay(0, [&] { seen.push_back(loop.now()); });
    });
    time.advance(1.0);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_DOUBLE_EQ(seen[0], 1000.1);
    EXPECT_DOUBLE_EQ(seen[1], 1000.1);
    EXPECT_DOUBLE_EQ(seen[2], 1000.2);
    EXPECT_DOUBLE_EQ(loop.now(), 1001.0);
}

TEST_F(RunLoopTest, NothingFiresBeforeItsTimeAndZeroAdvanceTurnsTheLoopOnce)
{
    bool late = false;
    bool next = false;
    loop.performAfterDelay(0.25, [&] { late = true; });
    loop.performAfterDelay(0, [&] { next = true; });
    time.advance(0);
    EXPECT_TRUE(next);
    time.advance(0.2499);
    EXPECT_FALSE(late);
    time.advance(0.0001);
    EXPECT_TRUE(late);
}

TEST_F(RunLoopTest, CancelledAndGuardedCallsDoNotRun)
{
    bool cancelled = false;
    bool guarded = false;
    auto id = loop.performAfterDelay(0.1, [&] { cancelled = true; });
    auto owner = std::make_shared<int>(1);
    loop.performAfterDelay(0.1, std::weak_ptr<const void>(owner), [&] { guarded = true; });
    loop.cancelPerform(id);
    owner.reset();
    time.advance(1);
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(guarded);
}

TEST_F(RunLoopTest, RepeatingTimerFiresEveryIntervalUntilInvalidated)
{
    int fired = 0;
    auto timer = loop.scheduledTimer(1.0, TimerRepeat::Repeating, [&](foundation::Timer& t) {
        if (++fired == 3)
            t.invalidate();
    });
    time.advance(2.5);
    EXPECT_EQ(fired, 2);
    EXPECT_TRUE(timer->isValid());
    EXPECT_DOUBLE_EQ(*timer->fireDate(), 1003.0);
    time.advance(10);
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, OneShotTimerIsSpentWhenItFiresAndDroppedTimersNeverFire)
{
    int oneShot = 0;
    int dropped = 0;
    auto timer = loop.scheduledTimer(0.5, TimerRepeat::Once, [&](foundation::Timer& t) {
        EXPECT_FALSE(t.isValid());
        ++oneShot;
    });
    {
        auto forgotten = loop.scheduledTimer(0.5, TimerRepeat::Repeating, [&](foundation::Timer&) { ++dropped; });
    }
    time.advance(5);
    EXPECT_EQ(oneShot, 1);
    EXPECT_EQ(dropped, 0);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, TimersAndDelayedCallsInterleaveByTime)
{
    auto timer = loop.scheduledTimer(0.2, TimerRepeat::Repeating, [&](foundation::Timer&) { order.push_back("tick"); });
    loop.performAfterDelay(0.3, [&] { order.push_back("call"); });
    time.advance(0.4);
    EXPECT_EQ(order, (std::vector<std::string> { "tick", "call", "tick" }));
}

TEST_F(RunLoopTest, PostFromAnotherThreadRunsOnTheNextTurn)
{
    bool ran = false;
    std::thread([&] { loop.post([&] { ran = true; }); }).join();
    EXPECT_FALSE(ran);
    time.advance(0);
    EXPECT_TRUE(ran);
}

TEST_F(RunLoopTest, WorkThatKeepsReschedulingItselfAtOneInstantCannotHangAnAdvance)
{
    std::function<void()> again;
    std::size_t runs = 0;
    again = [&] {
        ++runs;
        loop.post(again);
    };
    loop.post(again);
    time.advance(0);
    EXPECT_GT(runs, 1000u);
    loop.cancelAll();
}

TEST(RunLoopSystemClock, TurnRunsOnlyWhatWasDueWhenItBegan)
{
    RunLoop loop;
    int ran = 0;
    loop.post([&] {
        ++ran;
        loop.post([&] { ++ran; });
    });
    EXPECT_EQ(loop.runDueEntries(), 1u);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(loop.runDueEntries(), 1u);
    EXPECT_EQ(ran, 2);
    EXPECT_FALSE(loop.secondsUntilNextEntry().has_value());
}

TEST_F(RunLoopTest, TimerCanBeReplacedFromInsideItsOwnCallback)
{
    // The banner's pattern: a timer's firing schedules the next timer in the same field.
    std::shared_ptr<foundation::Timer> timer;
    std::vector<double> firings;
    std::function<void()> schedule = [&] {
        timer = loop.scheduledTimer(1.0, TimerRepeat::Once, [&](foundation::Timer&) {
            firings.push_back(loop.now());
            if (firings.size() < 3)
                schedule();
        });
    };
    schedule();
    time.advance(10);
    EXPECT_EQ(firings, (std::vector<double> { 1001.0, 1002.0, 1003.0 }));
    EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, FiringByHandKeepsARepeatingScheduleAndSpendsAOneShot)
{
    int repeating = 0;
    int once = 0;
    auto every = loop.scheduledTimer(1.0, TimerRepeat::Repeating, [&](foundation::Timer&) { ++repeating; });
    auto single = loop.scheduledTimer(1.0, TimerRepeat::Once, [&](foundation::Timer&) { ++once; });
    every->fire();
    single->fire();
    single->fire();
    EXPECT_EQ(repeating, 1);
    EXPECT_EQ(once, 1);
    time.advance(1.0);
    EXPECT_EQ(repeating, 2);
    EXPECT_EQ(once, 1);
}

TEST_F(RunLoopTest, RunOnTheManualClockWalksToTheLastEntryOrUntilQuit)
{
    std::vector<double> seen;
    loop.performAfterDelay(5, [&] { seen.push_back(loop.now()); });
    loop.performAfterDelay(2, [&] { seen.push_back(loop.now()); });
    loop.run();
    EXPECT_EQ(seen, (std::vector<double> { 1002.0, 1005.0 }));

    auto forever = loop.scheduledTimer(1, TimerRepeat::Repeating, [&](foundation::Timer&) {
        if (loop.now() >= 1010.0)
            loop.quit();
    });
    loop.run();
    EXPECT_DOUBLE_EQ(loop.now(), 1010.0);
}

TEST(RunLoopSystemClock, QuitFromAnotherThreadEndsRun)
{
    RunLoop loop;
    std::atomic<bool> started { false };
    loop.post([&] { started = true; });
    std::thread stopper([&] {
        while (!started)
            std::this_thread::yield();
        loop.quit();
    });
    loop.run();
    stopper.join();
    EXPECT_TRUE(started);
}

TEST(RunLoopSystemClock, WakeUpHandlerHearsEveryNewEntryFromAnyThread)
{
    RunLoop loop;
    std::atomic<int> wakes { 0 };
    loop.setWakeUpHandler([&] { ++wakes; });
    loop.performAfterDelay(60, [] {});
    std::thread([&] { loop.post([] {}); }).join();
    EXPECT_EQ(wakes.load(), 2);
    auto wait = loop.secondsUntilNextEntry();
    ASSERT_TRUE(wait.has_value());
    EXPECT_EQ(*wait, 0);
}
