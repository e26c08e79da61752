// The SpO2 simulation test run end to end: what goes over the line for each
// way of setting the make, the readings the operator types, and the runs that
// must send nothing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugin/results/measurement.h"
#include "plugin/results/measurement_coll.h"
#include "plugin/factory/plugin_factory.h"
#include "tests/plugin/run/run_fixture.h"

namespace run_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Spo2RunTest : public RunTest {
protected:
    std::shared_ptr<plugin::CTestData> SpO2Test(int32_t make, int32_t preset) {
        auto test = NewTest(100);
        auto config = Config(test);
        config->SetOximeterMake(make);
        config->SetSimulationID(preset);
        return test;
    }
    // A custom make of the make folder, chosen in the test's configuration.
    std::shared_ptr<plugin::CTestData> CustomMakeTest(const std::string& name, bool upload) {
        PutMake(name, "custom.txt");
        auto test = NewTest(100);
        auto config = Config(test);
        config->SetOximeterMake(10);
        config->SetOximeterMakeName(name);
        config->SetUploadRCurve(upload);
        config->CopyCloneData(config.get());  // finds the make in the library again
        EXPECT_TRUE(config->CurrentMake());
        return test;
    }
    static int32_t Status(const std::shared_ptr<plugin::CTestData>& test) {
        return test->Result() ? test->Result()->Status() : -1;
    }
};

// ---- makes ---------------------------------------------------------------------

TEST_F(Spo2RunTest, BuiltInMakeWithAPresetSetsMakeTlcAndPresetThenTakesTheReadings) {
    auto test = SpO2Test(3, 5);
    Start([&] { Type("98", "55").Click(FTestGuide::kNext); });
    test->Perform(setup);

    EXPECT_THAT(Wire(), ElementsAre("[MAKE3]", "[TLC3030]", "[PRESETS5]", "[Q]"));
    // Start at 0; each command 3 s after the previous one's 3 s wait; "[Q]" without delay.
    std::vector<plat::Millis> times;
    for (const auto& c : sim.Commands()) times.push_back(c.time);
    EXPECT_THAT(times, ElementsAre(3000, 9000, 15000, 18000));
    EXPECT_THAT(MessageTexts(), IsEmpty());
    ASSERT_TRUE(test->Result());
    EXPECT_EQ(test->Result()->MeasurementCount(), 2);
    EXPECT_EQ(Status(test), 1);
    EXPECT_EQ(setup->StepCode(), 0);
    ASSERT_EQ(setup->Done().size(), 1u);  // Start reported the element done; Next does not
    EXPECT_EQ(Guide(), nullptr);          // unloaded
}

TEST_F(Spo2RunTest, CustomValuesAreSentWithEitherDecimalSign) {
    auto test = SpO2Test(0, 24);
    auto config = Config(test);
    config->SetSpO2(95);
    config->SetBPM(60);
    config->SetPulseAmplitude("0,5");
    Start([&] { Click(FTestGuide::kNext); });
    test->Perform(setup);
    EXPECT_THAT(Wire(), ElementsAre("[MAKE0]", "[TLC1100]", "[OXY95]", "[BPM60]", "[AC0.500]", "[Q]"));
}

TEST_F(Spo2RunTest, CustomMakeIsFoundOnTheSimulatorByTheFirstNineCharactersOfItsName) {
    auto test = CustomMakeTest("Acme Oximeter Pro", false);
    Config(test)->CurrentMake()->SetTLC(2222);
    sim.SetMakeName(12, "acme oxim");
    Start([&] { Click(FTestGuide::kNext); });
    test->Perform(setup);
    EXPECT_THAT(Wire(), ElementsAre("[MAKE10]", "[MAKE11]", "[MAKE12]", "[TLC2222]", "[PRESETS0]", "[Q]"));
}

TEST_F(Spo2RunTest, TheNineCharactersOfANameAreCharactersNotBytes) {
    auto test = CustomMakeTest("Größenmeßgerät", false);
    sim.SetMakeName(11, "Größenmeß");
    Start([&] { Click(FTestGuide::kNext); });
    test->Perform(setup);
    EXPECT_THAT(Commands(), ElementsAre("[MAKE10]", "[MAKE11]", "[TLC3500]", "[PRESETS0]"));
}

TEST_F(Spo2RunTest, MakeNotFoundAndRefusedEndsTheRunAfterTheSearch) {
    auto test = CustomMakeTest("Nowhere", false);
    Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbNo, "does not exist in the Pelmo Q5");
    test->Perform(setup);
    EXPECT_THAT(Wire(), ElementsAre("[MAKE10]", "[MAKE11]", "[MAKE12]", "[MAKE13]", "[MAKE14]", "[MAKE15]", "[Q]"));
    ASSERT_EQ(op.Messages().size(), 1u);
    EXPECT_EQ(op.Messages()[0].ButtonSet(), plat::ui::vbYesNo);
    EXPECT_EQ(op.Messages()[0].title, "R-Curve Error");
    EXPECT_EQ(Status(test), 0);
}

