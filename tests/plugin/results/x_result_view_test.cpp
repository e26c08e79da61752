// The results grid: the SpO2 test's two rows with their entry, limits and
// looks, and the probe tests' rows from the standards and the reports.
#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "platform/ui/keys.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "plugin/results/x_result_view.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::XResultView;
using results_test::FakeElement;

struct Event {
    std::string spo2, bpm;
    bool lastRow;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "(" << e.spo2 << "," << e.bpm << "," << e.lastRow << ")";
}

class ResultViewTest : public test_support::SandboxTest {
protected:
    // A view whose owner is a test of that type with limits and a result.
    void Make(int32_t testId) {
        test_ = std::make_shared<FakeElement>(testId);
        limits_ = results_test::GiveLimits(test_);
        if (testId == 100) config_ = results_test::GiveSpO2Config(*test_);
        result_ = results_test::GiveResult(test_);
        view_ = std::make_shared<XResultView>();
        view_->SetEventSink([this](const std::string& name, std::vector<plat::Variant>& params) {
            ASSERT_EQ(name, "TestResultsChanged");
            ASSERT_EQ(params.size(), 3u);
            events_.push_back({params[0].AsString(), params[1].AsString(), params[2].AsBool()});
        });
        view_->SetSize(9000, 2000);
        view_->SetOwner(test_);
        view_->InitTest();
    }
    // A standard with the default items of the test type (or the items named),
    // each with those bounds enabled.
    std::shared_ptr<host::ILimitStandard> AddStandard(const std::string& name, const std::vector<std::string>& keys,
                                                      float high, float low) {
        return results_test::AddBoundedStandard(*limits_, name, name + " text", high, low, keys);
    }
    plat::ui::Grid& G() { return view_->Grid(); }
    std::string Cell(int32_t row, int32_t col) { return G().CellText(row, col); }
    std::vector<std::string> Column(int32_t col) {
        std::vector<std::string> texts;
        for (int32_t row = 1; row < G().Rows(); ++row) texts.push_back(Cell(row, col));
        return texts;
    }
    bool RedBold(int32_t row) {
        for (int32_t col = 1; col <= 5; ++col)
            if (G().EffectiveForeColor(row, col) != plat::ui::vbRed || !G().EffectiveBold(row, col)) return false;
        return true;
    }
    bool Normal(int32_t row) {
        for (int32_t col = 1; col <= 5; ++col)
            if (G().EffectiveForeColor(row, col) != plat::ui::vbButtonText || G().EffectiveBold(row, col)) return false;
        return true;
    }
    // Types a reading into the open editor and presses Enter.
    void Enter(const std::string& text) {
        ASSERT_TRUE(G().Editing());
        G().EnterEditText(text);
        G().TypeEditKey(13);
    }

    std::shared_ptr<FakeElement> test_;
    std::shared_ptr<plugin::CLimitData> limits_;
    std::shared_ptr<plugin::CSpO2SimulationConfig> config_;
    std::shared_ptr<plugin::CResultData> result_;
    std::shared_ptr<XResultView> view_;
    std::vector<Event> events_;
};

// ---- Test 100: layout, limits and looks ------------------------------------

TEST_F(ResultViewTest, TheSpO2GridHasItsTwoRowsTranslated) {
    Make(100);
    ASSERT_EQ(G().Rows(), 3);
    ASSERT_EQ(G().Cols(), 6);
    EXPECT_EQ(Cell(0, 1), "Measurement");
    EXPECT_EQ(Cell(0, 2), "Recorded value");
    EXPECT_EQ(Cell(0, 3), "High limit");
    EXPECT_EQ(Cell(0, 4), "Low limit");
    EXPECT_EQ(Cell(0, 5), "Unit");
    EXPECT_EQ(Column(1), (std::vector<std::string>{"SpO2", "BPM"}));
    EXPECT_EQ(Column(5), (std::vector<std::string>{"%", "BPM"}));
    EXPECT_EQ(G().ColWidth(0), 0);
}

