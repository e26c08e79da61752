#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "host/report.h"
#include "host/run_context.h"
#include "host/xml.h"
#include "platform/values/numfmt.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/support/fake_setup_dialog.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::CLimitData;
using plugin::CResultData;
using results_test::FakeElement;

class ResultDataTest : public test_support::SandboxTest {
protected:
    // A test of that type with limits, and its result bound to it.
    std::shared_ptr<CResultData> ResultOf(int32_t testId) {
        test_ = std::make_shared<FakeElement>(testId);
        limits_ = results_test::GiveLimits(test_);
        if (testId == 100) config_ = results_test::GiveSpO2Config(*test_);
        return results_test::GiveResult(test_);
    }
    // A standard whose items of those keys have the bounds high and low.
    void AddStandard(const std::string& text, const std::vector<std::string>& keys, float high, float low) {
        results_test::AddBoundedStandard(*limits_, text, text, high, low, keys);
    }
    static std::vector<std::string> Keys(const CResultData& result) {
        std::vector<std::string> keys;
        for (const auto& m : result.Measurements()->NewEnum()) keys.push_back(m->Key());
        return keys;
    }
    static plat::Variant ValueOf(const CResultData& result, const std::string& key) {
        auto m = result.Measurement(key);
        return m ? m->Value() : plat::Variant("<none>");
    }

    std::shared_ptr<FakeElement> test_;
    std::shared_ptr<CLimitData> limits_;
    std::shared_ptr<plugin::CSpO2SimulationConfig> config_;
};

TEST_F(ResultDataTest, SpO2ReadingsAreJudgedAroundThePresets) {
    auto result = ResultOf(100);
    AddStandard("ISO", {}, 2, -2);  // SpO2 and BPM within 2 of the preset
    result->StoreResult("97::72", nullptr);
    EXPECT_EQ(Keys(*result), (std::vector<std::string>{"SpO2", "BPM"}));
    EXPECT_EQ(ValueOf(*result, "SpO2"), plat::Variant(97.0));
    EXPECT_EQ(ValueOf(*result, "BPM"), plat::Variant(72.0));
    EXPECT_EQ(result->Measurement("SpO2")->PresetValue(), plat::Variant(98));
    EXPECT_EQ(result->Measurement("BPM")->PresetValue(), plat::Variant(72));
    EXPECT_EQ(result->Status(), 1);

    result->StoreResult("90::72", nullptr);
    EXPECT_EQ(result->Measurement("SpO2")->Status(), 2);
    EXPECT_EQ(result->Status(), 2);
}

TEST_F(ResultDataTest, ReadingsStoredByFieldAreNeverSplit) {
    auto result = ResultOf(100);
    result->StoreReadings({"97::61", "72"}, nullptr);
    EXPECT_EQ(ValueOf(*result, "SpO2"), plat::Variant(97.0));
    EXPECT_EQ(ValueOf(*result, "BPM"), plat::Variant(72.0));  // not the 61 after "::"
}

TEST_F(ResultDataTest, AnEmptyOrMissingFieldLeavesItsValueUnjudged) {
    auto result = ResultOf(100);
    AddStandard("ISO", {}, 2, -2);
    result->StoreResult("97::", nullptr);
    EXPECT_TRUE(ValueOf(*result, "BPM").IsEmpty());
    EXPECT_EQ(result->Measurement("BPM")->Status(), 0);
    EXPECT_EQ(result->Status(), 2);  // a pass beside an unjudged reading is no pass

    result->StoreResult("97::72", nullptr);
    result->StoreResult("97", nullptr);
    EXPECT_TRUE(ValueOf(*result, "BPM").IsEmpty());
    EXPECT_EQ(result->Status(), 2);

    result->StoreResult("::", nullptr);
    EXPECT_EQ(result->Status(), 0);
}

TEST_F(ResultDataTest, ALimitThatCannotBeWorkedOutJudgesNothing) {
    auto result = ResultOf(100);
    AddStandard("ISO", {}, 2, -2);
    auto items = limits_->Standards()->Item(1)->LimitItems();
    for (int32_t i = 1; i <= items->Count(); ++i) items->Item(i)->SetExpression(0, "X*Y*Z");
    result->StoreResult("97::72", nullptr);
    EXPECT_EQ(result->Measurement("SpO2")->Status(), 0);
    EXPECT_EQ(result->Status(), 0);  // never a pass
}

TEST_F(ResultDataTest, AnEmptyTextOnlyBuildsTheList) {
    auto result = ResultOf(200);
    result->SetStatus(3);
    result->StoreResult("", nullptr);
    EXPECT_EQ(Keys(*result), (std::vector<std::string>{"LED-R", "LED-IR", "LED-PHOTO"}));
    EXPECT_EQ(result->Status(), 3);
}

