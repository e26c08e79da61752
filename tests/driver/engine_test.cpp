// The driver engine: session, command set, statuses with their events or
// silence, the cancel flag at each point of a command, the abort road.

#include "driver/pelmo2_vti.h"

#include <cmath>
#include <stdexcept>

#include "platform/loop/timer.h"
#include "platform/values/abort_error.h"
#include "platform/values/numfmt.h"
#include "tests/driver/driver_fixture.h"

namespace drvtest {
namespace {

using EngineTest = DriverTest;

drv::KeyedCollection Curve(int count, double first = 50) {
    drv::KeyedCollection c;
    for (int i = 0; i < count; ++i) (void)c.Add(plat::Variant(first + i));
    return c;
}

TEST_F(EngineTest, ErrorObjectReadsZeroUntilReset) {
    drv::CPelmo2VTIError e;
    EXPECT_EQ(e.ErrorNumber(), 0);
    e.Reset();
    EXPECT_EQ(e.ErrorNumber(), drv::ecsOK);
}

TEST_F(EngineTest, StartRemoteOpensTheConfiguredPortWithoutWriting) {
    auto vti = Session();
    ASSERT_EQ(Line().Opens().size(), 1u);
    EXPECT_EQ(Line().Opens()[0].portNumber, 1);
    EXPECT_EQ(Line().Opens()[0].settings, "9600,N,8,1");
    EXPECT_TRUE(Line().Writes().empty());
    EXPECT_EQ(Status(vti), drv::ecsOK);
    vti->EndRemote();
    EXPECT_FALSE(Line().IsOpen());
    EXPECT_FALSE(vti->HasSession());
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, StartRemoteReportsAMissingOrUnopenablePort) {
    serialtest::RegistryFileScope registry;  // no port configured
    auto vti = NewEngine();
    vti->StartRemote();
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound}));
    EXPECT_TRUE(Line().Opens().empty());

    registry.SetInstrumentPort("Pelmo2", 1);
    struct Case {
        plat::PortError error;
        int status;
    };
    for (Case c : {Case{plat::PortError::NoSuchDevice, drv::ecsIllegalPort}, Case{plat::PortError::Busy, drv::ecsPortBusy},
                   Case{plat::PortError::BadSettings, drv::ecsErrorReadingPort}}) {
        events_.clear();
        Line().FailOpen(c.error);
        vti->StartRemote();
        EXPECT_EQ(events_, Events({c.status}));
        EXPECT_EQ(Now(), 0);  // at once, not after a reply time-out
        EXPECT_FALSE(vti->HasSession());
    }
    // Without a session a command reports at once and writes nothing.
    events_.clear();
    EXPECT_EQ(vti->SetBPM(75), "");
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound, drv::ecsMTINotFound}));
    EXPECT_EQ(Now(), 0);
    EXPECT_TRUE(Line().Writes().empty());
    vti->EndRemote();  // silent
    EXPECT_EQ(events_.size(), 2u);
}

TEST_F(EngineTest, GetVersionReturnsTheRawReply) {
    auto vti = Session();
    EXPECT_EQ(vti->GetVersion(), "Pelmo Q5 Version 2.10\r\n");
    EXPECT_EQ(Status(vti), drv::ecsPerformed);
    EXPECT_EQ(Written(), (Wire{{3000, "[VER]"}}));
    EXPECT_EQ(Now(), 6000);
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, MissingRepliesReportNotFoundOrNotReady) {
    auto vti = Session();
    sim_.SetSilent(true);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(Now(), 66000);
    EXPECT_EQ(vti->SetMake("3"), "");
    drv::KeyedCollection probe;
    EXPECT_EQ(vti->GetProbeResults(&probe), "");
    EXPECT_EQ(probe.Count(), 0);
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound, drv::ecsMTINotFound, drv::ecsMTINotReady}));
    EXPECT_EQ(eventTimes_, (std::vector<plat::Millis>{66000, 132000, 198000}));
}