TEST_F(ResultViewTest, ColumnsAreSizedFromTheHeadersAndTheScrollBar) {
    Make(100);
    // Headless metrics: 6 px a character, 13 px a line, 15 twips a pixel, a 17 px scroll bar.
    const int32_t valueWidth = 14 * 6 * 15 + 240;  // "Recorded value"
    for (int32_t col = 2; col <= 5; ++col) EXPECT_EQ(G().ColWidth(col), valueWidth);
    EXPECT_EQ(G().RowHeight(0), 285);  // 13 px + 90 is below the least height
    EXPECT_EQ(G().ColWidth(1), 9000 - 4 * valueWidth - 14 * 15);
    view_->SetSize(3000, 2000);
    EXPECT_EQ(G().ColWidth(1), 2700);
    EXPECT_EQ(G().Width(), 3000);
}

TEST_F(ResultViewTest, EachHeaderIsAlignedLikeTheValuesOfItsColumn) {
    auto horizontal = [this](int32_t row, int32_t col) {
        return static_cast<int>(plat::ui::AlignmentOf(G().EffectiveAlignment(row, col)).horizontal);
    };
    for (int32_t testId : {100, 200, 300}) {
        SCOPED_TRACE(testId);
        Make(testId);
        // The probe grid of a test without a layout yet grows a row per measured value.
        if (testId == 300) {
            result_->StoreResult("0.75", nullptr);
            view_->DisplayResults(result_);
        } else if (testId == 200) {
            view_->InitProbeTest();
        }
        ASSERT_GE(G().Rows(), 2);
        for (int32_t col = 1; col < G().Cols(); ++col) EXPECT_EQ(horizontal(0, col), horizontal(1, col)) << col;
        EXPECT_EQ(horizontal(0, 2), static_cast<int>(plat::ui::GridAlignment::Horizontal::Right));
    }
}

TEST_F(ResultViewTest, StandardsAreFoundWithoutRegardToCase) {
    Make(100);
    AddStandard("ISO", {}, 2, -2);
    view_->SelectStandard("iso", "ISO TEXT", false);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"2", "2"}));
    EXPECT_EQ(Column(4), (std::vector<std::string>{"-2", "-2"}));
    view_->SelectStandard("ISO", "other", false);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"", ""}));
}

TEST_F(ResultViewTest, ExpectedValuesGiveTheToleranceAroundTheConfiguration) {
    Make(100);
    AddStandard("ISO", {}, 2.5f, -3);
    view_->SelectStandard("ISO", "ISO text", true);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"100.5", "74.5"}));
    EXPECT_EQ(Column(4), (std::vector<std::string>{"95", "69"}));
}

TEST_F(ResultViewTest, ADisabledBoundLeavesItsCellEmpty) {
    Make(100);
    auto standard = AddStandard("ISO", {}, 0.1f, -2);
    standard->LimitItems()->Item(1)->SetBoundEnabled(0, false);
    view_->SelectStandard("ISO", "ISO text", false);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"", "0.1"}));
}

TEST_F(ResultViewTest, OnlyTheBPMItemReachesTheBPMRow) {
    Make(100);
    auto standard = limits_->CreateStandard("Odd", "Odd");
    for (const char* key : {"BPM", "PULSE", "SpO2"}) {
        auto item = std::make_shared<host::CLimitItem>();
        item->Initialize(key, "", "", "");
        item->SetBoundEnabled(0, true);
        item->SetBoundValue(0, key[0] == 'P' ? 999.0f : 5.0f);
        standard->AddItem(item);
    }
    view_->SelectStandard("Odd", "Odd", false);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"5", "5"}));
}

TEST_F(ResultViewTest, ReadingsOutsideTheLimitsShowRedAndBold) {
    Make(100);
    AddStandard("ISO", {}, 2, -2);
    view_->SelectStandard("ISO", "ISO text", false);
    result_->StoreResult("97::80", nullptr);
    view_->DisplayResults(result_);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"97", "80"}));
    EXPECT_TRUE(Normal(1));
    EXPECT_TRUE(RedBold(2));
    EXPECT_EQ(G().EffectiveSelectedForeColor(2, 2), plat::ui::vbRed);
    // Shown at once: values recorded earlier go back to the window.
    EXPECT_EQ(events_, (std::vector<Event>{{"97", "80", false}}));
    // No standard: every reading counts as within.
    view_->SelectStandard("none", "none", false);
    EXPECT_TRUE(Normal(2));
}

