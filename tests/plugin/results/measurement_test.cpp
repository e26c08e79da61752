#include "plugin/results/measurement.h"

#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "host/xml.h"
#include "platform/values/numfmt.h"
#include "tests/plugin/shell/shell_fixture.h"

namespace {

using plugin::CMeasurement;

std::shared_ptr<CMeasurement> Make(const std::string& key, const std::string& unit, bool integer = false) {
    auto m = std::make_shared<CMeasurement>();
    m->Init(key, "description", key, unit, integer);
    return m;
}

std::shared_ptr<host::CLimitItem> Item(const std::string& key, float upper, float lower,
                                       const std::string& expression = "", const std::string& unitText = "") {
    auto item = std::make_shared<host::CLimitItem>();
    item->Initialize(key, unitText, "", "");
    item->SetBoundEnabled(0, true);
    item->SetBoundValue(0, upper);
    item->SetBoundEnabled(1, true);
    item->SetBoundValue(1, lower);
    item->SetExpression(0, expression);
    item->SetExpression(1, expression);
    return item;
}

std::shared_ptr<host::CLimitStandard> Standard(const std::string& name,
                                               std::vector<std::shared_ptr<host::ILimitItem>> items) {
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize(name, name + " text", 1);
    for (auto& item : items) standard->AddItem(item);
    return standard;
}

class MeasurementTest : public shell_test::ShellTest {};

// ---- storing a reading -----------------------------------------------------

TEST_F(MeasurementTest, TheUnitAtTheEndIsCutOffAndEitherDecimalSignReads) {
    auto m = Make("SpO2", "%");
    m->StoreValue("  97 % ");
    EXPECT_EQ(m->Value(), plat::Variant(97.0));
    m->StoreValue("12,5");
    EXPECT_EQ(m->Value(), plat::Variant(12.5));
    auto volts = Make("LED-R", "Volts");
    volts->StoreValue("3.25 volts");
    EXPECT_EQ(volts->Value(), plat::Variant(3.25));
}

TEST_F(MeasurementTest, ReadingsWithoutANumberStayTextAndFail) {
    auto limits = std::make_shared<shell_test::FakeLimits>();
    for (const char* reading : {"%", "OPEN", "---", "<90", "> 100"}) {
        SCOPED_TRACE(reading);
        auto m = Make("SpO2", "%");
        m->StoreValue(reading);
        EXPECT_EQ(m->Value().Type(), plat::VarType::String);
        EXPECT_EQ(m->ValueType(), 5);
        m->Evaluate(nullptr, limits);
        EXPECT_EQ(m->Status(), 2);
    }
}

TEST_F(MeasurementTest, AnEmptyReadingOrOneBeyondDoubleRangeLeavesNoValue) {
    auto m = Make("BPM", "BPM");
    m->StoreValue("60");
    m->StoreValue("   ");
    EXPECT_TRUE(m->Value().IsEmpty());
    m->Evaluate(nullptr, std::make_shared<shell_test::FakeLimits>());
    EXPECT_EQ(m->Status(), 0);
    m->StoreValue("1E999");
    EXPECT_TRUE(m->Value().IsEmpty());
    m->StoreValue("0");
    EXPECT_EQ(m->Value(), plat::Variant(0.0));  // a real zero is a number
}

TEST_F(MeasurementTest, StoringAlwaysClearsTheStatus) {
    auto m = Make("SpO2", "%");
    m->StoreValue("<90");
    m->Evaluate(nullptr, std::make_shared<shell_test::FakeLimits>());
    ASSERT_EQ(m->Status(), 2);
    m->StoreValue("95");
    EXPECT_EQ(m->Status(), 0);
}

// ---- judging -----------------------------------------------------------------

TEST_F(MeasurementTest, ANumberIsJudgedByTheLimits) {
    auto limits = std::make_shared<shell_test::FakeLimits>();
    limits->standards->Add(Standard("ISO", {Item("LED-R", 5, 1)}));
    auto m = Make("LED-R", "Volts");
    m->StoreValue("3");
    m->Evaluate(nullptr, limits);
    EXPECT_EQ(m->Status(), 1);
    m->StoreValue("6");
    m->Evaluate(nullptr, limits);
    EXPECT_EQ(m->Status(), 2);
}

// Limits that cannot answer.
class BrokenLimits : public shell_test::FakeLimits {
public:
    plat::ObjectPtr FindFailedStandards(const std::shared_ptr<host::IMeasurement>&,
                                        const std::shared_ptr<host::ILimitStandards>&) const override {
        throw std::runtime_error("no limits");
    }
};

TEST_F(MeasurementTest, NeverPassedWhenTheLimitsCouldNotBeAsked) {
    auto m = Make("LED-R", "Volts");
    m->StoreValue("3");
    m->Evaluate(nullptr, std::make_shared<BrokenLimits>());
    EXPECT_EQ(m->Status(), 0);
    m->Evaluate(nullptr, nullptr);
    EXPECT_EQ(m->Status(), 0);
}

// ---- formats -----------------------------------------------------------------

TEST_F(MeasurementTest, ValueFormatShowsWholeNumbersPlain) {
    auto m = Make("LED-R", "Volts");
    m->StoreValue("97.0");
    EXPECT_EQ(m->ValueFormat(), "0");
    m->StoreValue("3.25");
    EXPECT_EQ(m->ValueFormat(), "####0.00##");
    auto whole = Make("SpO2", "%", true);
    whole->StoreValue("3.25");
    EXPECT_EQ(whole->ValueFormat(), "0");
    whole->StoreValue("");
    EXPECT_EQ(whole->ValueFormat(), "");
}

TEST_F(MeasurementTest, ResultValueFollowsTheFlagsAndTheUsersDecimalSign) {
    plat::ScopedDecimalSign comma(',');
    auto m = Make("LED-R", "Volts");
    m->StoreValue("3.25");
    EXPECT_EQ(m->GetResultValue(6), plat::Variant("3,25 Volts"));
    EXPECT_EQ(m->GetResultValue(2), plat::Variant("3,25"));
    EXPECT_EQ(m->GetResultValue(0), plat::Variant(3.25));
}

TEST_F(MeasurementTest, TheTighterOfSeveralBoundsWins) {
    auto standard = Standard("ISO", {Item("LED-R", 102, 85), Item("LED-R", 100, 90), Item("LED-IR", 1, 0)});
    auto m = Make("LED-R", "Volts");
    EXPECT_EQ(m->GetLimitValue(standard, 0, 0), plat::Variant(100.0));
    EXPECT_EQ(m->GetLimitValue(standard, 1, 0), plat::Variant(90.0));
    EXPECT_TRUE(m->GetLimitValue(Standard("X", {}), 0, 0).IsEmpty());
}

TEST_F(MeasurementTest, LimitValueTextAppendsTheUnitOnlyForToleranceBounds) {
    auto standard = Standard("ISO", {Item("SpO2", 2, -2, "X+Y")});
    auto m = Make("SpO2", "%");
    m->SetPresetValue(plat::Variant(90));
    EXPECT_EQ(m->GetLimitValue(standard, 0, 6), plat::Variant("2"));
    EXPECT_EQ(m->GetLimitValue(standard, 0, 7), plat::Variant("92 %"));
    EXPECT_EQ(m->GetLimitValue(standard, 1, 3), plat::Variant("88"));
}

TEST_F(MeasurementTest, ValidateLimitsJudgesAgainstThePresetValue) {
    auto standard = Standard("ISO", {Item("SpO2", 2, -2, "X+Y")});
    auto m = Make("SpO2", "%");
    EXPECT_EQ(m->ValidateLimits(standard), 1);  // nothing read yet
    m->SetPresetValue(plat::Variant("96,4"));  // reads as 96
    m->StoreValue("98");
    EXPECT_EQ(m->ValidateLimits(standard), 1);
    m->StoreValue("99");
    EXPECT_EQ(m->ValidateLimits(standard), 2);
    m->StoreValue("<90");
    EXPECT_EQ(m->ValidateLimits(standard), 2);
    m->StoreValue("99");
    m->SetPresetValue(plat::Variant("1E20"));  // no 32-bit preset
    EXPECT_EQ(m->ValidateLimits(standard), 2);
    EXPECT_EQ(Make("BPM", "BPM")->ValidateLimits(standard), 1);  // no item of the key
}

// ---- saved form ----------------------------------------------------------------

TEST_F(MeasurementTest, SavedFormKeepsTextsUntranslatedAndMarksUnevaluatedOnes) {
    auto doc = host::XmlFactory().NewDocument();
    auto m = Make("PIN3_TO_PIN7", "KOhms");
    m->StoreValue("12.5");
    m->SetPresetValue(plat::Variant(3));
    doc->AppendChild(m->SaveElement(*doc));
    EXPECT_EQ(doc->DocumentElement()->GetAttribute("Key"), "PIN3_TO_PIN7");
    const std::string xml = doc->Xml();
    EXPECT_NE(xml.find("<Description>20019::Pin %%1 to Pin %%2_:_3_:_7</Description><Value>12.5</Value>"
                       "<ValueFormat>0</ValueFormat><Unit>20042::KOhms</Unit><PresetValue>3</PresetValue>"
                       "<Status>0</Status><TestNotPerformed>1</TestNotPerformed>"),
              std::string::npos)
        << xml;
    EXPECT_EQ(m->Save(*doc), nullptr);
}

TEST_F(MeasurementTest, SaveAndLoadGiveTheSameMeasurementUnderACommaDecimalSign) {
    plat::ScopedDecimalSign comma(',');
    auto m = Make("LED-IR", "Volts");
    m->StoreValue("3,25");
    m->SetPresetValue(plat::Variant(2.5));
    auto limits = std::make_shared<shell_test::FakeLimits>();
    m->Evaluate(nullptr, limits);
    ASSERT_EQ(m->Status(), 1);
    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(m->SaveElement(*doc));
    EXPECT_NE(doc->Xml().find("<Value>3.25</Value>"), std::string::npos);
    EXPECT_NE(doc->Xml().find("<PresetValue>2.5</PresetValue>"), std::string::npos);

    CMeasurement back;
    back.Init({}, {}, {}, {}, true);
    back.LoadElement(*doc->DocumentElement());
    EXPECT_EQ(back.Key(), "LED-IR");
    EXPECT_EQ(back.LimitKey(), "LED-IR");
    EXPECT_EQ(back.Value(), plat::Variant(3.25));
    EXPECT_EQ(back.PresetValue(), plat::Variant(2.5));
    EXPECT_EQ(back.Description(), "LEDs - IR");
    EXPECT_EQ(back.Unit(), "Volts");
    EXPECT_FALSE(back.IntegerFormat());
    EXPECT_EQ(back.Status(), 1);
}

TEST_F(MeasurementTest, TestNotPerformedWinsOverAStatusReadBeforeIt) {
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<Measurement Key=\"SpO2\"><Status>2</Status><TestNotPerformed>1</TestNotPerformed></Measurement>");
    CMeasurement m;
    m.LoadElement(*doc->DocumentElement());
    EXPECT_EQ(m.Status(), 0);
}