TEST_F(EngineTest, SetMakeSendsPlainNumbersAndCleansTheReply) {
    auto vti = Session();
    sim_.SetMakeLine(3, "DownLoad Make: ACME");
    sim_.SetMakeLine(12, "make: acme");
    EXPECT_EQ(vti->SetMake(" 3 "), "ACME");
    EXPECT_EQ(vti->SetMake("12"), "acme");
    EXPECT_EQ(vti->SetMake("0"), "BCI");
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[MAKE3]", "[MAKE12]", "[MAKE0]"}));
    EXPECT_TRUE(events_.empty());

    for (const char* bad : {"03", "16", "-1", "abc", "5.0", ""}) {
        SCOPED_TRACE(bad);
        events_.clear();
        EXPECT_EQ(vti->SetMake(bad), "");
        EXPECT_EQ(events_, Events({drv::ecsUnknownMsg}));
    }
    EXPECT_EQ(sim_.Commands().size(), 3u);
}

TEST_F(EngineTest, ValueCommandsFormatTheirNumbersWithAPoint) {
    plat::ScopedDecimalSign comma(',');
    auto vti = Session();
    vti->SetAC(2.5);
    vti->SetAC(0.25);
    vti->SetAC(5);
    vti->SetSpO2Level(97);
    vti->SetSpO2Level(97.5);  // halves away from zero
    vti->SetAmbientLight(0);
    vti->SetBPM(75);
    vti->SetTLCLevel(3500);
    vti->SetPresetValue(12);
    vti->SetMAMP(1234567);  // more digits than placeholders: written whole
    vti->SetIRAC(1000);
    vti->SetRAC(900);
    vti->SetRDC(3000);
    vti->SetIRDC(3500);
    vti->QuitCommunication();
    vti->SelectDCOrFixedSignalLevel();
    vti->SelectTestUnitSignalLevel();
    EXPECT_EQ(sim_.CommandTexts(),
              (std::vector<std::string>{"[AC2.500]", "[AC0.250]", "[AC5.000]", "[OXY97]", "[OXY98]", "[AMB0]",
                                        "[BPM75]", "[TLC3500]", "[PRESETS12]", "[MAMP1234567]", "[IRAC1000]",
                                        "[RAC900]", "[RDC3000]", "[IRDC3500]", "[Q]", "[SCRF]", "[SCRU]"}));
    EXPECT_EQ(Status(vti), drv::ecsPerformed);
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, SetParameterHonoursBothBounds) {
    auto vti = Session();
    vti->SetParameter(120, "BPM", "######0", 30.0, 100.0);
    EXPECT_TRUE(Line().Writes().empty());
    vti->SetParameter(100, "BPM", "######0", 30.0, 100.0);
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[BPM100]"}));
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, FailureInsideAValueCommandReportsUnknownMsg) {
    auto vti = Session();
    vti->SetParameter(5, "BPM", "x#");
    vti->SetAC(std::nan(""));
    vti->SetSpO2Level(HUGE_VAL);
    EXPECT_EQ(events_, Events({2, 2, 2}));
    EXPECT_TRUE(Line().Writes().empty());
}

TEST_F(EngineTest, OtherChannelFailuresKeepTheirStatus) {
    auto vti = Session();
    sim_.ScriptNext("[VER]", {{100, std::string(70000, 'x')}});
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(events_, Events({drv::ecsUnexpectedReply}));
    vti->EndRemote();

    serialtest::RegistryFileScope registry;
    registry.SetInstrumentPort("Pelmo2", 40000);  // no 16-bit port number
    vti->StartRemote();
    EXPECT_EQ(events_, Events({drv::ecsUnexpectedReply, drv::ecsErrorUnknown}));
    EXPECT_FALSE(vti->HasSession());
}

TEST_F(EngineTest, WriteFailureReportsErrorReadingPort) {
    auto vti = Session();
    Line().FailWritesFrom(0);
    vti->SetBPM(75);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(events_, Events({drv::ecsErrorReadingPort, drv::ecsErrorReadingPort}));
    EXPECT_EQ(Now(), 6000);  // two delays before, no delay after and no 60 s wait
}

