// The run's flow around the instrument steps: the run context's consent,
// Stop and Abort in the middle of a long command, communication failures
// (one message per run, the driver control removed only after the call that
// failed), a group stepped through with every button, the instrument record,
// and the result saved with the element and printed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/host_application.h"
#include "host/report.h"
#include "host/test_element_base.h"
#include "host/xml.h"
#include "plugin/results/measurement_coll.h"
#include "tests/plugin/run/run_fixture.h"

namespace run_test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class RunFlowTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        host::HostApplication().SetConfirmStopAnswer(true);
    }
    // An SpO2 test that uploads its custom make into slot 0.
    std::shared_ptr<plugin::CTestData> UploadTest() {
        PutMake("Acme", "acme.txt");
        auto test = NewTest(100);
        auto config = Config(test);
        config->SetOximeterMake(10);
        config->SetOximeterMakeName("Acme");
        config->SetUploadRCurve(true);
        config->CopyCloneData(config.get());
        return test;
    }
    // Clicks `id` 5 s into the 10 s wait that follows the R-curve upload.
    void ClickDuringUploadWait(int32_t id) {
        sim.OnCommand = [this, id](const serialtest::ReceivedCommand& c) {
            if (c.text.rfind("[RCURVE", 0) != 0) return;
            uploadWrittenAt = c.time;
            ClickAt(c.time + 5000, id);
        };
    }
    plat::Millis uploadWrittenAt = -1;

    // Clicks `id` (0: the close box) in the quiet second that ends the probe
    // report, the command's 3 s wait after writing being over.
    void ClickDuringProbeReport(int32_t id) {
        sim.OnCommand = [this, id](const serialtest::ReceivedCommand& c) {
            if (c.text != "[PROBE]") return;
            if (id == 0)
                CloseAt(c.time + 3500);
            else
                ClickAt(c.time + 3500, id);
        };
    }
};

// ---- consent ---------------------------------------------------------------------

TEST_F(RunFlowTest, ARefusedElementShowsNoWindowAndGetsNoResult) {
    auto test = NewTest(200);
    test->Filter()->SetSelected(false);
    test->Perform(setup);
    EXPECT_EQ(test->Result(), nullptr);
    EXPECT_EQ(test->TestSetup(), nullptr);
    EXPECT_TRUE(op.Messages().empty());
}

TEST_F(RunFlowTest, TheElementOutlivesAHandlerThatDropsTheLastOtherReference) {
    auto test = NewTest(200);
    std::weak_ptr<plugin::CTestData> watch = test;
    op.Do("FTestGuide", "drop the element", [&](plat::ui::Form&) { test.reset(); });
    Click(FTestGuide::kNext);
    watch.lock()->Perform(setup);
    EXPECT_TRUE(watch.expired());
}

// ---- Stop and Abort during the upload's wait ---------------------------------------

TEST_F(RunFlowTest, StopDuringTheUploadWaitSendsNothingMoreAndKeepsTheWindow) {
    auto test = UploadTest();
    ClickDuringUploadWait(FTestGuide::kStop);
    plat::Millis endedAt = -1;
    Start([&] {
        endedAt = Now();
        Click(FTestGuide::kNext);  // the window stayed open
    }).ChooseSlot(0);
    test->Perform(setup);
    ASSERT_GE(uploadWrittenAt, 0);
    EXPECT_LT(endedAt, uploadWrittenAt + 10000);  // the wait was cut short
    const auto wire = Commands();
    ASSERT_EQ(wire.size(), 2u);
    EXPECT_EQ(wire[0], "[VER]");
    EXPECT_EQ(wire[1].rfind("[RCURVE>0:Acme", 0), 0u);
    EXPECT_THAT(MessageTexts(), IsEmpty());
    ASSERT_TRUE(test->Result());
    EXPECT_EQ(test->Result()->MeasurementCount(), 0);
    EXPECT_EQ(setup->StepCode(), 0);
}

TEST_F(RunFlowTest, AbortDuringTheUploadWaitDropsTheResultAndStopsTheSequence) {
    auto test = UploadTest();
    ClickDuringUploadWait(FTestGuide::kAbort);
    Start().ChooseSlot(0);
    test->Perform(setup);
    EXPECT_LT(Now(), uploadWrittenAt + 10000);
    EXPECT_EQ(Commands().size(), 2u);
    EXPECT_EQ(test->Result(), nullptr);
    EXPECT_EQ(setup->StepCode(), 2);
    EXPECT_EQ(test->MtiData()->SerialNo(), "");  // no record for a dropped result
}