TEST_F(ResultDataTest, AResultWithoutMeasurementsIsNotEvaluated) {
    auto result = ResultOf(1);
    result->StoreResult("97::72", nullptr);
    EXPECT_EQ(result->MeasurementCount(), 0);
    EXPECT_EQ(result->Status(), 0);

    auto pins = ResultOf(400);
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<ExpectedResult><Standard Name='Empty' Text='Empty'/></ExpectedResult>");
    limits_->Load(*doc->DocumentElement(), nullptr);  // a standard without items
    pins->StoreResult("PIN1_TO_PIN2=5", nullptr);
    EXPECT_EQ(pins->MeasurementCount(), 0);
    EXPECT_EQ(pins->Status(), 0);
}

TEST_F(ResultDataTest, ProbeReadingsFillTheirFields) {
    auto leds = ResultOf(200);
    AddStandard("Probe", {}, 3, 1);
    leds->StoreResult("2.5::1,5::0.2 Volts", nullptr);
    EXPECT_EQ(ValueOf(*leds, "LED-R"), plat::Variant(2.5));
    EXPECT_EQ(ValueOf(*leds, "LED-IR"), plat::Variant(1.5));
    EXPECT_EQ(ValueOf(*leds, "LED-PHOTO"), plat::Variant(0.2));
    EXPECT_EQ(leds->Measurement("LED-PHOTO")->Status(), 2);
    EXPECT_EQ(leds->Status(), 2);

    auto photo = ResultOf(300);
    photo->StoreResult("<0.1::7", nullptr);
    EXPECT_EQ(ValueOf(*photo, "PHOTODIODE-R"), plat::Variant("<0.1"));
    EXPECT_EQ(photo->Measurement("PHOTODIODE-R")->Status(), 2);  // a text reading fails
    EXPECT_EQ(photo->Measurement("PHOTODIODE-IR")->Status(), 1);  // no limits: passes
}

TEST_F(ResultDataTest, PinPairsComeFromTheStandardsOnce) {
    auto result = ResultOf(400);
    AddStandard("A", {"PIN2_TO_PIN3"}, 100, 0);          // PIN1_TO_PIN2 is a default item
    AddStandard("B", {"pin2_to_pin3", "PIN4_TO_PIN5"}, 100, 0);
    result->StoreResult("", nullptr);
    EXPECT_EQ(Keys(*result), (std::vector<std::string>{"PIN1_TO_PIN2", "PIN2_TO_PIN3", "PIN4_TO_PIN5"}));

    auto plain = ResultOf(400);
    plain->StoreResult("", nullptr);
    EXPECT_EQ(Keys(*plain), (std::vector<std::string>{"PIN1_TO_PIN2"}));
}

TEST_F(ResultDataTest, PinReadingsAreFoundByTheirKey) {
    auto result = ResultOf(400);
    AddStandard("A", {"PIN2_TO_PIN3", "PIN4_TO_PIN5"}, 100, 0);
    result->StoreResult("PIN4_TO_PIN5=33::PIN1_TO_PIN2=12.5::pin2_to_pin3=80", nullptr);
    EXPECT_EQ(ValueOf(*result, "PIN1_TO_PIN2"), plat::Variant(12.5));
    EXPECT_EQ(ValueOf(*result, "PIN2_TO_PIN3"), plat::Variant(80.0));
    EXPECT_EQ(ValueOf(*result, "PIN4_TO_PIN5"), plat::Variant(33.0));
    EXPECT_EQ(result->Status(), 1);

    // A pin pair named by no field keeps its reading; a field without "=" names none.
    result->StoreResult("PIN1_TO_PIN2=150::PIN2_TO_PIN3", nullptr);
    EXPECT_EQ(ValueOf(*result, "PIN1_TO_PIN2"), plat::Variant(150.0));
    EXPECT_EQ(ValueOf(*result, "PIN2_TO_PIN3"), plat::Variant(80.0));
    EXPECT_EQ(result->Status(), 2);
}

TEST_F(ResultDataTest, TheListIsBuiltOncePerInitialisation) {
    auto result = ResultOf(100);
    result->StoreResult("97::72", nullptr);
    auto first = result->Measurement("SpO2");
    result->StoreResult("96::70", nullptr);
    EXPECT_EQ(result->Measurement("SpO2"), first);
    EXPECT_EQ(result->MeasurementCount(), 2);
    result->InitializeResult(test_);
    EXPECT_EQ(result->MeasurementCount(), 0);
    EXPECT_EQ(result->Status(), 0);
}

