// The fake line and the simulated instrument: timing, parsing and failures
// that other tests rely on.

#include "platform/loop/message_loop.h"
#include "platform/serial/instrument_link.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"

#include <gtest/gtest.h>

namespace {

using serialtest::FakeSerialScope;
using serialtest::SimulatedInstrument;

constexpr char kSettings[] = "9600,N,8,1";

// Moves the virtual clock to `t`, running whatever falls due on the way.
void RunTo(plat::Millis t) {
    auto& loop = plat::MessageLoop::Current();
    loop.PostDelayed(t - loop.Now(), [] {});
    loop.RunUntil([&] { return loop.Now() >= t; });
}

std::string ReadAll(plat::SerialPort& port) {
    std::string out;
    EXPECT_EQ(port.Read(out), plat::PortError::None);
    return out;
}

class FakeSerialTest : public ::testing::Test {
protected:
    plat::VirtualTimeScope time_{1000};
    FakeSerialScope fake_;
    SimulatedInstrument sim_{fake_};
    std::unique_ptr<plat::SerialPort> port_ = plat::CreateSerialPort();
};

TEST_F(FakeSerialTest, AnswersVersionAfterTheReplyDelayAndRecordsTheWire) {
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    ASSERT_EQ(port_->Write("[VER]"), plat::PortError::None);
    RunTo(1000 + SimulatedInstrument::kDefaultReplyDelay - 1);
    EXPECT_EQ(port_->InBufferCount(), 0);
    RunTo(1000 + SimulatedInstrument::kDefaultReplyDelay);
    EXPECT_EQ(ReadAll(*port_), sim_.VersionReply());
    EXPECT_EQ(sim_.VersionReply().substr(sim_.VersionReply().size() - 2), "\r\n");

    ASSERT_EQ(sim_.Commands().size(), 1u);
    EXPECT_EQ(sim_.Commands()[0].time, 1000);
    ASSERT_EQ(fake_.Line().Writes().size(), 1u);
    EXPECT_EQ(fake_.Line().Writes()[0].time, 1000);
    EXPECT_EQ(fake_.Line().Opens()[0].settings, kSettings);
}

TEST_F(FakeSerialTest, TakesCommandsOutOfTheByteStream) {
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    port_->Write("[BP");
    port_->Write("M75]noise[AC2.500][Q][SCRF][OXY97][TLC3500]");
    EXPECT_EQ(sim_.CommandTexts(),
              (std::vector<std::string>{"[BPM75]", "[AC2.500]", "[Q]", "[SCRF]", "[OXY97]", "[TLC3500]"}));
    EXPECT_EQ(sim_.Value("BPM"), "75");
    EXPECT_EQ(sim_.Value("AC"), "2.500");
    EXPECT_EQ(sim_.Value("TLC"), "3500");
    EXPECT_EQ(sim_.Value("SCRF"), "");
    EXPECT_EQ(sim_.QuitCount(), 1);
    RunTo(5000);
    EXPECT_EQ(port_->InBufferCount(), 0) << "value commands are taken silently";
}

TEST_F(FakeSerialTest, MakeSlotsAnswerTheirNamesAndAnUploadRenamesItsSlot) {
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    std::string curve;
    for (int i = 0; i < 51; ++i) curve += "050,";
    port_->Write("[RCURVE>2:ACME     :350:300:" + curve + "]");
    port_->Write("[MAKE12]");
    port_->Write("[MAKE16]");
    RunTo(2000);
    EXPECT_EQ(ReadAll(*port_), "DownLoad Make: ACME\r\n");
    EXPECT_EQ(sim_.MakeReply(6), "DownLoad Make: Nellcor\r\n");

    ASSERT_EQ(sim_.Uploads().size(), 1u);
    const auto& u = sim_.Uploads()[0];
    EXPECT_EQ(u.slot, 2);
    EXPECT_EQ(u.name, "ACME     ");
    EXPECT_EQ(u.irdc, "350");
    EXPECT_EQ(u.rdc, "300");
    EXPECT_EQ(u.values.size(), 51u);
}

TEST_F(FakeSerialTest, ProbeReportEndsWithThreeBlanksAndCrLf) {
    const std::string& report = sim_.ProbeReport();
    ASSERT_GE(report.size(), 5u);
    EXPECT_EQ(report.substr(report.size() - 5), "   \r\n");
    EXPECT_EQ(report.find("   \r\n"), report.size() - 5) << "only the end may look complete";
}

TEST_F(FakeSerialTest, ScriptedChunksSilenceAndStaleBytes) {
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    sim_.ScriptNext("[PROBE]", SimulatedInstrument::Split("LED\r\nR=1   \r\n", {5}, {100, 1500}));
    sim_.SilenceNext("[VER]");
    sim_.SendAt(1050, "garbage");

    port_->Write("[PROBE]");
    port_->Write("[VER]");
    RunTo(1100);
    EXPECT_EQ(ReadAll(*port_), "garbageLED\r\n");
    RunTo(2499);
    EXPECT_EQ(port_->InBufferCount(), 0);
    RunTo(2500);
    EXPECT_EQ(ReadAll(*port_), "R=1   \r\n");

    port_->Write("[VER]");  // the silence was for one time only
    RunTo(3000);
    EXPECT_EQ(ReadAll(*port_), sim_.VersionReply());

    sim_.SetSilent(true);
    port_->Write("[VER]");
    RunTo(9000);
    EXPECT_EQ(port_->InBufferCount(), 0);
    EXPECT_EQ(sim_.Commands().size(), 4u);
}

TEST_F(FakeSerialTest, InputWhileClosedIsLostAndDiscardDropsInput) {
    sim_.SendAt(1100, "early");
    RunTo(1200);
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    EXPECT_EQ(port_->InBufferCount(), 0);
    EXPECT_EQ(fake_.Line().LostBytes(), 5u);

    fake_.Line().Deliver("stale");
    port_->DiscardInput();
    EXPECT_EQ(port_->InBufferCount(), 0);
}

TEST_F(FakeSerialTest, OpenFailuresAndBusy) {
    for (auto e : {plat::PortError::NoSuchDevice, plat::PortError::Busy, plat::PortError::BadSettings,
                   plat::PortError::Io}) {
        fake_.Line().FailOpen(e);
        EXPECT_EQ(port_->Open(1, kSettings), e);
        EXPECT_FALSE(port_->IsOpen());
    }
    fake_.Line().FailOpen(plat::PortError::None);
    EXPECT_EQ(port_->Open(1, "9600,N,8"), plat::PortError::BadSettings);
    EXPECT_EQ(port_->Open(0, kSettings), plat::PortError::NoSuchDevice);
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);

