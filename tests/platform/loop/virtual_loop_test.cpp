// The loop under the virtual clock: exact, repeatable timing of waits,
// timers, tasks and idle handlers.
#include "platform/loop/message_loop.h"

#include "platform/loop/loop_stall.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {
namespace {

// The driver's wait: a timer whose tick sets its interval to 0, pumped until then.
struct WaitTimer {
    Timer timer;
    WaitTimer() { timer.OnTick = [this] { timer.SetInterval(0); }; }
    void Wait(int32_t ms) {
        timer.SetInterval(ms);
        timer.SetEnabled(true);
        do {
            MessageLoop::Current().DoEvents();
        } while (timer.Interval() != 0);
        timer.SetEnabled(false);
    }
};

class VirtualLoop : public ::testing::Test {
protected:
    VirtualTimeScope scope{1000};
    MessageLoop& loop = MessageLoop::Current();
};

TEST_F(VirtualLoop, WaitEndsExactlyAtItsDeadline) {
    WaitTimer w;
    w.Wait(3000);
    EXPECT_EQ(loop.Now(), 4000);
    w.Wait(10000);
    EXPECT_EQ(loop.Now(), 14000);
    EXPECT_FALSE(loop.DoEvents()) << "a finished wait leaves nothing behind";
}

TEST_F(VirtualLoop, NestedWaitsEachKeepTheirDeadline) {
    WaitTimer outer, inner;
    Millis innerEnd = -1;
    // At t=1500 a handler starts a 1000 ms wait of its own while the outer one runs.
    loop.PostDelayed(500, [&] {
        inner.Wait(1000);
        innerEnd = loop.Now();
    });
    outer.Wait(3000);
    EXPECT_EQ(innerEnd, 2500);
    EXPECT_EQ(loop.Now(), 4000);
}

TEST_F(VirtualLoop, OuterWaitEndsWhenALongerNestedWaitReturns) {
    WaitTimer outer, inner;
    Millis innerEnd = -1;
    loop.PostDelayed(1000, [&] {
        inner.Wait(13000);
        innerEnd = loop.Now();
    });
    outer.Wait(3000);
    EXPECT_EQ(innerEnd, 15000);
    EXPECT_EQ(loop.Now(), 15000) << "the outer tick came during the inner wait";
}

TEST_F(VirtualLoop, TimerTicksPeriodicallyAndOnlyDuringAPump) {
    Timer t;
    std::vector<Millis> ticks;
    t.OnTick = [&] { ticks.push_back(loop.Now()); };
    t.SetInterval(250);
    t.SetEnabled(true);
    loop.RunUntil([&] { return ticks.size() == 3; });
    EXPECT_EQ(ticks, (std::vector<Millis>{1250, 1500, 1750}));

    // Time passing without a pump brings no tick, and a late pump brings one, not a burst.
    scope.Clock().Advance(1000);
    EXPECT_EQ(ticks.size(), 3u);
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks.back(), 2750);
    loop.RunUntil([&] { return ticks.size() == 5; });
    EXPECT_EQ(ticks.back(), 3000) << "the period restarts from the late tick";
}

TEST_F(VirtualLoop, IntervalZeroOrDisabledNeverFires) {
    Timer zero, off;
    int ticks = 0;
    zero.OnTick = off.OnTick = [&] { ++ticks; };
    zero.SetEnabled(true);
    off.SetInterval(100);
    off.SetEnabled(false);
    EXPECT_FALSE(loop.DoEvents());
    EXPECT_EQ(loop.Now(), 1000);

    off.SetEnabled(true);
    off.SetInterval(0);  // disarms an enabled timer
    EXPECT_FALSE(loop.DoEvents());
    EXPECT_EQ(ticks, 0);
    EXPECT_THROW(loop.RunUntil([&] { return ticks > 0; }), std::runtime_error);
}

TEST_F(VirtualLoop, SettingIntervalOrEnablingRestartsThePeriod) {
    Timer t;
    std::vector<Millis> ticks;
    t.OnTick = [&] { ticks.push_back(loop.Now()); };
    t.SetInterval(1000);
    t.SetEnabled(true);
    scope.Clock().Advance(600);
    t.SetInterval(1000);  // same value: still a restart
    loop.RunUntil([&] { return ticks.size() == 1; });
    EXPECT_EQ(ticks.back(), 2600);

    scope.Clock().Advance(400);
    t.SetEnabled(false);
    scope.Clock().Advance(300);
    t.SetEnabled(true);
    loop.RunUntil([&] { return ticks.size() == 2; });
    EXPECT_EQ(ticks.back(), 4300);

    scope.Clock().Advance(200);
    t.SetEnabled(true);  // enabling an enabled timer restarts it too
    loop.RunUntil([&] { return ticks.size() == 3; });
    EXPECT_EQ(ticks.back(), 5500);
}