// ---- the close box and the run's end ----------------------------------------------------

TEST_F(RunFlowTest, TheCloseBoxAbortsTheRunWhetherACommandIsInProgressOrNot) {
    auto idle = NewTest(200);
    setup->SetStepCode(0);  // left by an earlier element
    op.Do("FTestGuide", "the close box", [](plat::ui::Form& form) { EXPECT_FALSE(form.UserClose()); });
    idle->Perform(setup);
    EXPECT_EQ(setup->StepCode(), 2);
    EXPECT_EQ(idle->Result(), nullptr);
    EXPECT_THAT(Wire(), IsEmpty());

    // Run twice: the first run's button does not answer for the second.
    auto hidden = NewTest(200);
    Click(FTestGuide::kNext);
    hidden->Perform(setup);
    setup->SetStepCode(0);
    op.Do("FTestGuide", "hidden by code, no button", [](plat::ui::Form& form) { form.Hide(); });
    hidden->Perform(setup);
    EXPECT_EQ(setup->StepCode(), 2);
    EXPECT_EQ(hidden->Result(), nullptr);

    auto running = NewTest(100);
    setup->SetStepCode(0);
    plat::Millis closedAt = -1;
    sim.OnCommand = [&](const serialtest::ReceivedCommand& c) {
        if (c.text != "[MAKE0]") return;
        closedAt = c.time + 1000;
        CloseAt(closedAt);
    };
    Start();
    running->Perform(setup);
    EXPECT_EQ(Guide(), nullptr);
    EXPECT_EQ(setup->StepCode(), 2);
    EXPECT_EQ(running->Result(), nullptr);
    ASSERT_GE(closedAt, 0);
    EXPECT_LT(Now(), closedAt + 3000);  // the command's wait was cut short
    EXPECT_THAT(Commands(), ElementsAre("[MAKE0]"));
    EXPECT_EQ(Wire().back(), "[Q]");

    // A probe test closed in the wait before its report is asked never asks it.
    auto probe = NewTest(300);
    sim.OnCommand = nullptr;
    op.Do("FTestGuide", "Start, the close box a second later", [this](plat::ui::Form& form) {
        CloseAt(Now() + 1000);
        EXPECT_TRUE(static_cast<FTestGuide&>(form).Toolbar().ClickButton(FTestGuide::kStart));
    });
    probe->Perform(setup);
    EXPECT_EQ(setup->StepCode(), 2);
    EXPECT_THAT(Commands(), ElementsAre("[MAKE0]"));
}