// A USB adapter pulled during a command: the user hears of it at once, once per command.
TEST_F(EngineTest, HangUpDuringADelayIsReportedAtOnce) {
    auto vti = Session();
    Line().HangUpAt(1500);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(Status(vti), drv::ecsErrorReadingPort);
    vti->SetBPM(75);
    EXPECT_EQ(events_, Events({drv::ecsErrorReadingPort, drv::ecsErrorReadingPort}));
    EXPECT_EQ(eventTimes_, (std::vector<plat::Millis>{1500, 1500}));
    EXPECT_TRUE(Line().Writes().empty());
}

TEST_F(EngineTest, RCurveFrameOfAKnownCurve) {
    auto vti = Session();
    drv::KeyedCollection curve = Curve(51);
    EXPECT_EQ(vti->SetRCurve(2, "ACME", 3500, 3000, &curve), "");
    std::string expected = "[RCURVE>2:ACME     :350:300:";
    for (int v = 50; v <= 100; ++v) expected += (v < 100 ? "0" : "") + std::to_string(v) + ",";
    expected += "]";
    EXPECT_EQ(Written(), (Wire{{3000, expected}}));
    EXPECT_EQ(Now(), 13000);  // 10 s after an upload
    EXPECT_EQ(Status(vti), drv::ecsPerformed);
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, RCurveSendsTheLast51ItemsAndRoundsLightValuesToEven) {
    plat::ScopedDecimalSign comma(',');
    auto vti = Session();
    drv::KeyedCollection curve = Curve(60, 1);  // 1..60: items 10..60 go out
    curve.Item(60) = plat::Variant("125,5");    // text with a decimal comma
    vti->SetRCurve(0, "A Twelve Chr", 4095, 45, &curve);
    ASSERT_EQ(sim_.Uploads().size(), 1u);
    const auto& u = sim_.Uploads()[0];
    EXPECT_EQ(u.name, "A Twelve Chr");  // longer than nine: whole
    EXPECT_EQ(u.irdc, "410");
    EXPECT_EQ(u.rdc, "004");
    ASSERT_EQ(u.values.size(), 51u);
    EXPECT_EQ(u.values.front(), "010");
    EXPECT_EQ(u.values[49], "059");
    EXPECT_EQ(u.values.back(), "126");

    vti->SetRCurve(5, "Z", 0, 0, &curve);
    EXPECT_EQ(sim_.Uploads().back().irdc, "000");
}

TEST_F(EngineTest, RCurveChecksRefuseAndReportEachFailure) {
    auto vti = Session();
    drv::KeyedCollection curve = Curve(51);
    drv::KeyedCollection shortCurve = Curve(50);
    vti->SetRCurve(6, "ACME", 3500, 3000, &curve);
    vti->SetRCurve(-1, "ACME", 3500, 3000, &curve);
    vti->SetRCurve(1, "   ", 3500, 3000, &curve);
    vti->SetRCurve(1, "ACME", 3500, 3000, &shortCurve);
    vti->SetRCurve(1, "ACME", 3500, 3000, nullptr);
    EXPECT_EQ(events_, Events({2, 2, 2, 2, 2}));
    events_.clear();
    for (const char* name : {"AC:ME", "A[B", "A]B", "A,B", "A\tB", "A\x7f"}) vti->SetRCurve(1, name, 1, 1, &curve);
    EXPECT_EQ(events_, Events({2, 2, 2, 2, 2, 2}));
    events_.clear();
    vti->SetRCurve(9, "", 1, 1, &shortCurve);  // every failed check is reported
    EXPECT_EQ(events_, Events({2, 2, 2}));
    EXPECT_TRUE(Line().Writes().empty());
    EXPECT_EQ(Now(), 0);

    drv::KeyedCollection withObject = Curve(51);
    withObject.Item(10) = plat::Variant(std::make_shared<drv::EStatus>());
    drv::KeyedCollection withNaN = Curve(51);
    withNaN.Item(20) = plat::Variant(std::nan(""));
    drv::KeyedCollection withInf = Curve(51);
    withInf.Item(30) = plat::Variant(HUGE_VAL);
    events_.clear();
    vti->SetRCurve(1, "ACME", 1, 1, &withObject);
    vti->SetRCurve(1, "ACME", 1, 1, &withNaN);
    vti->SetRCurve(1, "ACME", 1, 1, &withInf);
    EXPECT_EQ(events_, Events({2, 2, 2}));
    EXPECT_TRUE(Line().Writes().empty());
}

