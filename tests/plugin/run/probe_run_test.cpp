// The probe tests end to end: the simulator's probe report read once and
// turned into the test's measurements, and reports that hold nothing usable.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugin/results/measurement.h"
#include "plugin/results/measurement_coll.h"
#include "tests/plugin/run/run_fixture.h"

namespace run_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ProbeRunTest : public RunTest {
protected:
    // Runs the test: Start, then Next once the run has ended.
    std::shared_ptr<plugin::CTestData> Run(int32_t testId) {
        auto test = NewTest(testId);
        Start([&] { Click(FTestGuide::kNext); });
        test->Perform(setup);
        return test;
    }
    // Key=value of each measurement, in order.
    static std::vector<std::string> Values(const std::shared_ptr<plugin::CTestData>& test) {
        std::vector<std::string> out;
        auto result = std::dynamic_pointer_cast<plugin::ITestResult>(test->Result());
        if (!result || !result->Measurements()) return out;
        for (int32_t i = 1; i <= result->Measurements()->Count(); ++i) {
            auto m = std::dynamic_pointer_cast<host::IMeasurement>(result->Measurements()->Item(i));
            out.push_back(m->Key() + "=" + m->Value().AsString());
        }
        return out;
    }
    static std::string Report(std::initializer_list<std::string> lines) {
        std::string report = "PROBE TEST RESULTS\r\n";
        for (const auto& line : lines) report += line + "\r\n";
        return report + "   \r\n";
    }
};

TEST_F(ProbeRunTest, LedTestReadsRIrAndPhotoFromTheReport) {
    auto test = Run(200);
    EXPECT_THAT(Wire(), ElementsAre("[PROBE]", "[Q]"));
    EXPECT_THAT(Values(test), ElementsAre("LED-R=1.25", "LED-IR=2.5", "LED-PHOTO=3.75"));
    EXPECT_THAT(MessageTexts(), IsEmpty());
    EXPECT_EQ(setup->Done().size(), 1u);
}

TEST_F(ProbeRunTest, PhotodiodeTestReadsTheSplitPhotoLine) {
    auto test = Run(300);
    EXPECT_THAT(Values(test), ElementsAre("PHOTODIODE-R=123", "PHOTODIODE-IR=456"));
}

TEST_F(ProbeRunTest, ResistanceTestNamesEachPinPairInKiloOhms) {
    // The shipped resistance test measures the pair its limits name: pins 1 and 2.
    auto test = Run(400);
    EXPECT_THAT(Values(test), ElementsAre("PIN1_TO_PIN2=10.2"));
}

TEST_F(ProbeRunTest, OnlyThePinPairIsRenamedNotItsValue) {
    sim.SetProbeReport(Report({"PIN 1 TO PIN 2 = -5"}));
    auto test = Run(400);
    EXPECT_THAT(Values(test), ElementsAre("PIN1_TO_PIN2=-0.005"));
}

TEST_F(ProbeRunTest, LedItemsSplitAtABlankAndTheLaterItemOfAKindWins) {
    sim.SetProbeReport(Report({"R 1.5", "IR=2.25", "PHTO=3", "R=9=9", "RED=1.75"}));
    auto test = Run(200);
    // "R=9=9" has two equals signs and no blank: ignored; "RED" begins with R.
    EXPECT_THAT(Values(test), ElementsAre("LED-R=1.75", "LED-IR=2.25", "LED-PHOTO=3"));
}

TEST_F(ProbeRunTest, AReportWithoutTheTestsReadingsIsAFormatErrorAndLeavesTheResult) {
    sim.SetProbeReport(Report({"PIN 1 TO PIN 2 = 10K"}));
    auto led = NewTest(200);
    Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "format of the reply was unrecognised");
    led->Perform(setup);
    ASSERT_TRUE(led->Result());
    EXPECT_EQ(led->Result()->MeasurementCount(), 0);
    EXPECT_EQ(led->Result()->Status(), 0);
    ASSERT_EQ(op.Messages().size(), 1u);
    EXPECT_EQ(op.Messages()[0].title, "Orvik Pelmo Q5 Plug-In");
    EXPECT_EQ(op.Messages()[0].Icon(), plat::ui::vbCritical);

    auto photodiode = NewTest(300);
    Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "format of the reply was unrecognised");
    photodiode->Perform(setup);
    EXPECT_EQ(photodiode->Result()->MeasurementCount(), 0);
}

TEST_F(ProbeRunTest, AResistanceReportWithoutPinsIsStoredEmpty) {
    sim.SetProbeReport(Report({"R=1.25"}));
    auto test = Run(400);
    EXPECT_THAT(MessageTexts(), IsEmpty());
    ASSERT_TRUE(test->Result());
    EXPECT_THAT(Values(test), ElementsAre("PIN1_TO_PIN2="));  // not measured
    EXPECT_EQ(test->Result()->Status(), 0);
}

TEST_F(ProbeRunTest, ASilentProbeIsReportedAsTheProbeCableAndNothingIsStored) {
    sim.SetSilent(true);
    auto test = NewTest(200);
    Start([&] { Click(FTestGuide::kNext); }).Answer(plat::ui::vbOK, "please check probe cable");
    test->Perform(setup);
    EXPECT_EQ(test->Result()->MeasurementCount(), 0);
    EXPECT_EQ(op.Messages().size(), 1u);
}

}  // namespace
}  // namespace run_test
