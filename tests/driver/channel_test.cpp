// The serial channel: delays and bytes on the wire, reply-complete rules,
// the inactivity time-out, the cancel flag and port failures.

#include "driver/serial_channel.h"

#include "tests/driver/driver_fixture.h"

namespace drvtest {
namespace {

using serialtest::SimulatedInstrument;

class ChannelTest : public DriverTest {
protected:
    ChannelTest() {
        channel_.CommunicationError = [this](drv::ECommsStatus s) { channelEvents_.push_back(s); };
        channel_.MessageReceived = [this] { ++messages_; };
    }
    void Open() {
        channel_.OpenPort(1, "9600,N,8,1");
        ASSERT_TRUE(channel_.IsOpen());
    }
    drv::CPelmo2Channel channel_;
    std::vector<int> channelEvents_;
    int messages_ = 0;
};

TEST_F(ChannelTest, CommandClassesHaveTheirDelaysBeforeAndAfterTheWrite) {
    Open();
    channel_.Send("[BPM75]");  // 3000 before, 3000 after
    EXPECT_EQ(Now(), 6000);
    channel_.Send("[Q]");  // at once, 500 after
    EXPECT_EQ(Now(), 6500);
    channel_.Send("[RCURVE>0:X]");  // 3000 before, 10000 after
    EXPECT_EQ(Now(), 19500);
    channel_.Send("[rCurve>1:Y]");  // either letter case
    EXPECT_EQ(Now(), 32500);
    channel_.Send("[XRCURVE]");  // "RCURVE" not right after the bracket: ordinary
    EXPECT_EQ(Now(), 38500);
    EXPECT_EQ(Written(), (Wire{{3000, "[BPM75]"}, {6000, "[Q]"}, {9500, "[RCURVE>0:X]"},
                               {22500, "[rCurve>1:Y]"}, {35500, "[XRCURVE]"}}));
    EXPECT_EQ(channel_.LastCommand(), "[XRCURVE]");
    EXPECT_EQ(channel_.Status(), drv::ecsOK);
    EXPECT_TRUE(channelEvents_.empty());
}

TEST_F(ChannelTest, VersionReplyIsCompleteAtCrLfEvenWhenSplit) {
    Open();
    sim_.ScriptNext("[VER]", SimulatedInstrument::Split("Pelmo Q5\r\n", {5, 9}, {100, 4000, 9000}));
    channel_.Send("[VER]");
    EXPECT_EQ(channel_.ReadReply(60000), "Pelmo Q5\r\n");
    EXPECT_EQ(Now(), 12000);  // the last byte came 9000 ms after the write at 3000
    EXPECT_EQ(messages_, 1);
    EXPECT_EQ(channel_.Status(), drv::ecsOK);
}

TEST_F(ChannelTest, MakeReplyIsCompleteAtCrLf) {
    Open();
    channel_.Send("[MAKE3]");
    EXPECT_EQ(channel_.ReadReply(60000), sim_.MakeReply(3));
    EXPECT_EQ(Now(), 6000);
}

TEST_F(ChannelTest, ProbeReplyNeedsItsEndAndOneQuietSecond) {
    Open();
    channel_.Send("[PROBE]");
    EXPECT_EQ(channel_.ReadReply(60000), sim_.ProbeReport());
    EXPECT_EQ(Now(), 7000);  // read at 6000, then 1000 ms without further input

    // The end marker followed by more input within the quiet second is no end.
    sim_.ScriptNext("[PROBE]", {{3500, "R=1   \r\n"}, {4200, "IR=2   \r\n"}});
    channel_.Send("[PROBE]");  // written at 10000, returns at 13000
    EXPECT_EQ(channel_.ReadReply(60000), "R=1   \r\nIR=2   \r\n");
    // first part read at 13500, checked until 14500; second read then, quiet until 15500
    EXPECT_EQ(Now(), 15500);
    EXPECT_EQ(messages_, 2);
}

TEST_F(ChannelTest, RepliesOfOtherCommandsAreNeverComplete) {
    Open();
    sim_.SendAfter(3500, "OK\r\n");
    channel_.Send("[BPM75]");
    EXPECT_EQ(channel_.ReadReply(2000), "");
    EXPECT_EQ(channel_.Status(), drv::ecsTimedOut);
    EXPECT_EQ(channelEvents_, Events({drv::ecsTimedOut}));
    EXPECT_EQ(messages_, 0);
}

TEST_F(ChannelTest, TimeOutIsInactivityAndRestartsOnInput) {
    Open();
    sim_.ScriptNext("[VER]", {{50000, "a"}, {100000, "b"}});
    channel_.Send("[VER]");  // written at 3000
    EXPECT_EQ(channel_.ReadReply(60000), "");
    EXPECT_EQ(Now(), 163000);  // 60 s after the last byte at 103000
    EXPECT_EQ(channel_.Status(), drv::ecsTimedOut);
    EXPECT_EQ(channelEvents_, Events({drv::ecsTimedOut}));
    EXPECT_EQ(eventTimes_.size(), 0u);
}

TEST_F(ChannelTest, NegativeTimeOutReadsWithOneSecondAndZeroNeverTimesOut) {
    Open();
    sim_.SetSilent(true);
    channel_.Send("[VER]");
    const plat::Millis start = Now();
    EXPECT_EQ(channel_.ReadReply(-5), "");
    EXPECT_EQ(Now() - start, 1000);
    EXPECT_EQ(channel_.Status(), drv::ecsTimedOut);

    int32_t t = -1;
    channel_.StartTimeOut(t);  // the caller's variable is replaced too
    EXPECT_EQ(t, 1000);
    channel_.StopTimeOut();

    Line().DeliverAfter(500000, "late\r\n");
    EXPECT_EQ(channel_.ReadReply(0), "late\r\n");
    EXPECT_EQ(channel_.Status(), drv::ecsOK);
}

TEST_F(ChannelTest, CancelFlagCutsTheDelayBeforeAndTheCommandIsNotWritten) {
    Open();
    drv::SetCancelFlag(true);
    channel_.Send("[BPM75]");
    EXPECT_EQ(Now(), 0);
    channel_.Send("[Q]");  // still goes out, without its delay after
    EXPECT_EQ(Now(), 0);
    EXPECT_EQ(Written(), (Wire{{0, "[Q]"}}));

    drv::SetCancelFlag(false);
    CancelAt(1000);
    channel_.Send("[BPM80]");
    EXPECT_EQ(Now(), 1000);
    EXPECT_EQ(Written().size(), 1u);
    EXPECT_TRUE(channelEvents_.empty());
}

TEST_F(ChannelTest, CancelFlagSkipsTheDelayAfterAndEndsARead) {
    Open();
    sim_.SilenceNext("[VER]");
    CancelAt(4000);
    channel_.Send("[VER]");
    EXPECT_EQ(Now(), 4000);
    EXPECT_EQ(Written(), (Wire{{3000, "[VER]"}}));
    // Already cancelled: one pass, nothing returned, no event.
    EXPECT_EQ(channel_.ReadReply(60000), "");
    EXPECT_EQ(Now(), 4000);

    drv::SetCancelFlag(false);
    sim_.SilenceNext("[VER]");
    channel_.Send("[VER]");
    CancelAt(Now() + 2000);
    const plat::Millis readStart = Now();
    EXPECT_EQ(channel_.ReadReply(60000), "");
    EXPECT_EQ(Now() - readStart, 2000);
    EXPECT_EQ(channel_.Status(), drv::ecsOK);
    EXPECT_TRUE(channelEvents_.empty());
    EXPECT_EQ(messages_, 0);
}

TEST_F(ChannelTest, InputIsDiscardedBeforeTheDelayAndAgainBeforeTheWrite) {
    Open();
    Line().Deliver("old\r\n");
    sim_.SendAfter(1500, "stale\r\n");  // arrives during the delay before the write
    channel_.Send("[VER]");
    EXPECT_EQ(channel_.ReadReply(60000), sim_.VersionReply());
}

TEST_F(ChannelTest, WriteAndReadFailuresEndTheCommandWithErrorReadingPort) {
    Open();
    Line().FailWritesFrom(0);
    channel_.Send("[VER]");
    EXPECT_EQ(channel_.Status(), drv::ecsErrorReadingPort);
    EXPECT_EQ(Now(), 3000);  // no delay after a failed write
    EXPECT_EQ(channelEvents_, Events({drv::ecsErrorReadingPort}));

    Line().ClearFailures();
    sim_.SilenceNext("[VER]");
    channel_.Send("[VER]");
    Line().HangUpAt(Now() + 5000);
    EXPECT_EQ(channel_.ReadReply(60000), "");
    EXPECT_EQ(channel_.Status(), drv::ecsErrorReadingPort);
    EXPECT_EQ(Now(), 14000);  // at the hang-up, not after 60 s
    EXPECT_EQ(channelEvents_.back(), drv::ecsErrorReadingPort);
}

TEST_F(ChannelTest, HangUpDuringADelayEndsTheCommandAtOnce) {
    Open();
    Line().HangUpAt(1000);  // during the delay before the write
    channel_.Send("[BPM75]");
    EXPECT_EQ(Now(), 1000);
    EXPECT_EQ(channel_.Status(), drv::ecsErrorReadingPort);
    EXPECT_EQ(channelEvents_, Events({drv::ecsErrorReadingPort}));
    EXPECT_TRUE(Line().Writes().empty());

    // Every later command on the dead session fails without waiting.
    channel_.Send("[VER]");
    channel_.Send("[Q]");
    EXPECT_EQ(Now(), 1000);
    EXPECT_EQ(channelEvents_, Events({7, 7, 7}));
    EXPECT_TRUE(Line().Writes().empty());
}

TEST_F(ChannelTest, HangUpAfterTheWriteEndsTheDelayAfterIt) {
    Open();
    Line().HangUpAt(3000 + 2000);
    channel_.Send("[RCURVE>0:X]");  // written at 3000, would wait until 13000
    EXPECT_EQ(Now(), 5000);
    EXPECT_EQ(channel_.Status(), drv::ecsErrorReadingPort);
    EXPECT_EQ(channelEvents_, Events({drv::ecsErrorReadingPort}));
    EXPECT_EQ(Written(), (Wire{{3000, "[RCURVE>0:X]"}}));
}

// A port whose reads fail with an error other than Io.
class PortWithFailingReads final : public plat::SerialPort {
public:
    plat::PortError Open(int32_t, std::string_view) override { open_ = true; return plat::PortError::None; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    plat::PortError Write(std::string_view) override { return plat::PortError::None; }
    plat::PortError Read(std::string&) override { return plat::PortError::NoSuchDevice; }
    int32_t InBufferCount(plat::PortError* error) override {
        if (error) *error = plat::PortError::NoSuchDevice;
        return -1;
    }
    void DiscardInput() override {}
    int32_t OutBufferCount() override { return 0; }
private:
    bool open_ = false;
};

TEST_F(ChannelTest, ReadFailureOfAnyKindIsErrorReadingPort) {
    plat::SetSerialPortFactory([] { return std::make_unique<PortWithFailingReads>(); });
    Open();
    channel_.Send("[VER]");
    EXPECT_EQ(channel_.ReadReply(60000), "");
    EXPECT_EQ(channel_.Status(), drv::ecsErrorReadingPort);
    EXPECT_EQ(channelEvents_, Events({drv::ecsErrorReadingPort}));
    channel_.ReleasePort();  // before the fake line's factory comes back
}

TEST_F(ChannelTest, ReplyThatNeverCompletesIsCutOffAt64KiB) {
    Open();
    sim_.ScriptNext("[VER]", {{100, std::string(40000, 'x')}, {200, std::string(40000, 'y')}});
    channel_.Send("[VER]");
    EXPECT_EQ(channel_.ReadReply(60000), "");
    EXPECT_EQ(channel_.Status(), drv::ecsUnexpectedReply);
    EXPECT_EQ(channelEvents_, Events({drv::ecsUnexpectedReply}));
    EXPECT_EQ(Now(), 6000);
}

TEST_F(ChannelTest, PortThatCannotBeOpenedIsReportedAtOnce) {
    struct Case {
        plat::PortError error;
        drv::ECommsStatus status;
    };
    for (Case c : {Case{plat::PortError::NoSuchDevice, drv::ecsIllegalPort}, Case{plat::PortError::Busy, drv::ecsPortBusy},
                   Case{plat::PortError::Io, drv::ecsErrorReadingPort}}) {
        SCOPED_TRACE(static_cast<int>(c.error));
        channelEvents_.clear();
        Line().FailOpen(c.error);
        channel_.OpenPort(1, "9600,N,8,1");
        EXPECT_EQ(channel_.Status(), c.status);
        EXPECT_EQ(channelEvents_, Events({c.status}));
        EXPECT_FALSE(channel_.IsOpen());
        EXPECT_EQ(channel_.Port(), 0);
    }
    Line().FailOpen(plat::PortError::None);
    channelEvents_.clear();
    channel_.OpenPort(40000, "9600,N,8,1");  // no 16-bit port number
    EXPECT_EQ(channelEvents_, Events({drv::ecsErrorUnknown}));
    channel_.OpenPort(1, "9600,N,8,1");
    EXPECT_EQ(channel_.Port(), 1);
    EXPECT_EQ(Line().Opens().back().settings, "9600,N,8,1");
}

TEST_F(ChannelTest, ClosingReleasesThePortAndDestructionClosesIt) {
    Open();
    channel_.ClosePort();
    EXPECT_FALSE(Line().IsOpen());
    EXPECT_EQ(channel_.Port(), 0);
    EXPECT_TRUE(channelEvents_.empty());
    {
        drv::CPelmo2Channel other;
        other.OpenPort(1, "9600,N,8,1");
        EXPECT_TRUE(Line().IsOpen());
    }
    EXPECT_FALSE(Line().IsOpen());
    EXPECT_EQ(Line().CloseCount(), 2);
}

}  // namespace
}  // namespace drvtest