TEST_F(ResultViewTest, ATextThatIsNoReadingIsOutsideTheLimits) {
    Make(100);
    for (const char* text : {"<40", ">100", "OPEN"}) {
        SCOPED_TRACE(text);
        result_->InitializeResult(test_);
        result_->StoreResult(std::string(text) + "::72", nullptr);
        view_->DisplayResults(result_);
        EXPECT_EQ(Cell(1, 2), text);
        EXPECT_TRUE(RedBold(1));
        EXPECT_TRUE(Normal(2));
    }
}

TEST_F(ResultViewTest, OtherMeasurementsOfATestAreNotShown) {
    Make(100);
    result_->StoreResult("97::72", nullptr);
    auto extra = std::make_shared<plugin::CMeasurement>();
    extra->Init("LED-R", "LEDs - R", "LED-R", "Volts", false);
    extra->StoreValue("3.5");
    result_->Measurements()->Add(extra);
    view_->DisplayResults(result_);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"97", "72"}));
}

TEST_F(ResultViewTest, AnOwnerWithoutStandardsClearsTheSelectionAndTheLimits) {
    Make(100);
    AddStandard("ISO", {}, 2, -2);
    view_->SelectStandard("ISO", "ISO text", false);
    result_->StoreResult("90::72", nullptr);
    view_->DisplayResults(result_);
    ASSERT_TRUE(RedBold(1));
    test_->base->SetLimits(nullptr);
    view_->SelectStandard("ISO", "ISO text", false);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Column(4), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(Normal(1));
}

// ---- Test 100: entry -------------------------------------------------------

TEST_F(ResultViewTest, BothReadingsTypedRaiseTheEvent) {
    Make(100);
    view_->SetEditMode(true);
    ASSERT_TRUE(G().Editing());
    EXPECT_EQ(G().EditRow(), 1);
    EXPECT_EQ(G().EditCol(), 2);
    Enter("98");
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(G().EditRow(), 2);
    Enter(" 60 ");
    // The end of the edit reports first, with the flag as it stood; then the Enter in the last row.
    EXPECT_EQ(events_, (std::vector<Event>{{"98", "60", false}, {"98", "60", true}}));
    EXPECT_EQ(G().EditRow(), 1);
    Enter("97");
    EXPECT_EQ(events_.back(), (Event{"97", "60", false}));
}

TEST_F(ResultViewTest, OnlyWholeReadingsUpTo1000StayInTheCell) {
    Make(100);
    view_->SetEditMode(true);
    G().TypeEditText("9a.8,");
    EXPECT_EQ(G().EditText(), "98");
    G().TypeEditText("00");
    EXPECT_EQ(G().EditText(), "980");  // 9800 is beyond 1000: the key that made it is refused
    G().EnterEditText("1000");
    EXPECT_EQ(G().EditText(), "1000");
    // Both ends are readings that the cell keeps.
    G().TypeEditKey(13);
    EXPECT_EQ(Cell(1, 2), "1000");
    Enter("0");
    EXPECT_EQ(Cell(2, 2), "0");
}

TEST_F(ResultViewTest, AnEmptiedReadingBecomesZero) {
    Make(100);
    view_->SetEditMode(true);
    Enter("98");
    Enter("60");
    events_.clear();
    ASSERT_EQ(G().EditRow(), 1);
    Enter("");
    EXPECT_EQ(Cell(1, 2), "0");
    EXPECT_EQ(events_.front(), (Event{"0", "60", true}));
}