TEST_F(VirtualLoop, TimerDestroyedInsideItsOwnTick) {
    auto t = std::make_unique<Timer>();
    std::string trace;
    t->SetInterval(100);
    t->SetEnabled(true);
    t->OnTick = [&, raw = t.get()] {
        trace += "tick;";
        EXPECT_EQ(raw, t.get());
        t.reset();
        trace += "after;";  // the handler goes on after its timer is gone
    };
    loop.RunUntil([&] { return !t; });
    EXPECT_EQ(trace, "tick;after;");
    EXPECT_FALSE(loop.DoEvents()) << "its next period was dropped with it";
}

TEST_F(VirtualLoop, TimerDestroyedByAnotherTickInTheSamePump) {
    Timer first;
    auto second = std::make_unique<Timer>();
    int secondTicks = 0;
    first.OnTick = [&] { second.reset(); first.SetEnabled(false); };
    second->OnTick = [&] { ++secondTicks; };
    first.SetInterval(100);
    second->SetInterval(100);
    first.SetEnabled(true);
    second->SetEnabled(true);
    loop.RunUntil([&] { return !second; });
    EXPECT_EQ(secondTicks, 0);
    EXPECT_FALSE(loop.DoEvents());
}

TEST_F(VirtualLoop, BusyTimerDoesNotTickReentrantly) {
    Timer periodic, other;
    WaitTimer nested;
    int depth = 0, maxDepth = 0, otherTicks = 0;
    std::vector<Millis> ticks;
    periodic.OnTick = [&] {
        ticks.push_back(loop.Now());
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (ticks.size() == 1) nested.Wait(1000);  // pumps through five of its periods
        --depth;
    };
    other.OnTick = [&] { ++otherTicks; };
    periodic.SetInterval(200);
    other.SetInterval(300);
    periodic.SetEnabled(true);
    other.SetEnabled(true);
    loop.RunUntil([&] { return ticks.size() == 3; });
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(otherTicks, 4) << "other timers keep ticking during the nested wait (1300, 1600, 1900, 2200)";
    // The held-back tick comes at the first pump after the handler returned.
    EXPECT_EQ(ticks, (std::vector<Millis>{1200, 2200, 2400}));
}

TEST_F(VirtualLoop, PostedTasksRunInOrderAndLaterPostsWaitForTheNextPump) {
    std::string trace;
    loop.Post([&] {
        trace += "a";
        loop.Post([&] { trace += "late"; });
    });
    loop.Post([&] { trace += "b"; });
    loop.Post([&] { trace += "c"; });
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(trace, "abc");
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(trace, "abclate");
    EXPECT_EQ(loop.Now(), 1000);
}

TEST_F(VirtualLoop, OnePumpEndsEvenWhenTasksRepostThemselves) {
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        loop.Post(again);
        loop.PostDelayed(0, [] {});
    };
    loop.Post(again);
    loop.DoEvents();
    EXPECT_EQ(runs, 1);
    loop.DoEvents();
    EXPECT_EQ(runs, 2);
}

TEST_F(VirtualLoop, OrderWithinAPump) {
    std::string trace;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const uint64_t watch = loop.WatchFd(fds[0], [&] {
        char c;
        ASSERT_EQ(read(fds[0], &c, 1), 1);
        trace += "fd;";
    });
    Timer t;
    t.OnTick = [&] { trace += "timer;"; t.SetEnabled(false); };
    loop.PostDelayed(100, [&] { trace += "late;"; });
    loop.PostDelayed(50, [&] { trace += "d50;"; });
    t.SetInterval(50);
    t.SetEnabled(true);
    loop.PostDelayed(50, [&] { trace += "d50b;"; });
    loop.Post([&] { trace += "post;"; });
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    scope.Clock().Advance(50);
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(trace, "post;d50;timer;d50b;fd;") << "ties at one deadline run in creation order";
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(trace, "post;d50;timer;d50b;fd;late;");
    EXPECT_EQ(loop.Now(), 1100);
    loop.Unwatch(watch);
    close(fds[0]);
    close(fds[1]);
}