TEST_F(Spo2RunTest, MakeNotFoundAndAcceptedIsUploadedIntoTheChosenSlotWithoutALaterMakeCommand) {
    auto test = CustomMakeTest("Nowhere", false);
    Config(test)->CurrentMake()->SetLightLevel(2);
    std::vector<std::string> offered;
    Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbYes).ChooseSlot(1, &offered);
    test->Perform(setup);
    const auto wire = Commands();
    ASSERT_EQ(wire.size(), 12u);
    EXPECT_EQ(wire[6], "[VER]");
    EXPECT_EQ(wire[7].rfind("[RCURVE>5:Nowhere", 0), 0u) << wire[7];
    EXPECT_THAT(std::vector<std::string>(wire.begin() + 8, wire.end()),
                ElementsAre("[VER]", "[IRAC1000]", "[TLC3500]", "[PRESETS0]"));
    EXPECT_THAT(offered, ElementsAre("Custom #5", "Custom #6"));
    ASSERT_EQ(sim.Uploads().size(), 1u);
    EXPECT_EQ(sim.Uploads()[0].slot, 5);
}

TEST_F(Spo2RunTest, UploadSendsTheCurveBySpO2AsTheMakeFileHoldsIt) {
    auto test = CustomMakeTest("Acme", true);
    auto make = Config(test)->CurrentMake();
    // Out of order, one point twice (the later wins) and SpO2 70 missing.
    auto curve = std::make_shared<makes::RCurveCollection>();
    make->SetRCurve(curve);
    for (int spo2 = 100; spo2 >= 50; --spo2)
        if (spo2 != 70) make->AddRValue(spo2, "1.0");
    make->AddRValue(60, "2,5");
    make->SetRedDC(1000);
    make->SetIRDC(2000);
    std::vector<std::string> offered;
    Start([&] { Click(FTestGuide::kNext); }).ChooseSlot(2, &offered);
    test->Perform(setup);

    ASSERT_EQ(sim.Uploads().size(), 1u);
    const auto& upload = sim.Uploads()[0];
    EXPECT_EQ(upload.slot, 2);
    EXPECT_EQ(upload.irdc, "200");
    EXPECT_EQ(upload.rdc, "100");
    ASSERT_EQ(upload.values.size(), 51u);
    for (int spo2 = 50; spo2 <= 100; ++spo2) {
        const std::string expected = spo2 == 60 ? "250" : spo2 == 70 ? "000" : "100";
        EXPECT_EQ(upload.values[static_cast<size_t>(spo2 - 50)], expected) << "SpO2 " << spo2;
    }
    // No make command after the upload: the slot is selected by the upload.
    const auto wire = Commands();
    EXPECT_EQ(std::count_if(wire.begin(), wire.end(), [](const std::string& c) { return c.rfind("[MAKE", 0) == 0; }),
              0);
    EXPECT_THAT(offered, ElementsAre("Custom #1", "Custom #2", "Custom #3", "Custom #4"));
}

// ---- runs that send nothing ------------------------------------------------------

TEST_F(Spo2RunTest, CancelledSlotChooserSendsNoMakeTlcOrSimulation) {
    auto test = CustomMakeTest("Acme", true);
    Start([&] { Click(FTestGuide::kNext); }).ChooseSlot(std::nullopt);
    test->Perform(setup);
    EXPECT_THAT(Commands(), IsEmpty());
    EXPECT_THAT(MessageTexts(), IsEmpty());
    EXPECT_EQ(Status(test), 0);
}

TEST_F(Spo2RunTest, AMakeThatCannotBeSetUpIsRefusedBeforeAnyDriverCommand) {
    auto noName = NewTest(100);
    Config(noName)->SetOximeterMake(11);  // custom, no name
    auto negative = SpO2Test(-1, 0);
    auto uploadWithoutMake = NewTest(100);
    Config(uploadWithoutMake)->SetOximeterMake(10);
    Config(uploadWithoutMake)->SetOximeterMakeName("Acme");
    Config(uploadWithoutMake)->SetUploadRCurve(true);
    for (const auto& test : {noName, negative, uploadWithoutMake}) {
        Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "No R-Curve Selected");
        test->Perform(setup);
    }
    EXPECT_TRUE(serial.Line().Opens().empty());  // not even a session was opened
    EXPECT_THAT(Wire(), IsEmpty());
    for (const auto& m : op.Messages()) EXPECT_EQ(m.title, "R-Curve Error");
}

TEST_F(Spo2RunTest, ASpO2TestWithoutConfigurationIsRefusedBeforeAnyDriverCommand) {
    plugin::Factory().Install(plugin::Part::Configuration, nullptr);
    auto test = std::make_shared<plugin::CTestData>();
    test->Create(100, nullptr);
    plugin::RegisterSpO2ConfigurationPart();
    ASSERT_EQ(test->Configuration(), nullptr);
    Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "No R-Curve Selected");
    test->Perform(setup);
    EXPECT_TRUE(serial.Line().Opens().empty());
}

