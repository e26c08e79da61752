// The test-guide window driven headless: what it adds when it loads, how it
// prepares itself for a test, its buttons' states, what each toolbar id
// raises, and the events it relays from the driver control and the grid.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/loop/virtual_time_scope.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/shell/mti_data.h"
#include "plugin/shell/test_data.h"
#include "tests/plugin/guide/guide_fixture.h"
#include "tests/support/ui/scripted_operator.h"

namespace guide_test {
namespace {

using plugin::FTestGuide;
using ::testing::ElementsAre;

bool Contains(const Log& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

// ---- Loading and preparing ----------------------------------------------

TEST_F(GuideTest, LoadAddsTheGridAndTheHelpViewerByProgIdAtTheirPlaces) {
    guide->Load();
    auto* grid = guide->Controls().FindAs<plat::ui::ObjectControl>("xrvResult");
    auto* help = guide->Controls().FindAs<plat::ui::ObjectControl>("xhhHtmlHelp");
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(grid->ProgId(), "OrvikPelmo2.XResultView");
    EXPECT_EQ(help->ProgId(), "OrvikPelmo2.XHtmlHelp");
    EXPECT_EQ(grid->TabIndex(), 2);
    EXPECT_EQ(help->TabIndex(), 3);
    EXPECT_NE(guide->ResultView(), nullptr);
    EXPECT_NE(guide->HtmlHelp(), nullptr);
    EXPECT_EQ(guide->ScaleWidth(), 8820);
    EXPECT_EQ(guide->ScaleHeight(), 5535);
}

TEST_F(GuideTest, WithoutGridOrHelpClassesTheWindowStillWorks) {
    plat::UnregisterClass("OrvikPelmo2.XResultView");
    plat::UnregisterClass("OrvikPelmo2.XHtmlHelp");
    Log events;
    Listen(events);
    Prepare();
    EXPECT_EQ(guide->ResultView(), nullptr);
    EXPECT_TRUE(guide->Toolbar().ClickButton(FTestGuide::kStart));
    guide->ResetRun();
    guide->CompleteRun();
    guide->EndRun();
    EXPECT_THAT(events, ElementsAre("StartTest"));
}

TEST_F(GuideTest, CaptionIsTheHostsTitleElseTheTranslatedTestGuideText) {
    Prepare();
    EXPECT_EQ(guide->Caption(), "TEST GUIDE");
    auto other = std::make_shared<FTestGuide>();
    host::HostApplication().SetTitle("Bench 4");
    other->Load();
    other->InitGuide(element, setup, identity);
    EXPECT_EQ(other->Caption(), "Bench 4");
    other->Unload();
}

TEST_F(GuideTest, PreparingCallsTheGridAndHelpInOrder) {
    auto result = std::make_shared<FakeResult>();
    result->count = 2;
    element->result = result;
    guide->Load();
    Calls().clear();
    guide->InitGuide(element, setup, identity);
    EXPECT_THAT(Calls(), ElementsAre("grid.Owner", "grid.InitTest", "grid.DisplayResults", "grid.SetEditMode(1)",
                                     "grid.Refresh", "help.Initialize(SpO2SimulationHtmlHelp.html)"));
    EXPECT_EQ(Grid()->owner.lock(), element);
    EXPECT_EQ(guide->ContentPane().MainControl()->Name(), "xrvResult");
    EXPECT_EQ(guide->ContentPane().HelpControl()->Name(), "xhhHtmlHelp");
    EXPECT_EQ(guide->Toolbar().SetupFirst(), 7);
    EXPECT_EQ(guide->Toolbar().SetupSecond(), 3);
    EXPECT_EQ(guide->ContentPane().Window(), guide.get());
}

TEST_F(GuideTest, HelpPageFollowsTheTestIdAndIsShownOnlyWhenFound) {
    for (auto [id, file] : {std::pair{200, "LEDHtmlHelp.html"}, {300, "PhotoDiodeHtmlHelp.html"},
                            {400, "ResistanceHtmlHelp.html"}, {250, ""}}) {
        auto window = std::make_shared<FTestGuide>();
        element->testId = id;
        Calls().clear();
        FakeHtmlHelp::answer = id != 300;
        window->Load();
        window->InitGuide(element, setup, identity);
        EXPECT_TRUE(Contains(Calls(), std::string("help.Initialize(") + file + ")")) << id;
        EXPECT_EQ(window->ContentPane().HelpControl() != nullptr, id != 300) << id;
        EXPECT_EQ(window->Controls().Item("xhhHtmlHelp").Visible(), id != 300) << id;
        window->Unload();
    }
}

TEST_F(GuideTest, ProbeTestsRestrictTheInstrumentTypeAndDisableButton501) {
    Prepare();
    EXPECT_EQ(guide->MtiDataControl().Controls().FindAs<plat::ui::ComboBox>("cboMtiType")->ListCount(), 2);
    EXPECT_TRUE(Enabled(FTestGuide::kExpectedValues));

    element->testId = 400;
    auto probe = std::make_shared<FTestGuide>();
    probe->Load();
    probe->InitGuide(element, setup, identity);
    auto* types = probe->MtiDataControl().Controls().FindAs<plat::ui::ComboBox>("cboMtiType");
    EXPECT_EQ(types->ListCount(), 1);
    EXPECT_EQ(probe->CurrentMtiData()->MtiType(), "Pelmo Q5 FE");
    EXPECT_FALSE(probe->Toolbar().ButtonEnabled(FTestGuide::kExpectedValues));
    probe->Unload();
}

TEST_F(GuideTest, AnIdentityIsShownOnlyWhenItHasASerialNumberOrFirmware) {
    plugin::SetRegistryValue(plugin::kMtiDataKey, "Type", "Pelmo Q5 F");
    plugin::SetRegistryValue(std::string(plugin::kMtiDataKey) + "Pelmo Q5 F", "Serial", "REG1");
    identity->SetMtiType("Pelmo Q5 F");
    guide = std::make_shared<FTestGuide>();  // reads the registry when made
    Prepare();
    EXPECT_EQ(guide->CurrentMtiData()->SerialNo(), "REG1");  // the empty identity was not taken

    auto other = std::make_shared<FTestGuide>();
    identity->SetSerialNo("AB12");
    identity->SetFWVersion("2.1");
    other->Load();
    other->InitGuide(element, setup, identity);
    EXPECT_EQ(other->CurrentMtiData()->SerialNo(), "AB12");
    EXPECT_EQ(other->CurrentMtiData()->FWVersion(), "2.1");
    EXPECT_NE(other->CurrentMtiData(), identity);  // values taken over, not the object
    other->Unload();
}

TEST_F(GuideTest, TheIdentityPaneIsSelectedOnlyByTheFirstWindowAfterTheFlagWasCleared) {
    plugin::SetIdentityPaneShown(false);
    Prepare();
    auto& pane = guide->ContentPane();
    ASSERT_EQ(pane.PaneCount(), 1);
    EXPECT_EQ(pane.SelectedPane(), 1);
    EXPECT_EQ(pane.PaneItem(1)->Style(), 255);
    EXPECT_EQ(pane.PaneItem(1)->Caption(), "MTI Data");
    EXPECT_EQ(pane.PaneItem(1)->Picture().Name(), "PELMO2MTI1");
    EXPECT_EQ(pane.PaneItem(1)->SelectedPicture().Name(), "PELMO2MTI1");
    EXPECT_EQ(pane.PaneItem(1)->BackColor(), guide->MtiDataControl().BackColor());
    EXPECT_TRUE(plugin::IdentityPaneShown());

    auto second = std::make_shared<FTestGuide>();
    second->Load();
    second->InitGuide(element, setup, identity);
    EXPECT_EQ(second->ContentPane().SelectedPane(), 0);
    second->Unload();

    auto constructed = std::make_shared<plugin::CTestData>();  // a new test element clears the flag
    auto third = std::make_shared<FTestGuide>();
    third->Load();
    third->InitGuide(element, setup, identity);
    EXPECT_EQ(third->ContentPane().SelectedPane(), 1);
    third->Unload();
}

TEST_F(GuideTest, ProbeRowsAreLaidOutOnlyWithoutAStandardToShow) {
    struct Case {
        int32_t testId;
        std::shared_ptr<host::CLimitStandards> run;
        std::shared_ptr<host::CLimitStandards> own;
        bool limits;
        bool probeRows;
    };
    const std::vector<Case> cases = {
        {200, Standards({}), Standards({{"A", ""}}), true, true},    // the run gives none
        {200, nullptr, Standards({}), true, true},                  // the test has none
        {300, nullptr, Standards({{"A", ""}}), true, false},         // the test has one
        {400, Standards({{"R", ""}}), Standards({}), true, true},    // the run's count is not 0: the test's count
        {400, nullptr, nullptr, false, false},                      // no limits at all
        {100, Standards({}), Standards({}), true, false},           // never for test 100
    };
    for (const Case& c : cases) {
        element->testId = c.testId;
        setup->SetLimitStandards(c.run);
        if (c.limits) {
            auto own = std::make_shared<FakeLimits>();
            own->standards = c.own;
            element->limits = own;
        } else {
            element->limits = nullptr;
        }
        auto window = std::make_shared<FTestGuide>();
        window->Load();
        Calls().clear();
        window->InitGuide(element, setup, identity);
        EXPECT_EQ(Contains(Calls(), "grid.InitProbeTest"), c.probeRows) << c.testId;
        window->Unload();
    }
}

// ---- Button states -------------------------------------------------------

TEST_F(GuideTest, ConfigurationFlagsGateSkipAndNAWhileNextFollowsTheRunState) {
    for (auto [flags, skip, na] : {std::tuple{1, true, false}, {2, false, true}, {3, true, true}, {0, false, false}}) {
        config->SetEnableBtnFlags(flags);
        auto window = std::make_shared<FTestGuide>();
        window->Load();
        window->InitGuide(element, setup, identity);
        auto& bar = window->Toolbar();
        EXPECT_EQ(bar.ButtonEnabled(FTestGuide::kSkip), skip) << flags;
        EXPECT_EQ(bar.ButtonEnabled(FTestGuide::kNA), na) << flags;
        EXPECT_TRUE(bar.ButtonEnabled(FTestGuide::kNext)) << flags;
        window->Unload();
    }
}

TEST_F(GuideTest, ProbeTestsEnableSkipAndNAWhateverTheSpO2Flags) {
    config->SetEnableBtnFlags(0);
    element->testId = 200;
    Prepare();
    EXPECT_TRUE(Enabled(FTestGuide::kSkip));
    EXPECT_TRUE(Enabled(FTestGuide::kNA));
}

TEST_F(GuideTest, PreviousNeedsAResultWithAStatus) {
    Prepare();
    EXPECT_FALSE(Enabled(FTestGuide::kPrevious));
    auto result = std::make_shared<FakeResult>();
    element->result = result;
    guide->UpdateToolBar();
    EXPECT_FALSE(Enabled(FTestGuide::kPrevious));
    result->status = 2;
    guide->UpdateToolBar();
    EXPECT_TRUE(Enabled(FTestGuide::kPrevious));
    EXPECT_EQ(guide->Toolbar().Status(), 2);
}

TEST_F(GuideTest, AfterStartOnlyTheTestEnablesStopAndAbort) {
    element->result = std::make_shared<FakeResult>();
    std::static_pointer_cast<FakeResult>(element->result)->status = 1;
    Prepare();
    EXPECT_FALSE(Enabled(FTestGuide::kStop));  // no run to stop
    bool startRaised = false;
    guide->OnStartTest = [&] {
        startRaised = true;
        for (int32_t id : {101, 102, 103, 201, 202, 301, 302, 402})
            EXPECT_FALSE(guide->Toolbar().ButtonEnabled(id)) << id;
        EXPECT_TRUE(guide->Running());
        EXPECT_TRUE(guide->Toolbar().Busy().Visible());
        EXPECT_TRUE(guide->Toolbar().Busy().Running());
        guide->EnableStopAndAbortButtons(true);
    };
    EXPECT_TRUE(guide->Toolbar().ClickButton(FTestGuide::kStart));
    EXPECT_TRUE(startRaised);
    EXPECT_TRUE(Enabled(FTestGuide::kStop));
    EXPECT_TRUE(Enabled(FTestGuide::kAbort));
    EXPECT_FALSE(Enabled(FTestGuide::kNext));
    EXPECT_FALSE(guide->Toolbar().ClickButton(FTestGuide::kNext));  // refused while running

    // Once the run ended (with readings to type or without), Stop has nothing to stop.
    guide->CompleteRun();
    EXPECT_FALSE(Enabled(FTestGuide::kStop));
    guide->EndRun();
    EXPECT_FALSE(guide->Running());
    EXPECT_FALSE(guide->Toolbar().Busy().Visible());
    EXPECT_TRUE(Enabled(FTestGuide::kNext));
    EXPECT_FALSE(Enabled(FTestGuide::kAbort));
    EXPECT_FALSE(Enabled(FTestGuide::kStop));
    EXPECT_FALSE(guide->Toolbar().ClickButton(FTestGuide::kStop));
}

// ---- Toolbar ids ---------------------------------------------------------

TEST_F(GuideTest, EveryToolbarIdRaisesItsEvent) {
    element->result = std::make_shared<FakeResult>();
    std::static_pointer_cast<FakeResult>(element->result)->status = 1;
    Prepare();
    Log events;
    Listen(events);
    guide->OnStartTest = [&] {
        events.push_back("StartTest");
        guide->EnableStopAndAbortButtons(true);
    };
    auto& bar = guide->Toolbar();
    EXPECT_TRUE(bar.ButtonEnabled(FTestGuide::kReserved));
    EXPECT_FALSE(bar.ClickButton(FTestGuide::kReserved));  // the stand-in host does not show it
    for (int32_t id : {102, 103, 301, 302, 501, 202, 201}) EXPECT_TRUE(bar.ClickButton(id)) << id;
    EXPECT_THAT(events, ElementsAre("NA", "Previous", "NextTest", "Skip", "StartTest", "AbortTest"));
}

TEST_F(GuideTest, StopAsksTheHostFirst) {
    Prepare();
    Log events;
    guide->Toolbar().ClickButton(FTestGuide::kStart);
    guide->EnableStopAndAbortButtons(true);
    Listen(events);
    host::HostApplication().SetConfirmStopAnswer(false);
    EXPECT_TRUE(guide->Toolbar().ClickButton(FTestGuide::kStop));
    EXPECT_TRUE(events.empty());
    host::HostApplication().SetConfirmStopAnswer(true);
    EXPECT_TRUE(guide->Toolbar().ClickButton(FTestGuide::kStop));
    EXPECT_THAT(events, ElementsAre("StopTest"));
}

TEST_F(GuideTest, AbortLeavesStopDisabledAndTheBusyIndicatorOff) {
    Prepare();
    bool stopDuringAbort = true;
    guide->OnStartTest = [&] { guide->EnableStopAndAbortButtons(true); };
    guide->OnAbortTest = [&] { stopDuringAbort = guide->Toolbar().ButtonEnabled(FTestGuide::kStop); };
    guide->Toolbar().ClickButton(FTestGuide::kStart);
    EXPECT_TRUE(guide->Toolbar().ClickButton(FTestGuide::kAbort));
    EXPECT_FALSE(stopDuringAbort);
    EXPECT_FALSE(Enabled(FTestGuide::kStop));
    EXPECT_FALSE(Enabled(FTestGuide::kAbort));
    EXPECT_FALSE(guide->Toolbar().Busy().Running());
    EXPECT_TRUE(guide->Running());  // the test ends the run
}

TEST_F(GuideTest, TheCloseBoxIsAbortAndLeavesTheUnloadToTheTest) {
    Prepare();
    Log events;
    Listen(events);
    guide->Toolbar().ClickButton(FTestGuide::kStart);
    EXPECT_FALSE(guide->UserClose());
    EXPECT_THAT(events, ElementsAre("StartTest", "AbortTest"));
    EXPECT_TRUE(guide->Loaded());
    EXPECT_FALSE(guide->Visible());
    EXPECT_TRUE(guide->Unload());  // the test's own unload goes through
}

TEST_F(GuideTest, AFlaggedStartAbortsARunningTestOrGoesBackWhenPreviousIsPressed) {
    Prepare();
    Log events;
    Listen(events);
    guide->Toolbar().ClickButton(FTestGuide::kStart);
    guide->EnableStopAndAbortButtons(true);
    guide->Toolbar().SetButtonEnabled(FTestGuide::kStart, true);
    guide->Toolbar().ClickButton(FTestGuide::kStart, true);
    guide->EndRun();
    guide->Toolbar().Button(FTestGuide::kPrevious).SetValue(true);
    guide->Toolbar().ClickButton(FTestGuide::kStart, true);
    guide->Toolbar().Button(FTestGuide::kPrevious).SetValue(false);
    guide->Toolbar().ClickButton(FTestGuide::kStart, true);
    EXPECT_THAT(events, ElementsAre("StartTest", "AbortTest", "Previous", "StartTest"));
}

TEST_F(GuideTest, StartNextAndPreviousSaveTheIdentityToTheRegistry) {
    Prepare();
    guide->OnStartTest = [&] { guide->EndRun(); };
    auto* serial = guide->MtiDataControl().Controls().FindAs<plat::ui::TextBox>("txtSerial");
    serial->SetText("S1");
    guide->Toolbar().ClickButton(FTestGuide::kStart);
    const std::string key = std::string(plugin::kMtiDataKey) + "Pelmo Q5 F";
    EXPECT_EQ(plugin::GetRegistryString(key, "Serial"), "S1");
    serial->SetText("S2");
    guide->Toolbar().ClickButton(FTestGuide::kSkip);
    EXPECT_EQ(plugin::GetRegistryString(key, "Serial"), "S1");  // Skip saves nothing
    guide->Toolbar().ClickButton(FTestGuide::kNext);
    EXPECT_EQ(plugin::GetRegistryString(key, "Serial"), "S2");
}

TEST_F(GuideTest, TheToolbarShowsTheStatusOfTheResultShownFromTheStartAndAfterAClick) {
    // An earlier run's failed readings come with their status, for every test.
    for (int32_t testId : {100, 200, 300, 400}) {
        auto earlier = std::make_shared<FakeResult>();
        earlier->status = 2;
        earlier->count = 1;
        element->result = earlier;
        element->testId = testId;
        auto window = std::make_shared<FTestGuide>();
        window->Load();
        window->InitGuide(element, setup, identity);
        EXPECT_EQ(window->Toolbar().Status(), 2) << testId;
        window->Unload();
    }
    element->testId = 100;
    auto result = std::make_shared<FakeResult>();
    element->result = result;
    Prepare();
    guide->OnNA = [&] { result->status = 3; };
    guide->Toolbar().ClickButton(FTestGuide::kNA);
    EXPECT_EQ(guide->Toolbar().Status(), 3);
    guide->ResetRun();
    EXPECT_EQ(guide->Toolbar().Status(), 0);
}

// ---- The run's operations ------------------------------------------------

TEST_F(GuideTest, RunOperationsDriveTheGrid) {
    auto result = std::make_shared<FakeResult>();
    element->result = result;
    Prepare();
    guide->ShowMeasurements();  // no measurements: nothing shown
    guide->CompleteRun();       // not running: nothing
    EXPECT_TRUE(Calls().empty());
    guide->ResetRun();
    result->count = 1;
    guide->ShowMeasurements();
    guide->Toolbar().ClickButton(FTestGuide::kStart);
    Calls().clear();
    guide->CompleteRun();
    guide->EndRun();
    EXPECT_THAT(Calls(), ElementsAre("grid.Fire", "grid.SetEditMode(1)", "grid.SetEditMode(0)"));

    element->testId = 200;
    Calls().clear();
    guide->ShowMeasurements();
    guide->EndRun();
    EXPECT_THAT(Calls(), ElementsAre("grid.DisplayResults"));
}

// ---- Standards -----------------------------------------------------------

TEST_F(GuideTest, TheSelectorListsTheRunsStandardsElseTheTestsAndReportsEachPick) {
    limits->standards = Standards({{"Own", "1"}});
    guide->Load();
    Calls().clear();
    guide->InitGuide(element, setup, identity);
    EXPECT_TRUE(Contains(Calls(), "grid.SelectStandard(Own,1,0)"));

    setup->SetLimitStandards(Standards({{"ISO", "a"}, {"Maker", "b"}}));
    auto window = std::make_shared<FTestGuide>();
    window->Load();
    Calls().clear();
    window->InitGuide(element, setup, identity);
    EXPECT_TRUE(Contains(Calls(), "grid.SelectStandard(ISO,a,0)"));
    EXPECT_FALSE(Contains(Calls(), "grid.SelectStandard(Own,1,0)"));
    Calls().clear();
    auto* selector = window->Toolbar().Controls().FindAs<plat::ui::ComboBox>("cboStandard");
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->ListCount(), 2);
    window->Show();
    EXPECT_TRUE(selector->PickItem(1));
    EXPECT_TRUE(window->Toolbar().ClickButton(FTestGuide::kExpectedValues));
    EXPECT_THAT(Calls(), ElementsAre("grid.SelectStandard(Maker,b,0)", "grid.SelectStandard(Maker,b,1)"));
    window->Unload();
}

// ---- The driver control --------------------------------------------------

TEST_F(GuideTest, CreateAndRemoveTheDriverControl) {
    Prepare();
    EXPECT_EQ(guide->VTIControl(), nullptr);
    guide->CreateVTI();
    ASSERT_NE(guide->VTIControl(), nullptr);
    EXPECT_TRUE(guide->Controls().Exists("VTIControl"));
    guide->CreateVTI();  // takes the control it has
    guide->RemoveVTI();
    EXPECT_THAT(Calls(), ElementsAre("vti.InitVTI", "vti.InitVTI", "vti.ResetInstrument", "vti.EndRemote"));
    EXPECT_EQ(guide->VTIControl(), nullptr);
    EXPECT_FALSE(guide->Controls().Exists("VTIControl"));
    Calls().clear();
    guide->RemoveVTI();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(GuideTest, RemoveVTIEnteredAgainFromTheDriverRunsOnce) {
    Prepare();
    guide->CreateVTI();
    vti->onReset = [&] { guide->RemoveVTI(); };
    guide->RemoveVTI();
    EXPECT_THAT(Calls(), ElementsAre("vti.InitVTI", "vti.ResetInstrument", "vti.EndRemote"));
    EXPECT_FALSE(guide->Controls().Exists("VTIControl"));
}

TEST_F(GuideTest, ADriverThatCannotBeCreatedLeavesNoControl) {
    plat::UnregisterClass(drv::kXVTIControlProgId);
    Prepare();
    guide->CreateVTI();
    EXPECT_EQ(guide->VTIControl(), nullptr);
    guide->RemoveVTI();
}

TEST_F(GuideTest, CommunicationErrorsAreRelayedWhenTheirParametersFit) {
    Prepare();
    Log events;
    Listen(events);
    guide->CreateVTI();
    vti->RaiseError(drv::ecsTimedOut);
    vti->Raise(drv::kCommunicationErrorEvent, {});
    vti->Raise(drv::kCommunicationErrorEvent, {plat::Variant(5)});
    vti->Raise(drv::kCommunicationErrorEvent, {plat::Variant(plat::ObjectPtr(std::make_shared<FakeResult>()))});
    vti->Raise("communicationerror", {plat::Variant(plat::ObjectPtr(std::make_shared<FakeError>(drv::ecsPortBusy)))});
    EXPECT_THAT(events, ElementsAre("CommunicationError(3)"));
}

TEST_F(GuideTest, AHandlerMayRemoveTheControlWhoseEventItHandles) {
    Prepare();
    guide->CreateVTI();
    guide->OnCommunicationError = [&](const std::shared_ptr<drv::ICPelmo2VTIError>&) { guide->RemoveVTI(); };
    vti->RaiseError(drv::ecsMTINotFound);
    EXPECT_FALSE(guide->Controls().Exists("VTIControl"));
}

// ---- The grid's readings -------------------------------------------------

TEST_F(GuideTest, ReadingsAreRelayedForTest100OnlyWhenTheirParametersFit) {
    Prepare();
    Log events;
    Listen(events);
    auto grid = Grid();
    grid->Raise("TestResultsChanged", {plat::Variant("97"), plat::Variant("61"), plat::Variant(true)});
    grid->Raise("TestResultsChanged", {plat::Variant("97")});
    grid->Raise("TestResultsChanged", {plat::Variant(plat::ObjectPtr(element)), plat::Variant("61")});
    grid->Raise("testresultschanged", {plat::Variant("1"), plat::Variant("2"), plat::Variant(true)});
    grid->Raise("Other", {plat::Variant("1"), plat::Variant("2"), plat::Variant(true)});
    grid->Raise("TestResultsChanged", {plat::Variant(""), plat::Variant(75), plat::Variant(false)});
    EXPECT_THAT(events, ElementsAre("TestResultsChanged(97,61)", "TestResultsChanged(,75)"));

    events.clear();
    element->testId = 300;
    grid->Raise("TestResultsChanged", {plat::Variant("97"), plat::Variant("61"), plat::Variant(true)});
    EXPECT_TRUE(events.empty());
}

// ---- Layout --------------------------------------------------------------

TEST_F(GuideTest, ResizeKeepsTheToolbarAtTheBottom) {
    Prepare();
    guide->SetInnerSize(12000, 8000);
    auto& bar = *guide->Controls().FindAs<plat::ui::ObjectControl>("xtbToolbar");
    auto& pane = *guide->Controls().FindAs<plat::ui::ObjectControl>("xcpContents");
    EXPECT_EQ(bar.Top(), 8000 - 645);
    EXPECT_EQ(bar.Width(), 12000);
    EXPECT_EQ(pane.Height(), 8000 - 645);
    EXPECT_EQ(pane.Width(), 12000);

    guide->SetInnerSize(5000, 400);  // lower than the toolbar
    EXPECT_EQ(pane.Height(), 8000 - 645);
    EXPECT_EQ(pane.Width(), 12000);
    EXPECT_EQ(bar.Top(), 400 - 645);
}

TEST_F(GuideTest, UnloadUndocksThePanesAndReleasesTheElement) {
    plugin::SetIdentityPaneShown(false);
    Prepare();
    auto grid = Grid();
    ASSERT_EQ(grid->DockParent(), &guide->ContentPane());
    EXPECT_EQ(guide->MtiDataControl().DockParent(), &guide->ContentPane());
    std::weak_ptr<FakeElement> weak = element;
    guide->Unload();
    EXPECT_EQ(guide->MtiDataControl().DockParent(), nullptr);
    EXPECT_EQ(guide->Element(), nullptr);
    EXPECT_EQ(guide->ContentPane().PaneCount(), 0);
    element.reset();
    EXPECT_TRUE(weak.expired());
}

// ---- A person at the window ----------------------------------------------

TEST_F(GuideTest, AnOperatorRunsTheTestAndGoesOn) {
    plat::VirtualTimeScope time;
    plat::ui::test::ScriptedOperator op;
    Prepare();
    Log events;
    Listen(events);
    bool stopped = false;
    guide->OnStopTest = [&] {
        events.push_back("StopTest");
        stopped = true;
    };
    guide->OnStartTest = [&] {
        events.push_back("StartTest");
        guide->CreateVTI();
        guide->EnableStopAndAbortButtons(true);
        vti->RaiseError(drv::ecsMTINotFound);
        plat::MessageLoop::Current().RunUntil([&] { return stopped; });  // a driver wait, where Stop comes in
        guide->EndRun();
    };
    guide->OnNextTest = [&] {
        events.push_back("NextTest");
        guide->Hide();
    };
    op.ClickButton("FTestGuide", "xcpContents.tbrPages", "page1")
        .Type("FTestGuide", "xmdMtiData.txtSerial", "X9")
        .ClickButton("FTestGuide", "xtbToolbar.tbrButtons", "202")
        .ClickButton("FTestGuide", "xtbToolbar.tbrButtons", "101")
        .ClickButton("FTestGuide", "xtbToolbar.tbrButtons", "301");
    guide->Show(plat::ui::ShowMode::Modal);
    guide->RemoveVTI();
    EXPECT_THAT(events, ElementsAre("StartTest", "CommunicationError(5)", "StopTest", "NextTest"));
    EXPECT_EQ(guide->CurrentMtiData()->SerialNo(), "X9");
    EXPECT_TRUE(op.Done());
}

}  // namespace
}  // namespace guide_test