TEST_F(VirtualLoop, DelayedTasksRunAtTheirTimesAndCanBeCancelled) {
    std::vector<std::pair<char, Millis>> runs;
    auto record = [&](char c) { return [&, c] { runs.push_back({c, loop.Now()}); }; };
    loop.PostDelayed(300, record('c'));
    loop.PostDelayed(100, record('a'));
    const uint64_t dropped = loop.PostDelayed(200, record('x'));
    loop.PostDelayed(200, record('b'));
    loop.PostDelayed(-50, record('n'));  // a negative delay is "now"
    uint64_t cancelledLater = 0;
    loop.PostDelayed(250, [&] { loop.Cancel(cancelledLater); });
    cancelledLater = loop.PostDelayed(250, record('y'));  // same pump, cancelled just before
    loop.Cancel(dropped);
    loop.Cancel(dropped);  // twice is harmless
    loop.Cancel(987654);   // unknown id is harmless
    loop.RunUntil([&] { return runs.size() == 4; });
    EXPECT_EQ(runs, (std::vector<std::pair<char, Millis>>{{'n', 1000}, {'a', 1100}, {'b', 1200}, {'c', 1300}}));
    EXPECT_FALSE(loop.DoEvents());
}

TEST_F(VirtualLoop, IdleHandlersActBeforeTimeJumps) {
    WaitTimer w;
    std::vector<Millis> idleCalls;
    int acted = 0;
    // A scripted operator: acts twice, at the first idle moments, then only watches.
    const uint64_t id = loop.AddIdleHandler([&] {
        idleCalls.push_back(loop.Now());
        if (acted == 2) return false;
        ++acted;
        return true;
    });
    w.Wait(3000);
    EXPECT_EQ(loop.Now(), 4000);
    ASSERT_GE(idleCalls.size(), 3u);
    EXPECT_EQ(idleCalls[0], 1000);
    EXPECT_EQ(idleCalls[1], 1000);
    EXPECT_EQ(idleCalls[2], 1000) << "time moved only once no handler acted";
    loop.RemoveIdleHandler(id);
    const size_t calls = idleCalls.size();
    EXPECT_FALSE(loop.DoEvents());
    EXPECT_EQ(idleCalls.size(), calls);
}

TEST_F(VirtualLoop, IdleHandlerIsNotReenteredByANestedPump) {
    WaitTimer w;
    int depth = 0, maxDepth = 0, calls = 0;
    loop.AddIdleHandler([&] {
        ++calls;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (calls == 1) w.Wait(500);  // an operator action that starts a command
        --depth;
        return calls == 1;
    });
    loop.DoEvents();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(loop.Now(), 1500);
}

TEST_F(VirtualLoop, RunUntilFailsClearlyWhenNothingIsLeft) {
    int ticks = 0;
    Timer t;
    t.OnTick = [&] { ++ticks; t.SetEnabled(false); };
    t.SetInterval(60000);
    t.SetEnabled(true);
    loop.RunUntil([&] { return ticks == 1; });
    EXPECT_EQ(loop.Now(), 61000);
    try {
        loop.RunUntil([] { return false; });
        FAIL() << "no stall reported";
    } catch (const LoopStall& e) {
        EXPECT_STREQ(e.what(), "Message loop stalled: nothing is left to do: no task, timer, descriptor or idle "
                               "handler can end the wait");
    }
    loop.RunUntil([] { return true; });  // already done: no pump, no error
}

TEST_F(VirtualLoop, ExceptionFromAHandlerLeavesTheLoopUsable) {
    Timer t;
    int ticks = 0;
    t.OnTick = [&] {
        if (++ticks == 1) throw std::logic_error("boom");
    };
    t.SetInterval(100);
    t.SetEnabled(true);
    EXPECT_THROW(loop.RunUntil([] { return false; }), std::logic_error);
    loop.RunUntil([&] { return ticks == 2; });
    EXPECT_EQ(loop.Now(), 1200) << "the timer was not left marked busy";
}

