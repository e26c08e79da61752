#include <gtest/gtest.h>

#include "host/report.h"
#include "platform/values/numfmt.h"
#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"
#include "tests/plugin/config/spo2_config_fixture.h"

namespace {

using plugin::CSpO2SimulationConfig;

class NarrowReport : public host::CReport {
public:
    explicit NarrowReport(int32_t width) : width_(width) {}
    int32_t UsableWidth(int32_t fontSize) const override {
        asked_ = fontSize;
        return width_;
    }
    int32_t width_;
    mutable int32_t asked_ = 0;
};

class Spo2ConfigReportTest : public plugin_test::Spo2ConfigTest {
protected:
    static const host::CReport::Table& Print(CSpO2SimulationConfig& config, const std::shared_ptr<host::CReport>& report) {
        config.PrintReport(report);
        EXPECT_EQ(report->Tables().size(), 1u);
        return report->Tables().back();
    }
    static std::string Row(const std::string& label, const std::string& value, const std::string& unit = {}) {
        return "|      " + label + "|" + value + (unit.empty() ? "" : "|" + unit) + ";";
    }
};

TEST_F(Spo2ConfigReportTest, BuiltInMakeWithDefaultPreset) {
    CSpO2SimulationConfig c;
    c.SetOximeterMake(6);
    auto report = std::make_shared<host::CReport>();
    const auto& table = Print(c, report);
    EXPECT_EQ(table.format, "<+560|<2390|>+1550|>+750|>+800|>+750|>+1450|<+!554|<+560;");
    EXPECT_EQ(table.header, "|{\\i\\b Configuration}|{\\i\\b Value}|{\\i\\b Unit};");
    EXPECT_EQ(table.body, Row("Simulation Type", "Optical") + Row("Oximeter make name", "Nellcor") + Row("TLC", "3500") +
                              Row("Preset condition", "Normal") + Row("SpO2 level", "98", "%") +
                              Row("Beats per minute", "55", "BPM") + Row("Pulse amplitude", "5", "%"));
    EXPECT_EQ(table.fontSize, 10);
    EXPECT_EQ(table.fontStyle, 0);
    EXPECT_EQ(table.gridLines, 1);
}

TEST_F(Spo2ConfigReportTest, ColumnWidthsFollowTheUsableWidth) {
    CSpO2SimulationConfig c;
    auto narrow = std::make_shared<NarrowReport>(3000);  // w = -60 - 50
    EXPECT_EQ(Print(c, narrow).format, "<+560|<1330|>+490|>+-310|>+-260|>+-310|>+390|<+!554|<+560;");
    EXPECT_EQ(narrow->asked_, 10);
    auto odd = std::make_shared<NarrowReport>(9365);  // the quotient is cut
    EXPECT_EQ(Print(c, odd).format, "<+560|<2390|>+1550|>+750|>+800|>+750|>+1450|<+!554|<+560;");
}

TEST_F(Spo2ConfigReportTest, CustomMakeRowsAndCustomPreset) {
    auto make = makes_test::FullMake("Acme");
    make->SetIRDC(2100);
    make->SetRedDC(2200);
    make->SetIRAC(900);
    make->SetTLC(3900);
    for (int32_t level : {2, 1}) {
        make->SetLightLevel(level);
        CSpO2SimulationConfig c;
        c.SetOximeterMake(11);
        c.SetCurrentMake(make);
        c.SetSimulationType(2);
        c.SetSimulationID(24);
        c.SetSpO2(77);
        c.SetBPM(120);
        c.SetPulseAmplitude("0,65");
        auto report = std::make_shared<host::CReport>();
        EXPECT_EQ(Print(c, report).body,
                  Row("Simulation Type", "Electrical") + Row("Oximeter make name", "Acme") + Row("IR DC", "2100") +
                      Row("Red DC", "2200") + Row("IR AC", "900") +
                      Row("Light level", level == 1 ? "Medium" : "Low") + Row("TLC", "3900") +
                      Row("SpO2 level", "77", "%") + Row("Beats per minute", "120", "BPM") +
                      Row("Pulse amplitude", "0.65", "%"));
    }
}

TEST_F(Spo2ConfigReportTest, CustomIndexWithoutMakeNamesTheMakeAskedFor) {
    CSpO2SimulationConfig c;
    c.SetOximeterMake(12);
    c.SetOximeterMakeName("Acme");
    c.SetTlc(1500);
    plugin::CPresets().SetSpO2ConfigById(3, c);
    auto report = std::make_shared<host::CReport>();
    EXPECT_EQ(Print(c, report).body, Row("Simulation Type", "Optical") + Row("Oximeter make name", "Acme") +
                                         Row("TLC", "1500") + Row("Preset condition", "Hypox") +
                                         Row("SpO2 level", "70", "%") + Row("Beats per minute", "95", "BPM") +
                                         Row("Pulse amplitude", "2", "%"));
}

TEST_F(Spo2ConfigReportTest, TextsInTheReportsLanguageAndDecimalSign) {
    dir_.Write("languages/German/Pelmo2.lng", "22024=Simulationsart\n20048=Normal-DE\n234=Einheit\n");
    plat::ScopedDecimalSign comma(',');
    CSpO2SimulationConfig c;
    c.SetPulseAmplitude("0.65");
    auto report = std::make_shared<host::CReport>("German");
    const auto& table = Print(c, report);
    EXPECT_EQ(table.header, "|{\\i\\b Configuration}|{\\i\\b Value}|{\\i\\b Einheit};");
    EXPECT_EQ(table.body.substr(0, Row("Simulationsart", "Optical").size()), Row("Simulationsart", "Optical"));
    EXPECT_NE(table.body.find(Row("Preset condition", "Normal-DE")), std::string::npos);
    EXPECT_NE(table.body.find(Row("Pulse amplitude", "0,65", "%")), std::string::npos);
    c.PrintReport(nullptr);  // nothing, no failure
}

}  // namespace
