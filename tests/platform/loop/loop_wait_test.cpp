// Waits under the virtual clock fail loudly instead of hanging: when nothing
// is left to do, and when something keeps the clock moving for longer than
// the stall limit, counted from the start of each wait.
#include "platform/loop/loop_wait.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/loop/loop_stall.h"
#include "platform/loop/message_loop.h"

namespace plat {
namespace {

constexpr Millis kHour = 60 * 60 * 1000;

// What a modal window throws when its wait stalls.
class WindowStall : public AbortError {
public:
    using AbortError::AbortError;
};

class StallLimit : public ::testing::Test {
protected:
    StallLimit() {
        progress.OnTick = [this] { ++ticks; };
        progress.SetInterval(100);
        progress.SetEnabled(true);
    }
    VirtualTimeScope scope{0};
    MessageLoop& loop = MessageLoop::Current();
    Timer progress;  // a periodic timer that keeps virtual time moving
    int ticks = 0;
};

TEST_F(StallLimit, RunUntilWithAPeriodicTimerFailsAfterADayOfVirtualTime) {
    EXPECT_EQ(loop.StallLimit(), 24 * kHour);
    progress.SetInterval(1000);  // a day of ticks, few enough to stay quick
    try {
        loop.RunUntil([] { return false; });
        FAIL() << "the wait never ends and must not hang";
    } catch (const LoopStall& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("Message loop stalled: more than 24 h of virtual time passed"), std::string::npos) << what;
        EXPECT_NE(what.find("periodic timer"), std::string::npos) << what;
    }
    EXPECT_GT(loop.Now(), 24 * kHour);
    EXPECT_LE(loop.Now(), 24 * kHour + 1000) << "fails at the first pump past the limit";
}

TEST_F(StallLimit, ModalStyleWaitThrowsTheCallersOwnErrorCountedFromItsOwnStart) {
    loop.RunUntil([&] { return loop.Now() >= 60 * 1000; });  // earlier waits do not count
    loop.SetStallLimit(10 * 1000);
    bool visible = true;
    try {
        LoopWait wait([](const std::string& reason) { throw WindowStall("The window \"frmX\" waits: " + reason); });
        while (visible) wait.Pump();
        FAIL() << "no stall";
    } catch (const WindowStall& e) {
        EXPECT_NE(std::string(e.what()).find("The window \"frmX\" waits: more than 10 s of virtual time"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_GT(loop.Now(), 70 * 1000);
    EXPECT_LE(loop.Now(), 70 * 1000 + 100);
}

TEST_F(StallLimit, AWaitEndingOnItsLastPumpIsNoStall) {
    loop.SetStallLimit(1000);
    Timer done;
    bool fired = false;
    done.OnTick = [&] { fired = true; done.SetEnabled(false); };
    done.SetInterval(1000);
    done.SetEnabled(true);
    EXPECT_NO_THROW(loop.RunUntil([&] { return fired; }));
    EXPECT_EQ(loop.Now(), 1000);

    // A single jump far beyond the limit ends the wait too: the limit is checked before a pump.
    done.SetInterval(5000);
    done.SetEnabled(true);
    fired = false;
    progress.SetEnabled(false);
    EXPECT_NO_THROW(loop.RunUntil([&] { return fired; }));
    EXPECT_EQ(loop.Now(), 6000);
}

TEST_F(StallLimit, NestedWaitsEachCountFromTheirOwnStart) {
    loop.SetStallLimit(10 * 1000);
    std::string innerError;
    loop.PostDelayed(8000, [&] {
        try {
            loop.RunUntil([] { return false; });
        } catch (const LoopStall& e) {
            innerError = e.what();
        }
    });
    bool outerDone = false;
    loop.PostDelayed(8500, [&] { outerDone = true; });
    // The inner wait starting at 8 s may run to 18 s, past the outer's own limit.
    loop.RunUntil([&] { return outerDone; });
    EXPECT_FALSE(innerError.empty());
    EXPECT_GT(loop.Now(), 18 * 1000);
    EXPECT_LE(loop.Now(), 18 * 1000 + 100);
}

TEST_F(StallLimit, NothingLeftToDoStallsAtOnceWithoutMovingTime) {
    progress.SetEnabled(false);
    LoopWait wait;
    try {
        wait.Pump();
        FAIL() << "no stall";
    } catch (const LoopStall& e) {
        EXPECT_NE(std::string(e.what()).find("nothing is left to do"), std::string::npos);
    }
    EXPECT_EQ(loop.Now(), 0);
}

TEST_F(StallLimit, AResetInsideTheWaitStartsTheCountAgainOnTheNewLoop) {
    loop.SetStallLimit(10 * 1000);
    Timer later;  // made before the reset, armed after it
    int laterTicks = 0;
    later.OnTick = [&] { ++laterTicks; };
    loop.PostDelayed(9000, [&] {
        MessageLoop::Reset(std::make_shared<VirtualClock>(500));
        MessageLoop::Current().SetStallLimit(5000);
        later.SetInterval(1000);
        later.SetEnabled(true);
    });
    try {
        loop.RunUntil([] { return false; });
        FAIL() << "no stall";
    } catch (const LoopStall& e) {
        EXPECT_NE(std::string(e.what()).find("5 s of virtual time"), std::string::npos) << e.what();
    }
    EXPECT_EQ(laterTicks, 6) << "the re-armed timer ticked on the new loop, up to the first pump past 5.5 s";
    EXPECT_EQ(MessageLoop::Current().Now(), 6500);
}

TEST_F(StallLimit, NoWaitPumpsHonourTheLimitToo) {
    loop.SetStallLimit(1000);
    LoopWait wait;
    scope.Clock().Advance(1001);
    EXPECT_THROW(wait.PumpNoWait(), LoopStall);
}

TEST(StallLimitText, NamesTheLimitInItsLargestWholeUnit) {
    EXPECT_EQ(LoopWait::DescribeLimit(24 * kHour), "24 h of virtual time");
    EXPECT_EQ(LoopWait::DescribeLimit(90 * 1000), "90 s of virtual time");
    EXPECT_EQ(LoopWait::DescribeLimit(1500), "1500 ms of virtual time");
    EXPECT_EQ(LoopWait::DescribeLimit(0), "0 ms of virtual time");
}

TEST(StallLimitRealClock, IsNeverApplied) {
    MessageLoop::Reset();
    MessageLoop::Current().SetStallLimit(0);
    LoopWait wait;
    MessageLoop::Current().Post([] {});
    EXPECT_TRUE(wait.Pump());
    EXPECT_FALSE(wait.PumpNoWait()) << "no stall: the real world may still act";
    MessageLoop::Reset();
}

}  // namespace
}  // namespace plat