TEST_F(ResultDataTest, TheRunsStandardsSelectTheStandardsThatJudge) {
    auto result = ResultOf(200);
    AddStandard("Tight", {}, 1, 0);
    AddStandard("Loose", {}, 10, 0);
    auto setup = std::make_shared<host::CTestSetup>();
    auto run = std::make_shared<host::CLimitStandards>();
    run->Add(limits_->Standards()->Item(2));
    setup->SetLimitStandards(run);
    result->StoreResult("5::5::5", setup);
    EXPECT_EQ(result->Status(), 1);
    result->StoreResult("5::5::5", nullptr);
    EXPECT_EQ(result->Status(), 2);
}

TEST_F(ResultDataTest, CommentMtiAndMeasurementsByKeyOrPosition) {
    CResultData fresh;
    EXPECT_EQ(fresh.MeasurementCount(), 0);
    EXPECT_EQ(fresh.Measurement(1), nullptr);
    EXPECT_FALSE(fresh.HasDialog());
    fresh.SetComment("x");
    EXPECT_TRUE(fresh.HasDialog());
    EXPECT_EQ(fresh.ServiceRecord(), nullptr);

    auto result = ResultOf(100);
    result->SetMTIID(4);
    result->SetComment("probe cable worn");
    result->StoreResult("97::72", nullptr);
    result->InitializeResult(test_);
    EXPECT_EQ(result->MTIID(), 4);
    EXPECT_EQ(result->Comment(), "probe cable worn");
    result->StoreResult("97::72", nullptr);
    EXPECT_EQ(result->Measurement(2)->Key(), "BPM");
    EXPECT_EQ(result->Measurement("bpm")->Key(), "BPM");
    EXPECT_EQ(result->Measurement(3), nullptr);
}

// ---- Saved form ------------------------------------------------------------

class ResultElementTest : public ResultDataTest {
protected:
    static host::XmlDocumentPtr Saved(const CResultData& result) {
        auto doc = host::XmlFactory().NewDocument();
        doc->AppendChild(result.Save(*doc));
        auto again = host::XmlFactory().NewDocument();
        again->LoadXml(doc->Xml());
        return again;
    }
};

TEST_F(ResultElementTest, SpO2ResultRoundTrips) {
    auto result = ResultOf(100);
    AddStandard("ISO", {}, 2, -2);
    result->StoreResult("97::80", nullptr);
    result->SetMTIID(12);
    result->SetComment("retest");
    auto doc = Saved(*result);
    auto root = doc->DocumentElement();
    EXPECT_EQ(root->GetAttribute("MTI"), "12");
    std::vector<std::string> children;
    for (int32_t i = 0; i < root->ChildNodes()->Count(); ++i) children.push_back(root->ChildNodes()->ElementAt(i)->Name());
    EXPECT_EQ(children, (std::vector<std::string>{"Status", "Comment", "AllMeasurements"}));

    auto loaded = std::make_shared<CResultData>();
    loaded->InitializeResult(test_);
    loaded->Load(*root, nullptr);
    EXPECT_EQ(loaded->MTIID(), 12);
    EXPECT_EQ(loaded->Comment(), "retest");
    EXPECT_EQ(loaded->Status(), 2);
    EXPECT_EQ(Keys(*loaded), (std::vector<std::string>{"SpO2", "BPM"}));
    EXPECT_EQ(ValueOf(*loaded, "BPM"), plat::Variant(80));
    EXPECT_EQ(loaded->Measurement("BPM")->Status(), 2);
    EXPECT_EQ(loaded->Measurement("SpO2")->Status(), 1);
}

TEST_F(ResultElementTest, ProbeResultRoundTripsWithoutMtiOrComment) {
    auto result = ResultOf(400);
    AddStandard("A", {"PIN2_TO_PIN3"}, 100, 0);
    result->StoreResult("PIN1_TO_PIN2=12.5::PIN2_TO_PIN3=80", nullptr);
    auto root = Saved(*result)->DocumentElement();
    EXPECT_FALSE(root->HasAttribute("MTI"));
    EXPECT_EQ(root->FindElement("Comment"), nullptr);

    CResultData loaded;
    loaded.Load(*root, nullptr);
    EXPECT_EQ(Keys(loaded), (std::vector<std::string>{"PIN1_TO_PIN2", "PIN2_TO_PIN3"}));
    EXPECT_EQ(ValueOf(loaded, "PIN1_TO_PIN2"), plat::Variant(12.5));
    EXPECT_EQ(loaded.Status(), 1);
}

TEST_F(ResultElementTest, LoadTakesWhatTheElementCarriesAndChecksIt) {
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<Anything MTI='7,6'><Unknown/><Status>2</Status><Comment>c</Comment></Anything>");
    CResultData result;
    result.SetComment("old");
    result.Load(*doc->DocumentElement(), nullptr);
    EXPECT_EQ(result.MTIID(), 8);
    EXPECT_EQ(result.Comment(), "c");
    EXPECT_EQ(result.Status(), 2);

    for (const char* bad : {"<ResultItem MTI='seven'><Status>9</Status></ResultItem>",
                            "<ResultItem MTI='1E+12'><Status>-1</Status></ResultItem>"}) {
        doc->LoadXml(bad);
        result.Load(*doc->DocumentElement(), nullptr);
        EXPECT_EQ(result.MTIID(), 8) << bad;
        EXPECT_EQ(result.Status(), 0) << bad;
    }
}

