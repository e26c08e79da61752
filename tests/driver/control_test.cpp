// The driver control: guarded members, the event as the container sees it,
// and the upload road of a custom R-curve.

#include "driver/x_vti_control.h"

#include "driver/val_text.h"
#include "platform/values/numfmt.h"
#include "tests/driver/driver_fixture.h"

namespace drvtest {
namespace {

class ControlTest : public DriverTest {
protected:
    ControlTest() {
        control_ = std::make_shared<drv::XVTIControl>();
        drv::ConnectControlEvents(control_, [this](const std::string& name, std::vector<plat::Variant>& params) {
            names_.push_back(name);
            auto error = drv::EventError(params);
            events_.push_back(error ? error->ErrorNumber() : -1);
        });
    }
    void Open() {
        control_->InitVTI();
        control_->SetUploadCancel(false);
        control_->EndRemote();
        control_->StartRemote();
    }
    // R values 0.50 to 1.00 in steps of 0.01, as texts with a decimal comma.
    static drv::KeyedCollection RValues() {
        drv::KeyedCollection c;
        for (int i = 0; i <= 50; ++i) (void)c.Add(plat::Variant("0," + std::to_string(50 + i)), std::to_string(50 + i));
        c.Item(51) = plat::Variant("1,00");
        return c;
    }
    std::shared_ptr<drv::XVTIControl> control_;
    std::vector<std::string> names_;
};

TEST_F(ControlTest, BeforeInitVTIEveryMemberDoesNothing) {
    drv::KeyedCollection probe;
    drv::KeyedCollection curve = RValues();
    control_->StartRemote();
    control_->AbortTest();
    control_->SetUploadCancel(true);
    EXPECT_FALSE(control_->UploadCancel());
    EXPECT_FALSE(drv::CancelFlag());
    EXPECT_EQ(control_->GetVersion(), "");
    EXPECT_EQ(control_->GetProbeResults(probe), "");
    EXPECT_EQ(control_->SetMake("3"), "");
    EXPECT_EQ(control_->SetSpO2(97), "");
    EXPECT_EQ(control_->SetBPM(75), "");
    EXPECT_EQ(control_->SetPulseAmplitude(2.5), "");
    EXPECT_EQ(control_->SetPresetValue(3), "");
    EXPECT_EQ(control_->SetTLC(3500), "");
    EXPECT_EQ(control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, &curve), "");
    control_->ResetInstrument();
    control_->EndRemote();
    EXPECT_FALSE(drv::CancelFlag());
    EXPECT_TRUE(Line().Opens().empty());
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(control_->SpO2Name(), "OXY");
    EXPECT_EQ(control_->BPMName(), "BPM");
    EXPECT_EQ(control_->PulseAmplitudeName(), "AC");
}

TEST_F(ControlTest, MembersForwardWithTheirArgumentTypes) {
    Open();
    EXPECT_EQ(control_->GetVersion(), sim_.VersionReply());
    EXPECT_EQ(control_->SetMake("7"), "Nihon-Kohden");
    control_->SetSpO2(97);
    control_->SetBPM(75);
    control_->SetPulseAmplitude(0.25);
    control_->SetPresetValue(4);
    control_->SetTLC(3500);
    drv::KeyedCollection probe;
    EXPECT_EQ(control_->GetProbeResults(probe), sim_.ProbeReport());
    EXPECT_TRUE(probe.Exists("PIN1-PIN2"));
    control_->ResetInstrument();
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[VER]", "[MAKE7]", "[OXY97]", "[BPM75]", "[AC0.250]",
                                                             "[PRESETS4]", "[TLC3500]", "[PROBE]", "[Q]"}));
    control_->EndRemote();
    EXPECT_TRUE(events_.empty());
}

TEST_F(ControlTest, CommunicationErrorReachesTheContainerWithTheErrorObject) {
    serialtest::RegistryFileScope noPort;
    Open();
    EXPECT_EQ(names_, (std::vector<std::string>{"CommunicationError"}));
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound}));
    // Without a session, reset and end stay silent; commands report.
    control_->ResetInstrument();
    control_->EndRemote();
    EXPECT_EQ(events_.size(), 1u);
    control_->SetBPM(70);
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound, drv::ecsMTINotFound}));
}

TEST_F(ControlTest, HandlerMayRemoveTheControl) {
    serialtest::RegistryFileScope noPort;
    control_->InitVTI();
    drv::ConnectControlEvents(control_, [this](const std::string&, std::vector<plat::Variant>& params) {
        events_.push_back(drv::EventError(params)->ErrorNumber());
        control_.reset();
    });
    std::weak_ptr<drv::XVTIControl> weak = control_;
    auto raw = control_.get();
    raw->StartRemote();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound}));
}

TEST_F(ControlTest, CancelFlagIsSharedByEveryControlOnTheThread) {
    auto other = std::make_shared<drv::XVTIControl>();
    other->InitVTI();
    control_->InitVTI();
    other->SetUploadCancel(true);
    EXPECT_TRUE(control_->UploadCancel());
    control_->SetUploadCancel(false);
    EXPECT_FALSE(other->UploadCancel());
}

TEST_F(ControlTest, UploadRoadOnTheWire) {
    Open();
    drv::KeyedCollection curve = RValues();
    EXPECT_EQ(control_->LoadMakeParameters(1, "ACME", 3000, 3500, 1234, &curve), "");
    std::string rcurve = "[RCURVE>1:ACME     :350:300:";
    for (int v = 50; v <= 100; ++v) rcurve += (v < 100 ? "0" : "") + std::to_string(v) + ",";
    rcurve += "]";
    EXPECT_EQ(Written(), (Wire{{3000, "[VER]"}, {9000, rcurve}, {22000, "[VER]"}, {28000, "[IRAC1234]"}}));
    EXPECT_EQ(Now(), 31000);
    EXPECT_EQ(sim_.MakeReply(11), "DownLoad Make: ACME\r\n");
    EXPECT_TRUE(events_.empty());
    EXPECT_FALSE(control_->UploadCancel());
}