TEST_F(ResultViewTest, OnlyReadingsTheOperatorTypedAreKeptAndReported) {
    Make(100);
    view_->SetEditMode(true);
    // Leaving the untouched SpO2 cell for the BPM cell records nothing.
    ASSERT_TRUE(G().ClickCell(2, 2));
    EXPECT_EQ(Cell(1, 2), "");
    Enter("60");
    EXPECT_TRUE(events_.empty());
    // Texts that are no whole reading put back what the cell showed.
    for (const char* text : {"abc", "1e3", "&H3E8", "-", ".", "12abc"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(G().ClickCell(1, 2));
        G().EnterEditText(text);
        ASSERT_TRUE(G().ClickCell(2, 2));
        EXPECT_EQ(Cell(1, 2), "");
    }
    EXPECT_TRUE(events_.empty());
    // A reading is kept as the cell shows it.
    ASSERT_TRUE(G().ClickCell(1, 2));
    G().EnterEditText("098");
    ASSERT_TRUE(G().ClickCell(2, 2));
    EXPECT_EQ(Cell(1, 2), "98");
    EXPECT_EQ(events_, (std::vector<Event>{{"98", "60", true}}));
    ASSERT_TRUE(G().ClickCell(1, 2));
    G().EnterEditText("1e3");
    ASSERT_TRUE(G().ClickCell(2, 2));
    EXPECT_EQ(Cell(1, 2), "98");
    EXPECT_EQ(events_.size(), 1u);
}

TEST_F(ResultViewTest, AnOpenEntryEndsBeforeTheGridIsRefilled) {
    Make(100);
    view_->SetEditMode(true);
    Enter("98");
    Enter("60");
    G().EnterEditText("97");
    result_->StoreResult("90::72", nullptr);
    view_->DisplayResults(result_);
    EXPECT_FALSE(G().Editing());
    EXPECT_EQ(Column(2), (std::vector<std::string>{"90", "72"}));
    EXPECT_EQ(events_.end()[-2], (Event{"97", "60", true}));
    // A run started with a reading half typed keeps it in the run before.
    view_->SetEditMode(true);
    G().EnterEditText("95");
    view_->InitTest();
    EXPECT_EQ(events_.back(), (Event{"95", "72", true}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"", ""}));
}

TEST_F(ResultViewTest, EscapeDropsTheTypedText) {
    Make(100);
    view_->SetEditMode(true);
    Enter("98");
    G().ClickCell(1, 2);
    G().EnterEditText("50");
    G().TypeEditKey(27);
    EXPECT_FALSE(G().Editing());
    EXPECT_EQ(Cell(1, 2), "98");
}

TEST_F(ResultViewTest, ClicksEditOnlyRecordedCellsInEditMode) {
    Make(100);
    G().ClickCell(2, 2);
    EXPECT_FALSE(G().Editing());
    view_->SetEditMode(true);
    view_->SetEditMode(false);
    EXPECT_FALSE(G().Editing());
    EXPECT_EQ(G().Row(), 0);
    view_->SetEditMode(true);
    G().ClickCell(2, 3);
    EXPECT_FALSE(G().Editing());
    G().ClickCell(2, 2, 2);
    EXPECT_FALSE(G().Editing());
    G().ClickCell(2, 2);
    ASSERT_TRUE(G().Editing());
    EXPECT_EQ(G().EditRow(), 2);
}

TEST_F(ResultViewTest, EditingStartsOnlyOnAnSpO2Grid) {
    Make(200);
    view_->InitProbeTest();
    view_->SetEditMode(true);
    EXPECT_FALSE(G().Editing());
    G().ClickCell(1, 2);
    EXPECT_FALSE(G().Editing());
    EXPECT_EQ(Cell(1, 1), "LEDs - R");
}

TEST_F(ResultViewTest, InitTestEmptiesTheReadingsAndLeavesEditMode) {
    Make(100);
    view_->SetEditMode(true);
    Enter("98");
    Enter("60");
    view_->InitTest();
    EXPECT_FALSE(G().Editing());
    EXPECT_EQ(Column(2), (std::vector<std::string>{"", ""}));
}

// ---- Probe tests -----------------------------------------------------------

TEST_F(ResultViewTest, DefaultProbeRowsWithoutAStandard) {
    Make(200);
    view_->InitProbeTest();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"LEDs - R", "LEDs - IR", "LEDs - PHTO"}));
    EXPECT_EQ(G().CellTag(3, 1), "LED-PHOTO");
    EXPECT_EQ(Column(5), (std::vector<std::string>{"Volts", "Volts", "Volts"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"", "", ""}));
    Make(300);
    view_->InitProbeTest();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Photodiode - R", "Photodiode - IR"}));
    EXPECT_EQ(Column(5), (std::vector<std::string>{"", ""}));
    Make(400);
    view_->InitProbeTest();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Pin 1 to Pin 2"}));
    EXPECT_EQ(G().CellTag(1, 1), "PIN1_TO_PIN2");
    EXPECT_EQ(Column(5), (std::vector<std::string>{"KOhms"}));
}

