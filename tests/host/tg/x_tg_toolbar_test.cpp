// The host's test-guide toolbar: its buttons by id, the flag of a click, the
// status field and the limit-standard selector.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "host/run_context.h"
#include "host/tg/x_tg_toolbar.h"
#include "platform/ui/form.h"
#include "tests/support/fake_test_element.h"
#include "tests/support/sandbox.h"

namespace {

using host::XTgToolbar;
using ::testing::ElementsAre;

using test_support::FakeElement;
using test_support::FakeLimits;
using test_support::MakeStandards;

class ToolbarTest : public test_support::SandboxTest {
protected:
    ToolbarTest() {
        auto limits = std::make_shared<FakeLimits>();
        limits->standards = MakeStandards({{"Own", "x"}});
        element->limits = limits;
        bar.OnButtonClick = [this](int32_t id, bool flag) {
            clicks.push_back(std::to_string(id) + (flag ? "+" : ""));
        };
        bar.OnStandardChanged = [this] {
            const auto s = bar.GetSelectedStandard();
            picks.push_back(s.name + "/" + s.text + (s.useExpected ? "/expected" : ""));
        };
    }
    std::shared_ptr<FakeElement> element = std::make_shared<FakeElement>();
    std::shared_ptr<host::CTestSetup> setup = std::make_shared<host::CTestSetup>();
    XTgToolbar bar;  // on no window: it acts on its own
    std::vector<std::string> clicks;
    std::vector<std::string> picks;
};

TEST_F(ToolbarTest, ButtonsReportTheirIdAndTheFlag) {
    for (int32_t id : {202, 101, 201, 103, 301, 302, 102, 501}) EXPECT_TRUE(bar.ClickButton(id)) << id;
    EXPECT_TRUE(bar.ClickButton(202, true));
    EXPECT_THAT(clicks, ElementsAre("202", "101", "201", "103", "301", "302", "102", "501", "202+"));
    EXPECT_THROW(bar.Button(999), plat::ui::UiError);
}

TEST_F(ToolbarTest, ADisabledButtonRefusesAndTheFlagDoesNotLinger) {
    bar.SetButtonEnabled(101, false);
    EXPECT_FALSE(bar.ClickButton(101, true));
    EXPECT_TRUE(bar.ClickButton(102));
    EXPECT_THAT(clicks, ElementsAre("102"));
    EXPECT_FALSE(bar.ButtonEnabled(101));
}

TEST_F(ToolbarTest, StatusFieldShowsTheStatusOrAText) {
    EXPECT_EQ(bar.StatusText(), "Not tested");
    bar.SetStatus(2);
    EXPECT_EQ(bar.Status(), 2);
    EXPECT_EQ(bar.StatusText(), "Failed");
    bar.SetStatus(3);
    EXPECT_EQ(bar.StatusText(), "Not applicable");
    bar.SetStatusText("Uploading");
    EXPECT_EQ(bar.StatusText(), "Uploading");
}

TEST_F(ToolbarTest, SelectorTakesTheTestsStandardsWhenTheRunGivesNone) {
    setup->SetLimitStandards(MakeStandards({}));
    bar.Initialize(element, setup);
    EXPECT_THAT(picks, ElementsAre("Own/x"));
    EXPECT_TRUE(bar.HasSelectedStandard());
}

TEST_F(ToolbarTest, SelectorPrefersTheRunsStandardsSelectsTheFirstAndReportsPicks) {
    setup->SetLimitStandards(MakeStandards({{"ISO", "a"}, {"Maker", "20006::Oximeter accuracy"}}));
    bar.Initialize(element, setup);
    auto* selector = bar.Controls().FindAs<plat::ui::ComboBox>("cboStandard");
    ASSERT_EQ(selector->ListCount(), 2);
    EXPECT_EQ(selector->List(0), "ISO - a");
    EXPECT_EQ(selector->List(1), "Maker - Oximeter accuracy");  // shown translated
    EXPECT_TRUE(selector->PickItem(1));
    EXPECT_TRUE(bar.ClickButton(501));
    EXPECT_TRUE(bar.ButtonValue(501));
    EXPECT_THAT(picks, ElementsAre("ISO/a", "Maker/20006::Oximeter accuracy",
                                   "Maker/20006::Oximeter accuracy/expected"));
}

TEST_F(ToolbarTest, NothingToListLeavesTheSelectorEmptyAndSilent) {
    element->limits = nullptr;
    bar.Initialize(element, nullptr);
    bar.Initialize(nullptr, setup);
    EXPECT_FALSE(bar.HasSelectedStandard());
    EXPECT_TRUE(bar.ClickButton(501));  // toggles, but no standard to report
    EXPECT_TRUE(picks.empty());
    EXPECT_EQ(bar.GetSelectedStandard().name, "");
}

TEST_F(ToolbarTest, InitializingAgainReplacesTheList) {
    bar.Initialize(element, setup);
    setup->SetLimitStandards(MakeStandards({{"ISO", "a"}}));
    bar.Initialize(element, setup);
    EXPECT_EQ(bar.Controls().FindAs<plat::ui::ComboBox>("cboStandard")->ListCount(), 1);
    EXPECT_THAT(picks, ElementsAre("Own/x", "ISO/a"));
}

TEST_F(ToolbarTest, ArrangeKeepsTheRightPartInsideTheWidth) {
    bar.Arrange(6000);
    auto& selector = bar.Controls().Item("cboStandard");
    auto& busy = bar.Controls().Item("prgBusy");
    EXPECT_LE(selector.Left() + selector.Width(), 6000);
    EXPECT_LE(busy.Left() + busy.Width(), 6000);
    EXPECT_LE(bar.Controls().Item("tbrButtons").Width(), selector.Left());
}

}  // namespace
