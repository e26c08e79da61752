// The results grid and the help viewer inside the test-guide window, created
// by their ProgIDs as the window adds them: the window's standard selection
// reaches the grid, readings typed into the grid reach the window's test,
// and the test's help page is shown.
#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "host/run_context.h"
#include "plugin/shell/mti_data.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "plugin/results/results_classes.h"
#include "plugin/results/x_html_help.h"
#include "plugin/results/x_result_view.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/identity_pane_flag.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/support/sandbox.h"

namespace {

class GuideWithGridTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        plugin::RegisterResultsClasses();
        plugin::XHtmlHelp::SetLibraryFolderForTests(root_ + "/lib/");
        help_ = dir_.Write("lib/Help/English/SpO2SimulationHtmlHelp.html", "<html/>");
        test_ = std::make_shared<results_test::FakeElement>(100);
        results_test::AddBoundedStandard(*results_test::GiveLimits(test_), "Pelmo2", "Accuracy", 2, -2);
        results_test::GiveSpO2Config(*test_);
        result_ = results_test::GiveResult(test_);

        plugin::SetIdentityPaneShown(true);  // the results pane shows, not the identity pane
        guide_ = std::make_shared<plugin::FTestGuide>();
        guide_->Load();
        guide_->OnTestResultsChanged = [this](const std::string& spo2, const std::string& bpm) {
            readings_.push_back(spo2 + "::" + bpm);
            result_->StoreResult(spo2 + "::" + bpm, nullptr);
        };
        guide_->InitGuide(test_, std::make_shared<host::CTestSetup>(), std::make_shared<plugin::CMtiData2>());
        guide_->Show();
        view_ = std::dynamic_pointer_cast<plugin::XResultView>(guide_->ResultView());
        ASSERT_TRUE(view_);
    }
    void TearDown() override {
        if (guide_ && guide_->Loaded()) guide_->Unload();
        guide_.reset();
        for (const auto& served : plugin::ResultsClasses()) plat::UnregisterClass(served.progId);
        plugin::XHtmlHelp::SetLibraryFolderForTests("");
        plugin::ResetIdentityPaneFlagForTests();
    }
    plat::ui::Grid& G() { return view_->Grid(); }

    std::string help_;
    std::shared_ptr<results_test::FakeElement> test_;
    std::shared_ptr<plugin::CResultData> result_;
    std::shared_ptr<plugin::FTestGuide> guide_;
    std::shared_ptr<plugin::XResultView> view_;
    std::vector<std::string> readings_;
};

TEST_F(GuideWithGridTest, TheWindowsStandardShowsAndTypedReadingsReachTheTest) {
    EXPECT_EQ(G().CellText(1, 3), "2");  // the toolbar selected the first standard
    EXPECT_EQ(G().CellText(2, 4), "-2");
    ASSERT_TRUE(guide_->Toolbar().ClickButton(plugin::FTestGuide::kExpectedValues));
    ASSERT_TRUE(guide_->Toolbar().ButtonValue(plugin::FTestGuide::kExpectedValues));
    EXPECT_EQ(G().CellText(1, 3), "100");  // around the configured 98 and 72
    EXPECT_EQ(G().CellText(2, 4), "70");

    view_->SetEditMode(true);  // as the window does once a run has completed
    ASSERT_TRUE(G().Editing());
    ASSERT_TRUE(G().EnterEditText("97"));
    G().TypeEditKey(13);
    ASSERT_TRUE(G().EnterEditText("80"));
    G().TypeEditKey(13);
    ASSERT_FALSE(readings_.empty());
    EXPECT_EQ(readings_.back(), "97::80");
    EXPECT_EQ(result_->Status(), 2);
    EXPECT_EQ(G().EffectiveForeColor(2, 2), plat::ui::vbRed);
}

TEST_F(GuideWithGridTest, TheGridFillsThePlaceTheWindowGivesIt) {
    const auto& extender = *view_->Extender();
    ASSERT_GT(extender.Width(), 0);
    EXPECT_EQ(G().Width(), extender.Width());
    EXPECT_EQ(G().Height(), extender.Height());
    guide_->Move(0, 0, guide_->Width() + 1500, guide_->Height());
    EXPECT_EQ(G().Width(), view_->Extender()->Width());
}

TEST_F(GuideWithGridTest, TheTestsHelpPageIsShown) {
    auto help = std::dynamic_pointer_cast<plugin::XHtmlHelp>(guide_->HtmlHelp());
    ASSERT_TRUE(help);
    EXPECT_EQ(help->Browser()->LocationURL(), help_);
}

}  // namespace