TEST_F(ResultViewTest, ProbeRowsComeFromTheStandardOncePerName) {
    Make(400);
    AddStandard("Probe", {"PIN1_TO_PIN2", "LED-R", "pin1_TO_PIN2", "PIN2_TO_PIN3"}, 100, 1);
    view_->SelectStandard("Probe", "Probe text", false);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Pin 1 to Pin 2", "Pin 2 to Pin 3"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"100", "100"}));
    EXPECT_EQ(Column(4), (std::vector<std::string>{"1", "1"}));
}

TEST_F(ResultViewTest, AnItemWithoutADescriptionTakesNoRow) {
    Make(200);
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize("Bare", "Bare", 1);
    for (const char* key : {"LED-X", "LED-IR"}) {
        auto item = std::make_shared<host::CLimitItem>();
        item->Initialize(key, "", "", "");
        standard->AddItem(item);
    }
    limits_->CreateStandard("Full", "Full");  // makes the collection
    limits_->Standards()->Add(standard);
    view_->SelectStandard("Bare", "Bare", false);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"LEDs - IR"}));
}

TEST_F(ResultViewTest, AStandardWithMorePinPairsThanTheTestGrowsTheGrid) {
    Make(400);
    std::vector<std::string> keys;
    for (int32_t second = 2; second <= 90; ++second) keys.push_back("PIN1_TO_PIN" + std::to_string(second));
    AddStandard("Many", keys, 100, 1);
    view_->SelectStandard("Many", "Many text", false);
    EXPECT_EQ(G().Rows(), 90);
    EXPECT_EQ(Cell(89, 1), "Pin 1 to Pin 90");
}

TEST_F(ResultViewTest, MeasuredProbeValuesFillTheirRows) {
    Make(200);
    AddStandard("Probe", {}, 2, 1);
    view_->SelectStandard("Probe", "Probe text", false);
    result_->StoreResult("1.5::2.5", nullptr);  // PHTO not reported
    view_->DisplayResults(result_);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"1.5", "2.5", "no data"}));
    EXPECT_TRUE(Normal(1));
    EXPECT_TRUE(RedBold(2));
    EXPECT_TRUE(RedBold(3));
    EXPECT_EQ(G().EffectiveSelectedForeColor(3, 2), plat::ui::vbHighlightText);
}

TEST_F(ResultViewTest, AGridWithOnlyItsHeaderGetsARowPerMeasuredValue) {
    Make(300);
    ASSERT_EQ(G().Rows(), 1);
    result_->StoreResult("0.75", nullptr);  // IR not reported: not shown
    view_->DisplayResults(result_);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Photodiode - R"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"0.75"}));
    EXPECT_TRUE(Normal(1));
}

TEST_F(ResultViewTest, NoMeasuredPinPairSaysSoInTheFirstPinRow) {
    Make(400);
    AddStandard("Probe", {"PIN1_TO_PIN2", "PIN2_TO_PIN3"}, 100, 1);
    view_->SelectStandard("Probe", "Probe text", false);
    result_->StoreResult("OTHER=5", nullptr);  // the pin measurements stay unmeasured
    view_->DisplayResults(result_);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"No resitances found", "no data"}));
    EXPECT_TRUE(RedBold(1));
    EXPECT_TRUE(RedBold(2));
    // The next report finds the row again by its key.
    result_->StoreResult("PIN1_TO_PIN2=12.5::PIN2_TO_PIN3=50", nullptr);
    view_->DisplayResults(result_);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"12.5", "50"}));
    EXPECT_TRUE(Normal(1));
    EXPECT_EQ(G().CellTag(1, 1), "PIN1_TO_PIN2");
}

TEST_F(ResultViewTest, InitTestOnAProbeGridKeepsItsRows) {
    Make(200);
    AddStandard("Probe", {}, 2, 1);
    view_->SelectStandard("Probe", "Probe text", false);
    result_->StoreResult("1.5::2.5::9", nullptr);
    view_->DisplayResults(result_);
    view_->InitTest();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"LEDs - R", "LEDs - IR", "LEDs - PHTO"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"2", "2", "2"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"", "", ""}));
    for (int32_t row = 1; row <= 3; ++row) EXPECT_TRUE(Normal(row));
}

}  // namespace