TEST_F(MeasurementTest, StoredPinDescriptionsTranslateOnlyWithBothPins) {
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<Measurement Key=\"X\"><Description>20019::Pin %%1 to Pin %%2_:_3_:_7</Description></Measurement>");
    CMeasurement m;
    m.LoadElement(*doc->DocumentElement());
    EXPECT_EQ(m.Description(), "Pin 3 to Pin 7");
    doc->LoadXml("<Measurement Key=\"X\"><Description>20019::Pin %%1 to Pin %%2_:_3</Description></Measurement>");
    m.LoadElement(*doc->DocumentElement());
    EXPECT_EQ(m.Description(), "20019::Pin %%1 to Pin %%2_:_3");
}

TEST_F(MeasurementTest, ABadChildIsSkippedAndTheRestStillReads) {
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<Measurement Key=\"BPM\"><Status>x</Status><Value>61</Value><Unit>20034::BPM</Unit>"
                 "<Other/></Measurement>");
    CMeasurement m;
    m.LoadElement(*doc->DocumentElement());
    EXPECT_EQ(m.Status(), 0);
    EXPECT_EQ(m.Value(), plat::Variant(61.0));
    EXPECT_EQ(m.Unit(), "BPM");
}

// ---- report rows ---------------------------------------------------------------

