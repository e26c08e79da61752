// The driver's pumps pass over failures of other people's handlers, but a
// stalled wait or a failing test harness leaves them; a driver-style wait
// loop fails after the stall limit instead of running forever.
#include "driver/pump.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/loop/loop_stall.h"
#include "platform/loop/loop_wait.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/form.h"

namespace drvtest {
namespace {

class DriverPump : public ::testing::Test {
protected:
    plat::VirtualTimeScope time{0};
    plat::MessageLoop& loop = plat::MessageLoop::Current();
};

TEST_F(DriverPump, HandlerFailuresArePassedOverButAStallInsideThePumpLeavesIt) {
    loop.Post([] { throw std::runtime_error("someone else's handler"); });
    EXPECT_NO_THROW(drv::PumpPending());
    loop.PostDelayed(100, [] { throw std::runtime_error("again"); });
    EXPECT_NO_THROW(drv::PumpOnce());
    EXPECT_EQ(loop.Now(), 100);

    // A handler run by the driver's pump waits for something that never comes.
    loop.PostDelayed(100, [this] { loop.RunUntil([] { return false; }); });
    EXPECT_THROW(drv::PumpOnce(), plat::LoopStall);
    loop.Post([this] { loop.RunUntil([] { return false; }); });
    EXPECT_THROW(drv::PumpPending(), plat::LoopStall);
}

TEST_F(DriverPump, WaitLoopWithAPeriodicTimerFailsAfterTheStallLimit) {
    plat::Timer blink;  // keeps virtual time moving
    blink.OnTick = [] {};
    blink.SetInterval(250);
    blink.SetEnabled(true);
    loop.SetStallLimit(60 * 1000);
    bool replied = false;  // nothing will ever set it
    try {
        plat::LoopWait wait;
        while (!replied) drv::PumpOnce(&wait);
        FAIL() << "the wait must fail, not run forever";
    } catch (const plat::LoopStall& e) {
        EXPECT_NE(std::string(e.what()).find("more than 60 s of virtual time"), std::string::npos) << e.what();
    }
    EXPECT_LE(loop.Now(), 60 * 1000 + 250);

    plat::LoopWait cancelled;
    time.Clock().Advance(60 * 1000 + 1);
    EXPECT_THROW(drv::PumpPending(&cancelled), plat::LoopStall) << "a wait's no-wait pumps count too";
}

TEST_F(DriverPump, ModalWindowNobodyAnswersDuringADriverWaitFailsTheTest) {
    plat::ui::Form dialog("frmQuestion");
    loop.PostDelayed(3000, [&] { dialog.Show(plat::ui::ShowMode::Modal); });
    plat::Timer wait;  // the driver's delay before a command
    wait.OnTick = [&] { wait.SetInterval(0); };
    wait.SetInterval(5000);
    wait.SetEnabled(true);
    try {
        while (wait.Interval() != 0) drv::PumpOnce();
        FAIL() << "the stalled dialog was passed over";
    } catch (const plat::ui::ModalStall& e) {
        EXPECT_NE(std::string(e.what()).find("frmQuestion"), std::string::npos) << e.what();
    }
}

TEST_F(DriverPump, WaitWithNothingLeftFailsAtOnce) {
    plat::LoopWait wait;
    EXPECT_THROW(drv::PumpOnce(&wait), plat::LoopStall);
    EXPECT_NO_THROW(drv::PumpOnce()) << "a bare pump keeps its old meaning: nothing ran";
}

}  // namespace
}  // namespace drvtest
