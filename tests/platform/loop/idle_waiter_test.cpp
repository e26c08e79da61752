// The seam a window system uses to own the thread's waiting: the loop hands
// an idle pump to an IdleWaiter under the real clock, wakes it for new work,
// and exposes what it waits for; DoEventsNoWait never waits.
#include "platform/loop/message_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace plat {
namespace {

// Records each wait; runs `during` inside it, as a dispatcher runs handlers.
class RecordingWaiter : public IdleWaiter {
public:
    struct Call {
        Millis timeout;
        std::vector<int> fds;
    };
    void Wait(Millis timeoutMs, const std::vector<int>& fds) override {
        calls.push_back({timeoutMs, fds});
        if (during) {
            auto action = std::move(during);
            during = nullptr;
            action();
        }
    }
    void Wake() override { ++wakes; }

    std::vector<Call> calls;
    std::function<void()> during;
    int wakes = 0;
};

class Pipe {
public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    ~Pipe() {
        close(fds_[0]);
        close(fds_[1]);
    }
    int ReadEnd() const { return fds_[0]; }
    void Fill() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }

private:
    int fds_[2] = {-1, -1};
};

class WithWaiter : public ::testing::Test {
protected:
    void SetUp() override {
        MessageLoop::Reset();
        MessageLoop::Current().SetIdleWaiter(waiter);
    }
    void TearDown() override { MessageLoop::Reset(); }
    std::shared_ptr<RecordingWaiter> waiter = std::make_shared<RecordingWaiter>();
    MessageLoop& loop() { return MessageLoop::Current(); }
};

TEST_F(WithWaiter, IdlePumpWaitsInTheWaiterForTheNextDeadlineAndTheWatchedDescriptors) {
    Pipe p;
    const uint64_t watch = loop().WatchFd(p.ReadEnd(), [] {});
    EXPECT_FALSE(loop().DoEvents());
    ASSERT_EQ(waiter->calls.size(), 1u);
    EXPECT_EQ(waiter->calls[0].timeout, -1) << "nothing scheduled: no deadline";
    EXPECT_EQ(waiter->calls[0].fds, std::vector<int>{p.ReadEnd()});

    Timer t;
    t.SetInterval(60000);
    t.SetEnabled(true);
    loop().DoEvents();
    ASSERT_EQ(waiter->calls.size(), 2u);
    EXPECT_GT(waiter->calls[1].timeout, 59000);
    EXPECT_LE(waiter->calls[1].timeout, 60000);
    loop().Unwatch(watch);
}

TEST_F(WithWaiter, NoWaitWhenWorkIsDueAndNoneAfterAHandlerRan) {
    int ran = 0;
    loop().Post([&] { ++ran; });
    EXPECT_TRUE(loop().DoEvents());
    EXPECT_EQ(ran, 1);
    loop().AddIdleHandler([] { return true; });
    EXPECT_TRUE(loop().DoEvents()) << "an idle handler acted";
    EXPECT_TRUE(waiter->calls.empty());
}

TEST_F(WithWaiter, NewWorkFromAHandlerInsideTheWaitWakesIt) {
    int ran = 0;
    waiter->during = [&] { loop().Post([&] { ++ran; }); };
    EXPECT_TRUE(loop().DoEvents()) << "the posted task runs in the same pump";
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(waiter->wakes, 1);

    Pipe p;
    waiter->during = [&] { loop().WatchFd(p.ReadEnd(), [] {}); };
    loop().DoEvents();
    EXPECT_EQ(waiter->wakes, 2) << "a new descriptor must be watched by the waiter";

    Timer t;
    t.SetInterval(60000);
    t.SetEnabled(true);
    Timer earlier;
    waiter->during = [&] {
        earlier.SetInterval(10);
        earlier.SetEnabled(true);
    };
    loop().DoEvents();
    EXPECT_EQ(waiter->wakes, 3) << "a deadline earlier than the one waited for";
    Timer later;
    waiter->during = [&] {
        later.SetInterval(120000);
        later.SetEnabled(true);
    };
    loop().DoEvents();
    EXPECT_EQ(waiter->wakes, 3) << "a later deadline needs no wake";
}