TEST_F(EngineTest, CancelFlagSetByAnEventHandlerStopsTheRCurveChecks) {
    auto vti = Session();
    vti->OnCommunicationError = [this](const std::shared_ptr<drv::CPelmo2VTIError>& e) {
        events_.push_back(e->ErrorNumber());
        drv::SetCancelFlag(true);
    };
    vti->SetRCurve(9, "", 1, 1, nullptr);
    EXPECT_EQ(events_, Events({drv::ecsUnknownMsg}));
}

TEST_F(EngineTest, CancelFlagBeforeACommandSendsNothingAndStaysSilent) {
    auto vti = Session();
    drv::SetCancelFlag(true);
    drv::KeyedCollection curve = Curve(51);
    drv::KeyedCollection probe;
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(vti->GetProbeResults(&probe), "");
    EXPECT_EQ(vti->SetMake("3"), "");
    vti->SetBPM(75);
    vti->SetRCurve(1, "ACME", 1, 1, &curve);
    vti->SelectDCOrFixedSignalLevel();
    EXPECT_TRUE(Line().Writes().empty());
    vti->QuitCommunication();  // "[Q]" still goes out, at once
    EXPECT_EQ(Written(), (Wire{{0, "[Q]"}}));
    EXPECT_EQ(Now(), 0);
    vti->EndRemote();
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(vti->UploadCancel());
}

TEST_F(EngineTest, CancelFlagDuringEachStepOfACommand) {
    auto vti = Session();
    sim_.SetSilent(true);
    // During the delay before: nothing written.
    CancelAt(1000);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(Now(), 1000);
    EXPECT_TRUE(Line().Writes().empty());
    // During the delay after: written, not read.
    vti->SetUploadCancel(false);
    CancelAt(Now() + 4000);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(Now(), 5000);
    EXPECT_EQ(Written(), (Wire{{4000, "[VER]"}}));
    // During the read: given up at once.
    vti->SetUploadCancel(false);
    CancelAt(Now() + 30000);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(Now(), 35000);
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, StartRemoteWithTheCancelFlagSetOpensNothing) {
    auto vti = NewEngine();
    drv::SetCancelFlag(true);
    vti->StartRemote();
    EXPECT_FALSE(vti->HasSession());
    EXPECT_TRUE(Line().Opens().empty());
    EXPECT_TRUE(events_.empty());
    // Without a configured port as well: silent.
    serialtest::RegistryFileScope registry;
    vti->StartRemote();
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(Now(), 0);
}

TEST_F(EngineTest, AbortWritesQuitFromInsideTheCompletedRead) {
    auto vti = Session();
    vti->AbortTest();
    EXPECT_EQ(vti->GetVersion(), "");  // the reply is dropped
    EXPECT_EQ(Written(), (Wire{{3000, "[VER]"}, {6000, "[Q]"}}));
    EXPECT_EQ(Now(), 6500);
    EXPECT_EQ(Status(vti), drv::ecsPerformed);
    EXPECT_FALSE(vti->AbortRequested());
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(vti->GetVersion(), sim_.VersionReply());  // honoured once
}

TEST_F(EngineTest, AbortWaitsForACompleteReply) {
    auto vti = Session();
    vti->AbortTest();
    vti->SetBPM(75);  // no reply is read: the request stays
    sim_.SilenceNext("[VER]");
    EXPECT_EQ(vti->GetVersion(), "");  // time-out: still pending
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound}));
    EXPECT_TRUE(vti->AbortRequested());
    drv::KeyedCollection probe;
    EXPECT_EQ(vti->GetProbeResults(&probe), "");
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[BPM75]", "[VER]", "[PROBE]", "[Q]"}));
    EXPECT_EQ(events_.size(), 1u);

    vti->AbortTest();
    vti->EndRemote();
    vti->StartRemote();  // clears the request
    EXPECT_FALSE(vti->AbortRequested());
    EXPECT_EQ(vti->GetVersion(), sim_.VersionReply());
}

