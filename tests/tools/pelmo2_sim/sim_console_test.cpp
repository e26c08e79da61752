// The console and the start-up settings against the real driver on the
// virtual clock: what the technician tells the simulator is what the driver
// then meets on the wire.

#include "tools/pelmo2_sim/sim_console.h"

#include <gtest/gtest.h>

#include "driver/cancel_flag.h"
#include "driver/pelmo2_vti.h"
#include "platform/loop/message_loop.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"
#include "tools/pelmo2_sim/sim_settings.h"

namespace {

class SimConsoleTest : public ::testing::Test {
protected:
    SimConsoleTest() {
        drv::ResetCancelFlagForTests();
        vti_->OnCommunicationError = [this](const std::shared_ptr<drv::CPelmo2VTIError>& e) {
            events_.push_back(e->ErrorNumber());
        };
        vti_->StartRemote();
    }
    ~SimConsoleTest() override {
        vti_->EndRemote();
        drv::ResetCancelFlagForTests();
    }
    plat::Millis Now() const { return plat::MessageLoop::Current().Now(); }

    plat::VirtualTimeScope time_;
    serialtest::FakeSerialScope serial_{1};
    serialtest::SimulatedInstrument sim_{serial_};
    sim::SimConsole console_{sim_};
    std::shared_ptr<drv::CPelmo2VTI> vti_ = std::make_shared<drv::CPelmo2VTI>();
    std::vector<int> events_;
};

TEST_F(SimConsoleTest, MakeNamesAndProbeReportFromSettingsReachTheDriver) {
    sim::SimSettings s = sim::SimSettings::Parse(
        {"--make", "12=ACME", "--probe-line", "PROBE TEST RESULTS", "--probe-line", "ir = 12.5", "--probe-line",
         "PHOTO: R=123 IR=456", "--probe-line", "PIN 1 TO PIN 3 = 1500"});
    s.ApplyTo(sim_);
    EXPECT_EQ(vti_->SetMake("12"), "ACME");

    drv::KeyedCollection probe;
    const plat::Millis start = Now();
    EXPECT_EQ(vti_->GetProbeResults(&probe), *s.probeReport);
    EXPECT_TRUE(events_.empty());
    // 3 s before, 3 s after the write, then the report must stay quiet for 1 s.
    EXPECT_EQ(Now() - start, 7000);
    ASSERT_EQ(probe.Count(), 4);
    EXPECT_EQ(probe.Item("IR").AsString(), "IR=12.5");
    EXPECT_EQ(probe.Item("PHOTO-R").AsString(), "PHOTO-R=123");
    EXPECT_EQ(probe.Item("PHOTO-IR").AsString(), "PHOTO-IR=456");
    EXPECT_EQ(probe.Item("PIN1-PIN3").AsString(), "PIN1-PIN3=1.5");
}

TEST_F(SimConsoleTest, SilentAndAnswerSwitchTheReplies) {
    EXPECT_EQ(console_.Execute("silent"), "mode: silent\n");
    EXPECT_EQ(vti_->GetVersion(), "");
    EXPECT_EQ(events_, std::vector<int>{drv::ecsMTINotFound});
    EXPECT_EQ(sim_.CommandTexts(), std::vector<std::string>{"[VER]"}) << "a silent simulator still takes commands";

    EXPECT_EQ(console_.Execute("  ANSWER \r"), "mode: answering\n");
    EXPECT_EQ(vti_->GetVersion(), sim_.VersionReply());
    EXPECT_EQ(events_.size(), 1u);
}

TEST_F(SimConsoleTest, GarbageCompletesLinesButNeverTheProbeReport) {
    console_.Execute("garbage");
    const std::string version = vti_->GetVersion();
    EXPECT_TRUE(events_.empty()) << "a noise line ends in CR LF, as a version line does";
    ASSERT_GE(version.size(), 18u);
    EXPECT_NE(version, sim_.VersionReply());
    EXPECT_EQ(version.substr(version.size() - 2), "\r\n");
    EXPECT_EQ(version.find_first_of("[]\r"), version.size() - 2);

    drv::KeyedCollection probe;
    EXPECT_EQ(vti_->GetProbeResults(&probe), "");
    EXPECT_EQ(events_, std::vector<int>{drv::ecsMTINotReady});
    EXPECT_EQ(probe.Count(), 0);

    console_.Execute("answer");
    EXPECT_EQ(vti_->SetMake("5"), "Masimo");
}

TEST_F(SimConsoleTest, UnpromptedNoiseIsDiscardedByTheNextCommand) {
    EXPECT_EQ(console_.Execute("noise 100"), "sending 100 characters of noise\n");
    EXPECT_EQ(vti_->GetVersion(), sim_.VersionReply());
    EXPECT_TRUE(events_.empty());
    EXPECT_NE(console_.Execute("noise 0").find("from 1 to"), std::string::npos);
    EXPECT_NE(console_.Execute("noise lots").find("from 1 to"), std::string::npos);
}

TEST_F(SimConsoleTest, MakeRenamesACustomSlotAndRefusesOthers) {
    EXPECT_EQ(console_.Execute("make 13 Oxi Three"), "make 13: Oxi Three\n");
    EXPECT_EQ(vti_->SetMake("13"), "Oxi Three");
    EXPECT_NE(console_.Execute("make 3 Other").find("10 to 15"), std::string::npos);
    EXPECT_NE(console_.Execute("make 13").find("usage"), std::string::npos);
    EXPECT_EQ(vti_->SetMake("3"), "Datex");
    EXPECT_NE(console_.Status().find("make 13: DownLoad Make: Oxi Three\n"), std::string::npos);
}

TEST_F(SimConsoleTest, QuitAndUnknownLines) {
    EXPECT_EQ(console_.Execute(""), "");
    EXPECT_NE(console_.Execute("slient").find("unknown command \"slient\""), std::string::npos);
    EXPECT_NE(console_.Execute("silent now").find("unknown command"), std::string::npos);
    EXPECT_FALSE(sim_.Silent());
    EXPECT_FALSE(console_.QuitRequested());
    console_.Execute("quit");
    EXPECT_TRUE(console_.QuitRequested());
}

}  // namespace