TEST_F(ControlTest, UploadReadsRValuesWithEitherDecimalSign) {
    plat::ScopedDecimalSign comma(',');
    Open();
    drv::KeyedCollection curve = RValues();
    curve.Item(1) = plat::Variant("0.29");
    curve.Item(2) = plat::Variant(1.5);
    curve.Item(3) = plat::Variant("junk");
    curve.Item(4) = plat::Variant(std::make_shared<drv::EStatus>());
    control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, &curve);
    ASSERT_EQ(sim_.Uploads().size(), 1u);
    const auto& values = sim_.Uploads()[0].values;
    ASSERT_EQ(values.size(), 51u);
    EXPECT_EQ(values[0], "029");
    EXPECT_EQ(values[1], "150");
    EXPECT_EQ(values[2], "000");
    EXPECT_EQ(values[3], "000");
    EXPECT_EQ(values[4], "054");
    EXPECT_EQ(values[50], "100");
    EXPECT_DOUBLE_EQ(drv::ValText("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(drv::ValText("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(drv::ValText("x"), 0);
}

TEST_F(ControlTest, UploadWithTheCancelFlagSetSendsNothing) {
    Open();
    control_->SetUploadCancel(true);
    drv::KeyedCollection curve = RValues();
    EXPECT_EQ(control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, &curve), "");
    EXPECT_TRUE(Line().Writes().empty());
    EXPECT_TRUE(events_.empty());
}

// The upload's steps on the wire: [VER] at 3000, the curve at 9000 (10 s after
// it), [VER] at 22000, [IRAC] at 28000. A cancel at any point stops the upload
// there without an event, and nothing after it goes out.
TEST_F(ControlTest, CancelDuringEachStepOfTheUploadStopsItThere) {
    Open();
    drv::KeyedCollection curve = RValues();
    const struct {
        plat::Millis at;
        size_t written;
    } cases[] = {{1000, 0}, {4000, 1}, {7000, 1}, {12000, 2}, {20000, 2}, {23000, 3}, {26000, 3}, {29000, 4}};
    for (const auto& c : cases) {
        control_->SetUploadCancel(false);
        const size_t before = Line().Writes().size();
        const plat::Millis start = Now();
        CancelAt(start + c.at);
        EXPECT_EQ(control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, &curve), "") << c.at;
        EXPECT_EQ(Line().Writes().size() - before, c.written) << "cancelled at " << c.at;
        EXPECT_LE(Now(), start + 31000);
        EXPECT_TRUE(control_->UploadCancel());
        // Let a reply still on its way arrive before the next round.
        control_->SetUploadCancel(false);
        plat::MessageLoop::Current().PostDelayed(5000, [] {});
        plat::MessageLoop::Current().DoEvents();
    }
    EXPECT_TRUE(events_.empty());
}

TEST_F(ControlTest, UploadToASilentSimulatorReportsOnceAndSetsTheCancelFlag) {
    Open();
    sim_.SetSilent(true);
    drv::KeyedCollection curve = RValues();
    control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, &curve);
    EXPECT_EQ(events_, Events({drv::ecsMTINotFound}));
    EXPECT_TRUE(control_->UploadCancel());
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[VER]"}));
    control_->SetTLC(3500);  // the rest of the caller's sequence sends nothing
    EXPECT_EQ(sim_.Commands().size(), 1u);
    EXPECT_EQ(events_.size(), 1u);
}

TEST_F(ControlTest, UploadStopsAfterARefusedCurveOrALostSimulator) {
    Open();
    drv::KeyedCollection curve = RValues();
    control_->LoadMakeParameters(0, "AC:ME", 3000, 3500, 1000, &curve);
    EXPECT_EQ(events_, Events({drv::ecsUnknownMsg}));
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[VER]"}));
    control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, nullptr);
    EXPECT_EQ(events_, Events({drv::ecsUnknownMsg, drv::ecsUnknownMsg}));
    EXPECT_EQ(sim_.Commands().size(), 2u);
    EXPECT_FALSE(control_->UploadCancel());

    sim_.ScriptNext("[VER]", {{200, sim_.VersionReply()}});
    sim_.SilenceNext("[VER]");  // the check after the curve
    control_->LoadMakeParameters(0, "ACME", 3000, 3500, 1000, &curve);
    EXPECT_EQ(events_.back(), drv::ecsMTINotFound);
    EXPECT_TRUE(control_->UploadCancel());
    EXPECT_EQ(sim_.Commands().back().text, "[VER]");
    EXPECT_EQ(sim_.Uploads().size(), 1u);
    EXPECT_EQ(sim_.Value("IRAC"), "");
}

TEST_F(ControlTest, AbortDuringARunDropsTheReplyWithoutAnEvent) {
    Open();
    At(4000, [this] {
        control_->SetUploadCancel(false);
        control_->AbortTest();
    });
    drv::KeyedCollection probe;
    EXPECT_EQ(control_->GetProbeResults(probe), "");
    EXPECT_EQ(probe.Count(), 0);
    EXPECT_EQ(sim_.CommandTexts(), (std::vector<std::string>{"[PROBE]", "[Q]"}));
    EXPECT_TRUE(events_.empty());
}

}  // namespace
}  // namespace drvtest