TEST_F(MeasurementTest, ReportRowWithoutLimitColumns) {
    auto m = Make("SpO2", "%");
    m->StoreValue("97");
    m->SetPresetValue(plat::Variant(98));
    auto report = std::make_shared<host::CReport>("English", 0, 0);
    EXPECT_EQ(m->GetReportLine(report), "|      SpO2 level|98|97|%;");
    auto onlyFailed = std::make_shared<host::CReport>("English", 0, host::IReport::OnlyFailed);
    EXPECT_EQ(m->GetReportLine(onlyFailed), "");
}

TEST_F(MeasurementTest, ReportRowsWithLimitColumnsPerPrintedStandard) {
    auto m = Make("LED-R", "Volts");
    m->StoreValue("3");
    plugin::SetPrintedLimitStandards({Standard("A", {Item("LED-R", 5, 0)}), Standard("B", {Item("LED-IR", 1, 0)}),
                                      Standard("C", {Item("LED-R", 4, 2.4, "", "%")})});
    auto report = std::make_shared<host::CReport>("English", 0, host::IReport::LimitColumns);
    // A bound of 0 that was found shows as 0; B has no LED-R item; a bound of 2.4 is not 2.40000009536743.
    EXPECT_EQ(m->GetReportLine(report), "|      LEDs - R||3|Volts|5|0|A;||||" "|4|2.4|C;");
    auto level2 = std::make_shared<host::CReport>("English", 2, host::IReport::LimitColumns);
    EXPECT_EQ(m->GetReportLine(level2), "|      LEDs - R||3|Volts;");
}

TEST_F(MeasurementTest, WithoutAPrintedStandardOfItsKeyTheRowHasEmptyLimitCells) {
    auto m = Make("BPM", "BPM");
    m->StoreValue("60");
    auto report = std::make_shared<host::CReport>("English", 0, host::IReport::LimitColumns);
    plugin::SizePrintedLimitStandards(1);
    EXPECT_EQ(m->GetReportLine(report), "|      Beats per minute||60|BPM|||;");
    plugin::SetPrintedLimitStandards({Standard("A", {Item("SpO2", 5, 0)})});
    EXPECT_EQ(m->GetReportLine(report), "|      Beats per minute||60|BPM|||;");
}

}  // namespace