    auto other = plat::CreateSerialPort();
    EXPECT_EQ(other->Open(1, kSettings), plat::PortError::Busy);
    port_.reset();  // destroying an open port closes it
    EXPECT_EQ(other->Open(1, kSettings), plat::PortError::None);
    EXPECT_EQ(fake_.Line().Opens().size(), 9u);
}

TEST_F(FakeSerialTest, WriteReadAndHangUpFailures) {
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    fake_.Line().FailWritesFrom(1);
    EXPECT_EQ(port_->Write("[VER]"), plat::PortError::None);
    EXPECT_EQ(port_->Write("[VER]"), plat::PortError::Io);
    EXPECT_EQ(sim_.Commands().size(), 1u) << "a failed write reaches nobody";
    EXPECT_TRUE(fake_.Line().Writes()[1].failed);
    fake_.Line().ClearFailures();

    fake_.Line().FailReadsAt(1500);
    RunTo(1499);
    std::string out;
    EXPECT_EQ(port_->Read(out), plat::PortError::None);
    RunTo(1500);
    EXPECT_EQ(port_->Read(out), plat::PortError::Io);
    fake_.Line().ClearFailures();

    fake_.Line().HangUpAt(2000);
    RunTo(2000);
    plat::PortError e = plat::PortError::None;
    EXPECT_EQ(port_->InBufferCount(&e), -1);
    EXPECT_EQ(e, plat::PortError::Io);
    EXPECT_EQ(port_->Write("[VER]"), plat::PortError::Io);
    port_->Close();
    ASSERT_EQ(port_->Open(1, kSettings), plat::PortError::None);
    EXPECT_EQ(port_->Write("[VER]"), plat::PortError::None);
}

TEST(FakeSerialScopeTest, ConfiguresTheInstrumentLinkPort) {
    int32_t port = 0;
    {
        FakeSerialScope fake(3);
        plat::GetInstrumentPort("Pelmo2", "", port);
        EXPECT_EQ(port, 3);
    }
    plat::GetInstrumentPort("Pelmo2", "", port);
    EXPECT_NE(port, 3) << "the temporary registry is gone";
}

TEST(FakeSerialScopeTest, DeliveriesOutliveNeitherLineNorScope) {
    plat::VirtualTimeScope time;
    {
        FakeSerialScope fake;
        SimulatedInstrument sim(fake);
        auto port = plat::CreateSerialPort();
        port->Open(1, kSettings);
        port->Write("[VER]");
    }
    RunTo(10000);  // the cancelled reply must not touch the dead line
}

}  // namespace