TEST_F(Spo2RunTest, AcceptedUploadWithoutACurrentMakeIsRefusedAfterTheSearch) {
    auto test = NewTest(100);
    auto config = Config(test);
    config->SetOximeterMake(10);
    config->SetOximeterMakeName("Acme");
    Start([&] { Click(FTestGuide::kNext); })
        .Answer(plat::ui::vbYes, "does not exist")
        .Answer(plat::ui::vbOK, "No R-Curve Selected");
    test->Perform(setup);
    EXPECT_THAT(Wire(), ElementsAre("[MAKE10]", "[MAKE11]", "[MAKE12]", "[MAKE13]", "[MAKE14]", "[MAKE15]", "[Q]"));
}

// ---- failures between the commands ------------------------------------------------

TEST_F(Spo2RunTest, AFailedCommandKeepsTheNextCommandOfTheSetUpFromBeingTried) {
    struct Case {
        int32_t preset;
        const char* before;  // the command after which the line's writes fail
        const char* failed;
        const char* next;    // must never be tried
    };
    const Case cases[] = {
        {5, "[MAKE0]", "[TLC", "[PRESETS"},
        {24, "[TLC", "[OXY", "[BPM"},
        {24, "[OXY", "[BPM", "[AC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failed);
        serial.Line().ClearFailures();
        const std::size_t first = serial.Line().Writes().size();
        sim.OnCommand = [&](const serialtest::ReceivedCommand& command) {
            if (command.text.rfind(c.before, 0) == 0) serial.Line().FailWritesFrom(serial.Line().Writes().size());
        };
        auto test = SpO2Test(0, c.preset);
        Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "Unable to read from port.");
        test->Perform(setup);
        bool failedSeen = false;
        for (std::size_t i = first; i < serial.Line().Writes().size(); ++i) {
            const std::string& text = serial.Line().Writes()[i].text;
            if (text.rfind(c.failed, 0) == 0) failedSeen = true;
            EXPECT_NE(text.rfind(c.next, 0), 0u) << text << " was tried after the failure";
        }
        EXPECT_TRUE(failedSeen);
    }
}

// ---- readings ------------------------------------------------------------------

TEST_F(Spo2RunTest, ASecondStartEmptiesTheResultAndAFailedOneLeavesNoPassBehind) {
    auto test = SpO2Test(0, 0);
    int32_t afterFirst = -1;
    Start([&] {
        Type("97", "56");
        op.TypeInCell("FTestGuide", "xrvResult.tlstGrid", "90");  // no Enter: still open at Start
        op.Do("FTestGuide", "the first run passed; the instrument goes silent", [&](plat::ui::Form&) {
            afterFirst = Status(test);
            sim.SetSilent(true);
        });
        Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "No instrument was found");
    });
    test->Perform(setup);
    EXPECT_EQ(afterFirst, 1);
    ASSERT_TRUE(test->Result());
    EXPECT_EQ(Status(test), 0);
    EXPECT_EQ(test->Result()->MeasurementCount(), 0);

    // Next takes a reading typed without Enter, as a click elsewhere would.
    auto next = SpO2Test(0, 0);
    sim.SetSilent(false);
    Start([&] {
        Type("97", "56");
        op.TypeInCell("FTestGuide", "xrvResult.tlstGrid", "90");
        Click(FTestGuide::kNext);
    });
    next->Perform(setup);
    auto result = std::dynamic_pointer_cast<plugin::ITestResult>(next->Result());
    ASSERT_TRUE(result);
    auto spo2 = std::dynamic_pointer_cast<host::IMeasurement>(result->Measurements()->Item("SpO2"));
    ASSERT_TRUE(spo2);
    EXPECT_EQ(spo2->Value().AsString(), "90");
}

TEST_F(Spo2RunTest, TypedReadingsPassOrFailAgainstTheLimitsAndEachChangeStoresAgain) {
    auto test = SpO2Test(6, 24);
    Config(test)->SetSpO2(90);
    Config(test)->SetBPM(70);
    int32_t afterFirst = -1;
    Start([&] {
        Type("90", "70");
        op.Do("FTestGuide", "status after good readings", [&](plat::ui::Form&) { afterFirst = Status(test); });
        Type("60", "140").Click(FTestGuide::kNext);
    });
    test->Perform(setup);
    EXPECT_EQ(afterFirst, 1);
    EXPECT_EQ(Status(test), 2);
    auto result = std::dynamic_pointer_cast<plugin::ITestResult>(test->Result());
    ASSERT_TRUE(result);
    auto spo2 = std::dynamic_pointer_cast<host::IMeasurement>(result->Measurements()->Item("SpO2"));
    ASSERT_TRUE(spo2);
    EXPECT_EQ(spo2->Value().AsString(), "60");
}

}  // namespace
}  // namespace run_test