// ---- Report ----------------------------------------------------------------

class ResultReportTest : public ResultDataTest {
protected:
    std::shared_ptr<host::CReport> Report(int32_t options = 0, int32_t level = 0) {
        return std::make_shared<host::CReport>("English", level, options);
    }
};

TEST_F(ResultReportTest, LayoutAtThePagesWidths) {
    auto result = ResultOf(100);
    auto report = Report();
    auto layout = result->GetReportLayout(*report);
    EXPECT_EQ(layout.format, "<+560|<2240|>+950|>+750|>+750|>+900|>+850|>+1250|<+!554|<+560;");
    EXPECT_EQ(layout.header, "|{\\i\\b Result:}|{\\i\\b Preset}|{\\i\\b Value}|{\\i\\b Unit};");
    report->SetUsableWidth(3360);
    EXPECT_EQ(result->GetReportLayout(*report).format,
              "<+560|<2240|>+-50|>+-250|>+-250|>+-100|>+-150|>+250|<+!554|<+560;");
}

TEST_F(ResultReportTest, LimitColumnsByOptionsAndPrintMode) {
    auto result = ResultOf(200);
    const std::string seven = "|{\\i\\b Result:}|{\\i\\b }|{\\i\\b Value}|{\\i\\b Unit}|{\\i\\b High value}"
                              "|{\\i\\b Low value}|{\\i\\b Limits:};";
    EXPECT_EQ(result->GetReportLayout(*Report(3, 1)).header, seven);
    EXPECT_EQ(result->GetReportLayout(*Report(3, 2)).header, "|{\\i\\b Result:}|{\\i\\b }|{\\i\\b Value}|{\\i\\b Unit};");
    EXPECT_EQ(result->GetReportLayout(*Report(1, 1)).header, "|{\\i\\b Result:}|{\\i\\b }|{\\i\\b Value}|{\\i\\b Unit};");
    auto photo = ResultOf(300);
    EXPECT_EQ(photo->GetReportLayout(*Report()).header, "|{\\i\\b Result:}|{\\i\\b }|{\\i\\b Value}|{\\i\\b };");
}

TEST_F(ResultReportTest, OnlyJudgedMeasurementsPrint) {
    auto result = ResultOf(100);
    auto report = Report();
    result->StoreResult("", nullptr);
    result->PrintReport(report, {});
    EXPECT_TRUE(report->Tables().empty());

    result->StoreResult("97::", nullptr);
    result->PrintReport(report, {});
    ASSERT_EQ(report->Tables().size(), 1u);
    const auto& table = report->Tables()[0];
    EXPECT_EQ(table.body, result->Measurements()->Item("SpO2")->GetReportLine(report));
    EXPECT_EQ(table.fontSize, 10);
    EXPECT_EQ(table.fontStyle, 0);
    EXPECT_EQ(table.gridLines, 1);
    result->PrintReport(nullptr, {});
}

}  // namespace

namespace {

using test_support::FakeSetupDialog;

class ResultDialogTest : public ::testing::Test {
protected:
    void SetUp() override { plugin::Factory().Install(plugin::Part::SetupDialog, [this] { return dialog_; }); }
    void TearDown() override { plugin::Factory().Install(plugin::Part::SetupDialog, nullptr); }
    std::shared_ptr<FakeSetupDialog> dialog_ = std::make_shared<FakeSetupDialog>();
};

TEST_F(ResultDialogTest, TheDetailedResultPageShowsThisResult) {
    auto result = std::make_shared<CResultData>();
    EXPECT_EQ(result->CreateDialog(), dialog_);
    EXPECT_TRUE(dialog_->loaded);
    EXPECT_EQ(dialog_->progId, "OrvikPelmo2.XDetailedResult");
    EXPECT_EQ(dialog_->controlName, "xvbSetupControl");
    EXPECT_EQ(dialog_->initializedWith.AsObject(), result);
}

TEST_F(ResultDialogTest, NoPageNoDialog) {
    dialog_->hasPage = false;
    EXPECT_EQ(std::make_shared<CResultData>()->CreateDialog(), nullptr);
    EXPECT_TRUE(dialog_->unloaded);
    plugin::Factory().Install(plugin::Part::SetupDialog, nullptr);
    EXPECT_EQ(std::make_shared<CResultData>()->CreateDialog(), nullptr);
}

}  // namespace