TEST_F(WithWaiter, WorkOutsideAWaitDoesNotWakeTheWaiter) {
    loop().Post([] {});
    Pipe p;
    loop().Unwatch(loop().WatchFd(p.ReadEnd(), [] {}));
    EXPECT_EQ(waiter->wakes, 0);
}

TEST_F(WithWaiter, ReadyDescriptorRunsAfterTheWait) {
    Pipe p;
    int calls = 0;
    const uint64_t watch = loop().WatchFd(p.ReadEnd(), [&] { ++calls; });
    waiter->during = [&] { p.Fill(); };
    EXPECT_TRUE(loop().DoEvents());
    EXPECT_EQ(calls, 1);
    loop().Unwatch(watch);
}

TEST(IdleWaiterUnderVirtualTime, IsNeverCalled) {
    VirtualTimeScope time;
    auto waiter = std::make_shared<RecordingWaiter>();
    MessageLoop::Current().SetIdleWaiter(waiter);
    Timer t;
    int ticks = 0;
    t.OnTick = [&] { ++ticks; };
    t.SetInterval(1000);
    t.SetEnabled(true);
    MessageLoop::Current().RunUntil([&] { return ticks == 3; });
    EXPECT_TRUE(waiter->calls.empty());
    EXPECT_EQ(MessageLoop::Current().Now(), 3000);
}

TEST(LoopReadOuts, NextWaitAndWatchedDescriptors) {
    VirtualTimeScope time;
    MessageLoop& loop = MessageLoop::Current();
    EXPECT_EQ(loop.NextWaitMs(), -1);
    Timer t;
    t.SetInterval(500);
    t.SetEnabled(true);
    EXPECT_EQ(loop.NextWaitMs(), 500);
    time.Clock().Advance(200);
    EXPECT_EQ(loop.NextWaitMs(), 300);
    time.Clock().Advance(400);
    EXPECT_EQ(loop.NextWaitMs(), 0) << "overdue";
    t.SetEnabled(false);
    loop.Post([] {});
    EXPECT_EQ(loop.NextWaitMs(), 0) << "a posted task is due now";
    loop.DoEventsNoWait();
    EXPECT_EQ(loop.NextWaitMs(), -1);

    Pipe a, b;
    std::vector<int> seenInside;
    const uint64_t wa = loop.WatchFd(a.ReadEnd(), [&] { seenInside = loop.WatchedFds(); });
    const uint64_t wb = loop.WatchFd(b.ReadEnd(), [] {});
    EXPECT_EQ(loop.WatchedFds(), (std::vector<int>{a.ReadEnd(), b.ReadEnd()}));
    a.Fill();
    loop.DoEventsNoWait();
    EXPECT_EQ(seenInside, std::vector<int>{b.ReadEnd()}) << "a descriptor whose handler runs is not waited on";
    loop.Unwatch(wa);
    loop.Unwatch(wb);
}

TEST(DoEventsNoWait, RunsWhatIsDueButNeverIdlesOrMovesTime) {
    VirtualTimeScope time(1000);
    MessageLoop& loop = MessageLoop::Current();
    std::vector<int> order;
    int idle = 0;
    loop.AddIdleHandler([&] { ++idle; return true; });
    loop.PostDelayed(0, [&] { order.push_back(2); });
    loop.PostDelayed(5000, [&] { order.push_back(3); });
    loop.Post([&] { order.push_back(1); });
    EXPECT_TRUE(loop.DoEventsNoWait());
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_FALSE(loop.DoEventsNoWait());
    EXPECT_EQ(loop.Now(), 1000) << "no jump to the next deadline";
    EXPECT_EQ(idle, 0);
    time.Clock().Advance(5000);
    EXPECT_TRUE(loop.DoEventsNoWait());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(DoEventsNoWait, ReturnsAtOnceUnderTheRealClock) {
    MessageLoop::Reset();
    MessageLoop& loop = MessageLoop::Current();
    Timer t;
    t.SetInterval(60000);
    t.SetEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(loop.DoEventsNoWait());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500))
        << "twenty pumps with nothing due must not block";
    MessageLoop::Reset();
}

}  // namespace
}  // namespace plat
