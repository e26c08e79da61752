// The guide window with the real results grid and help viewer: an operator
// types the readings into the grid docked in the content pane, and the
// window hands them to the test.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/loop/virtual_time_scope.h"
#include "plugin/results/x_html_help.h"
#include "plugin/results/x_result_view.h"
#include "tests/plugin/guide/guide_fixture.h"
#include "tests/support/ui/scripted_operator.h"

namespace guide_test {
namespace {

using plugin::FTestGuide;
using ::testing::ElementsAre;

class GuideWithGridTest : public GuideTest {
protected:
    void SetUp() override {
        GuideTest::SetUp();
        plat::RegisterClass("OrvikPelmo2.XResultView", [] { return std::make_shared<plugin::XResultView>(); });
        plat::RegisterClass("OrvikPelmo2.XHtmlHelp", [] { return std::make_shared<plugin::XHtmlHelp>(); });
    }
};

TEST_F(GuideWithGridTest, ReadingsTypedIntoTheDockedGridReachTheTest) {
    plat::VirtualTimeScope time;
    plat::ui::test::ScriptedOperator op;
    Prepare();
    Log events;
    Listen(events);
    guide->OnStartTest = [&] {
        guide->EnableStopAndAbortButtons(true);
        guide->CompleteRun();  // the instrument is set: the operator reads the oximeter
    };
    guide->OnNextTest = [&] {
        events.push_back("NextTest");
        guide->Hide();
    };
    op.ClickButton("FTestGuide", "xtbToolbar.tbrButtons", "202")
        .TypeInCell("FTestGuide", "xrvResult.tlstGrid", "97\r")
        .TypeInCell("FTestGuide", "xrvResult.tlstGrid", "64\r")
        .ClickButton("FTestGuide", "xtbToolbar.tbrButtons", "301");
    guide->Show(plat::ui::ShowMode::Modal);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "NextTest");
    EXPECT_THAT(events, ::testing::Contains("TestResultsChanged(97,64)"));
    EXPECT_TRUE(op.Done());
}

}  // namespace
}  // namespace guide_test