TEST_F(EngineTest, AbortedReplyIsDroppedEvenWhenAHandlerEndsTheSessionMeanwhile) {
    auto vti = Session();
    // The failed "[Q]" reports; its handler ends the session as a caller's error handling does.
    vti->OnCommunicationError = [this, raw = vti.get()](const std::shared_ptr<drv::CPelmo2VTIError>& e) {
        events_.push_back(e->ErrorNumber());
        raw->EndRemote();
    };
    vti->AbortTest();
    Line().FailWritesFrom(1);
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_EQ(events_, Events({drv::ecsErrorReadingPort}));
    EXPECT_FALSE(vti->HasSession());
}

TEST_F(EngineTest, FailingHandlerRunDuringACommandDoesNotFailIt) {
    auto vti = Session();
    At(1000, [] { throw std::runtime_error("a caller's handler failed"); });
    At(4000, [] { throw std::runtime_error("a caller's handler failed"); });
    EXPECT_EQ(vti->GetVersion(), sim_.VersionReply());
    EXPECT_EQ(Status(vti), drv::ecsPerformed);
    EXPECT_TRUE(events_.empty());
}

TEST_F(EngineTest, AStallOrHarnessFailureInsideACommandReachesTheCaller) {
    auto vti = Session();
    // A harness failure raised by a handler during a delay or a reply read is not passed over.
    At(1000, [] { throw plat::AbortError("operator gave up during the delay"); });
    EXPECT_THROW(vti->GetVersion(), plat::AbortError);
    At(Now() + 4000, [] { throw plat::AbortError("operator gave up during the read"); });
    EXPECT_THROW(vti->GetVersion(), plat::AbortError);
    // Nor is one raised by the caller's CommunicationError handler.
    vti->OnCommunicationError = [](const std::shared_ptr<drv::CPelmo2VTIError>&) {
        throw plat::AbortError("handler gave up");
    };
    sim_.SetSilent(true);
    EXPECT_THROW(vti->GetVersion(), plat::AbortError);
}

TEST_F(EngineTest, DriverWaitsAreHeldToTheLoopsStallLimit) {
    auto vti = Session();
    plat::MessageLoop::Current().SetStallLimit(10000);
    plat::Timer ticking;  // keeps the clock moving in 1 s steps while the reply never comes
    ticking.SetInterval(1000);
    ticking.SetEnabled(true);
    sim_.SetSilent(true);
    EXPECT_THROW(vti->GetVersion(), plat::AbortError);  // long before the 60 s reply time-out
    EXPECT_LE(Now(), 3000 + 3000 + 11000);
}

TEST_F(EngineTest, EndRemoteFromAHandlerDuringACommandIsSafe) {
    auto vti = Session();
    At(4000, [vti] { vti->EndRemote(); });
    EXPECT_EQ(vti->GetVersion(), "");
    EXPECT_FALSE(vti->HasSession());
    EXPECT_EQ(events_, Events({drv::ecsErrorReadingPort}));
    EXPECT_FALSE(Line().IsOpen());
}

TEST_F(EngineTest, QueryMTIAsksForTheVersionAndLeavesNoSession) {
    auto vti = NewEngine();
    drv::MtiQueryRecord r = vti->QueryMTI(1);
    EXPECT_EQ(r.MtiType, "Pelmo2");
    EXPECT_EQ(r.Field2, "");
    EXPECT_EQ(r.Field3, "");
    EXPECT_EQ(r.Found, 1);
    EXPECT_EQ(Written(), (Wire{{3000, "[VER]"}}));
    EXPECT_FALSE(Line().IsOpen());
    EXPECT_FALSE(vti->HasSession());

    sim_.SetSilent(true);
    r = vti->QueryMTI(1);
    EXPECT_EQ(r.MtiType, "");
    EXPECT_EQ(r.Found, 0);
    EXPECT_EQ(Now(), 6000 + 9000);  // the version check times out after 3 s

    Line().FailOpen(plat::PortError::Busy);
    r = vti->QueryMTI(1);
    EXPECT_EQ(r.Found, 0);
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(vti->MtiType(), "");
    EXPECT_EQ(vti->SerialNo(), "");
    EXPECT_EQ(vti->FWVersion(), "");
}

}  // namespace
}  // namespace drvtest
