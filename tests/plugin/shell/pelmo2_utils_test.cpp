#include "plugin/shell/pelmo2_utils.h"

#include <gtest/gtest.h>

#include <fstream>

#include "driver/probe_report.h"
#include "tests/support/sandbox.h"

namespace {

class Pelmo2UtilsTest : public test_support::SandboxTest {};

TEST_F(Pelmo2UtilsTest, NamedKeysHaveTheirTextsAndUnitsInBothForms) {
    EXPECT_EQ(plugin::MeasurementUnit("SpO2"), "%");
    EXPECT_EQ(plugin::MeasurementUnitId("SpO2"), "%");
    EXPECT_EQ(plugin::MeasurementDescriptionId("BPM"), "20017::Beats per minute");
    EXPECT_EQ(plugin::MeasurementDescription("BPM"), "Beats per minute");
    EXPECT_EQ(plugin::MeasurementUnit("BPM"), "BPM");
    EXPECT_EQ(plugin::MeasurementUnitId("LED-PHOTO"), "20041::Volts");
    EXPECT_EQ(plugin::MeasurementUnit("PHOTODIODE-R"), "");
    EXPECT_EQ(plugin::MeasurementUnitId("PHOTODIODE-IR"), "");
}

TEST_F(Pelmo2UtilsTest, KeysCompareWithCaseSoOtherSpellingsArePinPairs) {
    EXPECT_EQ(plugin::MeasurementDescription("spo2"), "");
    EXPECT_EQ(plugin::MeasurementDescriptionId("spo2"), "");
    EXPECT_EQ(plugin::MeasurementUnitId("spo2"), "20042::KOhms");
    EXPECT_EQ(plugin::MeasurementUnit("spo2"), "KOhms");
}

TEST_F(Pelmo2UtilsTest, PinPairsAreStoredJoinedAndTranslatedWithTheirPins) {
    EXPECT_EQ(plugin::PinPairTextId("PIN3_TO_PIN11"), "20019::Pin %%1 to Pin %%2_:_3_:_11");
    EXPECT_EQ(plugin::MeasurementDescription("PIN3_TO_PIN11"), "Pin 3 to Pin 11");
    EXPECT_EQ(plugin::MeasurementDescription("pin1_TO_PIN2"), "Pin 1 to Pin 2");  // "PIN" in any case
    EXPECT_EQ(plugin::MeasurementUnitId("PIN1_TO_PIN2"), "20042::KOhms");
    EXPECT_EQ(plugin::PinPairCount(), 78);
}

TEST_F(Pelmo2UtilsTest, MalformedPinKeysAreNoPinPairsAndNeverReadPastTheEnd) {
    for (const char* key : {"PIN12", "PIN1_TO_", "PIN1_TO_PI", "PIN1_to_PIN2", "PI", "", "XPIN1_TO_PIN2"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(plugin::PinPairTextId(key), "");
        EXPECT_EQ(plugin::PinPairText(key), "");
    }
    auto pins = drv::probe_report::ParsePinPair("PIN4_TO_PIN");
    ASSERT_TRUE(pins);
    EXPECT_EQ(pins->second, "");
}

TEST_F(Pelmo2UtilsTest, PresetNamesFollowTheSimulatorsNumbering) {
    EXPECT_EQ(plugin::PresetName(0), "Normal");
    EXPECT_EQ(plugin::PresetName(8), "Normal/Tap");
    EXPECT_EQ(plugin::PresetName(23), "Slow Tap");
    EXPECT_EQ(plugin::PresetName(24), "Customize");
    EXPECT_EQ(plugin::PresetName(25), "");
    EXPECT_EQ(plugin::PresetName(-1), "");
}

TEST_F(Pelmo2UtilsTest, AReportTranslatesInItsOwnLanguage) {
    test_support::TempDir langs;
    langs.Write("German/Pelmo2.lng", "20016=SpO2-Wert\n20019=Stift %%1 bis Stift %%2\n");
    host::LanguageService().SetLanguagesRoot(langs.Path());
    auto report = std::make_shared<host::CReport>("German");
    EXPECT_EQ(plugin::MeasurementDescription("SpO2", report), "SpO2-Wert");
    EXPECT_EQ(plugin::MeasurementDescription("PIN1_TO_PIN5", report), "Stift 1 bis Stift 5");
    EXPECT_EQ(plugin::MeasurementDescription("SpO2"), "SpO2 level");  // the service stays English
}

}  // namespace