TEST(VirtualLoopReset, TimerOfAnOlderLoopStopsUntilArmedAgainThenTicksOnTheNewOne) {
    auto early = std::make_unique<VirtualTimeScope>(0);
    std::vector<Millis> ticks;
    auto t = std::make_unique<Timer>();
    t->OnTick = [&] { ticks.push_back(MessageLoop::Current().Now()); };
    t->SetInterval(100);
    t->SetEnabled(true);
    MessageLoop::Current().Post([guard = std::make_shared<Timer>()] {});  // a timer held by a dropped task

    early.reset();  // back to a fresh real-clock loop
    VirtualTimeScope later(1000);
    EXPECT_FALSE(MessageLoop::Current().DoEvents()) << "not armed since the reset: silent";
    t->SetInterval(50);
    MessageLoop::Current().RunUntil([&] { return ticks.size() == 2; });
    EXPECT_EQ(ticks, (std::vector<Millis>{1050, 1100}));
    t->SetEnabled(false);
    t->SetEnabled(true);
    t.reset();
    EXPECT_FALSE(MessageLoop::Current().DoEvents()) << "a destroyed timer leaves nothing on the new loop";
}

TEST(VirtualLoopReset, TimerArmedFromItsOwnTickAcrossAResetIsNotReentered) {
    auto early = std::make_unique<VirtualTimeScope>(0);
    int ticks = 0;
    int depth = 0, maxDepth = 0;
    Timer t;
    t.OnTick = [&] {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        if (ticks == 1) {
            early.reset();
            MessageLoop::Reset(std::make_shared<VirtualClock>(0));
            t.SetInterval(10);  // armed on the new loop while this tick still runs
            MessageLoop::Current().DoEvents();
            MessageLoop::Current().DoEvents();
        }
        --depth;
    };
    t.SetInterval(100);
    t.SetEnabled(true);
    MessageLoop::Current().RunUntil([&] { return ticks == 1; });
    MessageLoop::Current().RunUntil([&] { return ticks == 2; });
    EXPECT_EQ(maxDepth, 1);
    MessageLoop::Reset();
}

TEST(VirtualLoopReset, IdsKeptFromAnOlderLoopNameNothingInTheNewOne) {
    auto early = std::make_unique<VirtualTimeScope>(0);
    const uint64_t oldTask = MessageLoop::Current().PostDelayed(10, [] {});
    const uint64_t oldIdle = MessageLoop::Current().AddIdleHandler([] { return false; });
    early.reset();
    VirtualTimeScope later(0);
    MessageLoop& loop = MessageLoop::Current();
    int runs = 0, idle = 0;
    loop.PostDelayed(10, [&] { ++runs; });
    loop.AddIdleHandler([&] { ++idle; return false; });
    loop.Cancel(oldTask);
    loop.RemoveIdleHandler(oldIdle);
    loop.RunUntil([&] { return runs == 1; });
    EXPECT_EQ(idle, 1);
}

TEST(VirtualLoopReset, ResetFromInsideAPumpIsSafe) {
    VirtualTimeScope scope(0);
    std::string trace;
    MessageLoop& old = MessageLoop::Current();
    old.Post([&] {
        trace += "a";
        MessageLoop::Reset(std::make_shared<VirtualClock>(5));
    });
    old.Post([&] { trace += "dropped"; });
    old.DoEvents();
    EXPECT_EQ(trace, "a");
    EXPECT_EQ(MessageLoop::Current().Now(), 5);
    EXPECT_FALSE(MessageLoop::Current().DoEvents());

    // A RunUntil whose loop is replaced under it carries on in the new loop.
    bool done = false;
    MessageLoop::Current().Post([&] {
        MessageLoop::Reset(std::make_shared<VirtualClock>(0));
        MessageLoop::Current().PostDelayed(700, [&] { done = true; });
    });
    MessageLoop::Current().RunUntil([&] { return done; });
    EXPECT_EQ(MessageLoop::Current().Now(), 700);
}

TEST_F(VirtualLoop, DescriptorsArePolledUnderTheVirtualClock) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string got;
    uint64_t watch = 0;
    watch = loop.WatchFd(fds[0], [&] {
        char buf[16];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0) got.append(buf, static_cast<size_t>(n));
        if (got == "abc") loop.Unwatch(watch);  // unwatching from its own callback
    });
    EXPECT_FALSE(loop.DoEvents());
    ASSERT_EQ(write(fds[1], "ab", 2), 2);
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(got, "ab");
    ASSERT_EQ(write(fds[1], "c", 1), 1);
    EXPECT_TRUE(loop.DoEvents());
    ASSERT_EQ(write(fds[1], "d", 1), 1);
    EXPECT_FALSE(loop.DoEvents());
    EXPECT_EQ(got, "abc");
    EXPECT_EQ(loop.Now(), 1000);
    close(fds[0]);
    close(fds[1]);
}

}  // namespace
}  // namespace plat