TEST_F(RunFlowTest, EveryWayARunEndsSendsOneQuit) {
    struct Way {
        const char* name;
        int32_t testId;
        std::function<void()> script;
    };
    const std::vector<Way> ways = {
        {"Next after the readings", 100, [&] { Start([&] { Type("97", "56").Click(FTestGuide::kNext); }); }},
        {"Previous after the readings", 100, [&] { Start([&] { Type("97", "56").Click(FTestGuide::kPrevious); }); }},
        {"N/A", 200, [&] { Start([&] { Click(FTestGuide::kNA); }); }},
        {"Skip", 300, [&] { Start([&] { Click(FTestGuide::kSkip); }); }},
        {"Stop in the report, then Next", 200, [&] {
             ClickDuringProbeReport(FTestGuide::kStop);
             Start([&] { Click(FTestGuide::kNext); });
         }},
        {"Abort in the report", 200, [&] {
             ClickDuringProbeReport(FTestGuide::kAbort);
             Start();
         }},
        {"the close box in the report", 400, [&] {
             ClickDuringProbeReport(0);
             Start();
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        sim.OnCommand = nullptr;
        way.script();
        const int before = sim.QuitCount();
        NewTest(way.testId)->Perform(setup);
        EXPECT_EQ(sim.QuitCount() - before, 1);
    }
}

// ---- communication failures ----------------------------------------------------------

TEST_F(RunFlowTest, ACommunicationErrorIsShownOncePerRunAndEndsTheRun) {
    sim.SetSilent(true);
    auto test = NewTest(100);
    std::vector<bool> controlAfterRun;
    auto afterRun = [&] {
        controlAfterRun.push_back(Guide()->VTIControl() != nullptr);
    };
    Start([&] {
        afterRun();
        Start([&] {
            afterRun();
            Click(FTestGuide::kNext);
        }).Answer(plat::ui::vbOK, "No instrument was found");
    }).Answer(plat::ui::vbOK, "No instrument was found");
    test->Perform(setup);
    // Each run: the make command times out, nothing more is sent.
    EXPECT_THAT(Commands(), ElementsAre("[MAKE0]", "[MAKE0]"));
    EXPECT_EQ(op.Messages().size(), 2u);
    EXPECT_EQ(op.Messages()[0].title, "Orvik Pelmo Q5 Plug-In");
    EXPECT_THAT(controlAfterRun, ElementsAre(false, false));  // removed at the end of each Start
    EXPECT_EQ(test->Result()->MeasurementCount(), 0);
}

// Records, when the element reports done (after the failed command has
// returned), whether the driver control is still on the window.
class WatchingSetup : public host::CTestSetup {
public:
    std::vector<std::string> seen;
    void ElementDone(const host::TestElementPtr& element) override {
        seen.push_back(RunTest::Guide() && RunTest::Guide()->VTIControl() ? "done:control" : "done:none");
        CTestSetup::ElementDone(element);
    }
};

TEST_F(RunFlowTest, TheControlIsRemovedOnlyAfterTheFailedCommandHasReturned) {
    sim.SetSilent(true);
    auto test = NewTest(100);
    auto watching = std::make_shared<WatchingSetup>();
    Start([&] {
        watching->seen.push_back(Guide()->VTIControl() ? "after Start:control" : "after Start:none");
        Click(FTestGuide::kNext);
    }).Answer(plat::ui::vbOK, "No instrument was found");
    test->Perform(watching);
    EXPECT_THAT(watching->seen, ElementsAre("done:control", "after Start:none"));
    EXPECT_EQ(sim.QuitCount(), 1);
}

TEST_F(RunFlowTest, AStopBeforeTheFailureSilencesItsMessage) {
    sim.SetSilent(true);
    auto test = NewTest(200);
    Start([&] { Click(FTestGuide::kNext); }).Click(FTestGuide::kStop);
    test->Perform(setup);
    EXPECT_THAT(MessageTexts(), IsEmpty());
}

TEST_F(RunFlowTest, ADriverThatCannotBeAddedIsAFailureNotACleanRun) {
    plat::UnregisterServer(BinDir() + "/liborvikPelmo2VTI.so");
    auto test = NewTest(100);
    Start([&] {
        auto grid = std::dynamic_pointer_cast<plugin::XResultView>(Guide()->ResultView());
        ASSERT_TRUE(grid);
        EXPECT_FALSE(grid->EditMode());  // ended: no readings asked for
        Click(FTestGuide::kNext);
    }).Answer(plat::ui::vbOK, "An unrecognised error.");
    test->Perform(setup);
    EXPECT_THAT(Wire(), IsEmpty());
    EXPECT_EQ(op.Messages().size(), 1u);
}

// Logs, in order, the step codes written and the elements reported done.
class LoggingSetup : public host::CTestSetup {
public:
    std::vector<std::string> log;
    void SetStepCode(int32_t code) override {
        log.push_back("code " + std::to_string(code));
        CTestSetup::SetStepCode(code);
    }
    void ElementDone(const host::TestElementPtr& element) override {
        log.push_back("done");
        CTestSetup::ElementDone(element);
    }
};

TEST_F(RunFlowTest, NaSkipAndPreviousReportTheElementDonePreviousBeforeItsStepCode) {
    struct Way {
        const char* name;
        int32_t testId;
        std::function<void()> script;
        std::vector<std::string> log;
    };
    const std::vector<Way> ways = {
        {"N/A", 200, [&] { Click(FTestGuide::kNA); }, {"code 0", "done"}},
        {"Skip", 300, [&] { Click(FTestGuide::kSkip); }, {"code 3", "done"}},
        {"Next", 400, [&] { Click(FTestGuide::kNext); }, {"code 0"}},
        {"Previous after a run", 100, [&] { Start([&] { Type("97", "56").Click(FTestGuide::kPrevious); }); },
         {"done", "done", "code 1"}},  // Start's, then Previous's own
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        auto logging = std::make_shared<LoggingSetup>();
        way.script();
        NewTest(way.testId)->Perform(logging);
        EXPECT_EQ(logging->log, way.log);
    }
}

// ---- a group stepped through -------------------------------------------------------

TEST_F(RunFlowTest, AGroupOfAllFourStepsNextPreviousSkipNaAndStop) {
    auto group = std::dynamic_pointer_cast<plugin::CTestGroup>(plugIn_->CreateTest(1));
    ASSERT_TRUE(group);
    ASSERT_EQ(group->Count(), 4);
    std::vector<int32_t> visited;
    auto at = [&](const char* what) {
        op.Do("FTestGuide", what, [&](plat::ui::Form& form) {
            visited.push_back(static_cast<FTestGuide&>(form).Element()->TestID());
        });
    };
    at("SpO2 first");
    Start([&] {
        Type("98", "55").Click(FTestGuide::kNext);
        at("LED");
        Start([&] {
            Click(FTestGuide::kPrevious);
            at("SpO2 again");
            Click(FTestGuide::kSkip);
            at("LED again");
            Click(FTestGuide::kNA);
            at("photodiode");
            Start([&] {
                Click(FTestGuide::kNext);
                at("resistance");
                Start().Click(FTestGuide::kAbort);
            }).Click(FTestGuide::kStop);
        });
    });
    group->Perform(setup);

    EXPECT_THAT(visited, ElementsAre(100, 200, 100, 200, 300, 400));
    EXPECT_EQ(setup->StepCode(), 2);
    EXPECT_EQ(group->Item(1)->Result(), nullptr);             // skipped
    EXPECT_EQ(group->Item(2)->Result()->Status(), 3);         // not applicable
    EXPECT_EQ(group->Item(2)->Result()->MeasurementCount(), 0);
    EXPECT_EQ(group->Item(3)->Result()->MeasurementCount(), 0);  // stopped before its readings
    EXPECT_EQ(group->Item(4)->Result(), nullptr);             // aborted
    // The photodiode and resistance runs were stopped before their commands.
    EXPECT_THAT(Commands(), ElementsAre("[MAKE0]", "[TLC1100]", "[PRESETS0]", "[PROBE]"));
}

TEST_F(RunFlowTest, AStalledTestGuideWindowEndsTheGroupsRunInsteadOfBeingReported) {
    auto group = std::dynamic_pointer_cast<plugin::CTestGroup>(plugIn_->CreateTest(1));
    EXPECT_THROW(group->Perform(setup), plat::AbortError);  // no operator step: the window waits for nothing
    op.ClearErrors();
}

// ---- instrument record, saving, report -----------------------------------------------

TEST_F(RunFlowTest, TheInstrumentIsRecordedWithTheResultAndKeptForTheNextRun) {
    auto unrecorded = NewTest(300);
    Start([&] { Click(FTestGuide::kNext); });
    unrecorded->Perform(setup);
    EXPECT_EQ(unrecorded->Result()->MTIID(), 0);  // no serial number: no record
    EXPECT_EQ(setup->MtiRecords()->Count(), 0);

    auto test = NewTest(200);
    Start([&] {
        op.Type("FTestGuide", "xmdMtiData.txtSerial", "7734");
        Click(FTestGuide::kNext);
    });
    test->Perform(setup);
    EXPECT_EQ(test->Result()->MTIID(), 1);
    ASSERT_EQ(setup->MtiRecords()->Count(), 1);
    EXPECT_EQ(setup->MtiRecords()->Item(1)->SerialNo(), "7734");
    EXPECT_EQ(test->MtiData()->SerialNo(), "7734");
}

TEST_F(RunFlowTest, TheResultIsSavedWithTheElementAndPrintedInTheReport) {
    auto test = NewTest(100);
    Start([&] { Type("97", "56").Click(FTestGuide::kNext); });
    test->Perform(setup);
    ASSERT_EQ(test->Result()->Status(), 1);

    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(test->Save(*doc, {}));
    const std::string saved = doc->Xml();
    EXPECT_THAT(saved, HasSubstr("ResultItem"));

    auto again = host::XmlFactory().NewDocument();
    again->LoadXml(saved);
    auto loaded = host::LoadTestElement(*again->DocumentElement(), std::make_shared<host::CLoadContext>());
    ASSERT_TRUE(loaded->Result());
    EXPECT_EQ(loaded->Result()->Status(), 1);
    EXPECT_EQ(loaded->Result()->MeasurementCount(), 2);

    auto report = std::make_shared<host::CReport>("English", 1, 3);
    loaded->PrintReport(report, {});
    std::string printed;
    for (const auto& table : report->Tables()) printed += table.body;
    EXPECT_THAT(printed, HasSubstr("97"));
    EXPECT_THAT(printed, HasSubstr("56"));
}

}  // namespace
}  // namespace run_test
