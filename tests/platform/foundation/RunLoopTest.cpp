#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

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
