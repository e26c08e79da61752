#include "plugin/config/presets.h"

#include <gtest/gtest.h>

#include "platform/values/numfmt.h"
#include "plugin/config/spo2_simulation_config.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::CPresets;
using plugin::CSpO2SimulationConfig;

class PresetsTest : public test_support::SandboxTest {
protected:
    // Translations of the user-interface language, written before the table is made.
    void Translate(const std::string& lines) {
        dir_.Write("languages/English/Pelmo2.lng", lines);
        host::LanguageService().Reload();
    }
};

struct Values {
    int32_t spo2, bpm;
    std::string amplitude;
    int32_t id;
};

Values Of(const CSpO2SimulationConfig& c) { return {c.SpO2(), c.BPM(), c.PulseAmplitude(), c.SimulationID()}; }

void ExpectValues(const CSpO2SimulationConfig& c, const Values& v) {
    EXPECT_EQ(c.SpO2(), v.spo2);
    EXPECT_EQ(c.BPM(), v.bpm);
    EXPECT_EQ(c.PulseAmplitude(), v.amplitude);
    EXPECT_EQ(c.SimulationID(), v.id);
}

TEST_F(PresetsTest, TableInListOrderWithDefaultFirst) {
    CPresets presets;
    auto list = presets.Presets();
    ASSERT_EQ(list->Count(), 25);
    EXPECT_EQ(list->Item(1), "Normal");
    EXPECT_EQ(list->Item(4), "Weak Pulse");
    EXPECT_EQ(list->Item(25), "Customize");
    EXPECT_EQ(presets.Presets().get(), list.get());
    EXPECT_EQ(presets.DefaultPresetName(), list->Item(1));
    EXPECT_EQ(presets.DefaultPresetID(), 0);
    // Positions are not IDs.
    EXPECT_EQ(CPresets::PositionOfId(1), 4);
    EXPECT_EQ(CPresets::PositionOfId(8), 2);
    EXPECT_EQ(CPresets::PositionOfId(24), 25);
    EXPECT_EQ(CPresets::PositionOfId(25), 0);
    EXPECT_EQ(CPresets::PositionOfId(-1), 0);
    EXPECT_EQ(CPresets::PresetText(18), "20066::Weak Tap #2");
    EXPECT_EQ(presets.NameOfId(18), "Weak Tap #2");
    EXPECT_EQ(presets.NameOfId(30), "");
}

TEST_F(PresetsTest, EveryRowOfTheTableByNameAndById) {
    struct Row {
        const char* name;
        Values values;
    };
    const Row rows[] = {
        {"Normal", {98, 55, "5", 0}},          {"Normal/Tap", {98, 55, "5", 8}},
        {"Normal/Shiver", {98, 55, "5", 9}},   {"Weak Pulse", {90, 95, "0.65", 1}},
        {"Weak Pulse/Tap", {90, 95, "0.65", 10}}, {"Weak Pulse/Shiver", {90, 95, "0.65", 11}},
        {"Brad", {88, 45, "5", 2}},            {"Brad/Shiver", {88, 45, "5", 12}},
        {"Hypox", {70, 95, "2", 3}},           {"Hypox/Tap", {70, 95, "2", 13}},
        {"Hypox/Shiver", {70, 95, "2", 14}},   {"Neonate", {90, 180, "1", 4}},
        {"Neonate/Shiver", {90, 180, "1", 15}}, {"Tach", {85, 130, "1.2", 5}},
        {"Geriatric", {92, 95, "2.4", 6}},     {"Obese", {93, 90, "3", 7}},
        {"Brady Tap #2", {88, 45, "5", 16}},   {"Hypox Tap #2", {70, 95, "2", 17}},
        {"Weak Tap #2", {80, 95, "0.9", 18}},  {"Normal Tap #2", {93, 55, "5", 19}},
        {"Asystole", {91, 90, "2", 20}},       {"Low Freq 1", {80, 75, "1", 21}},
        {"Low Freq 2", {70, 75, "1", 22}},     {"Slow Tap", {80, 75, "1", 23}},
        {"Customize", {61, 62, "0.07", 24}},
    };
    CPresets presets;
    ASSERT_EQ(presets.Presets()->Count(), 25);
    for (int32_t position = 1; position <= 25; ++position) {
        const Row& row = rows[position - 1];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(presets.Presets()->Item(position), row.name);
        EXPECT_EQ(CPresets::PositionOfId(row.values.id), position);
        for (bool byName : {true, false}) {
            CSpO2SimulationConfig config;
            // No row's values to begin with.
            config.SetSpO2(1);
            config.SetBPM(2);
            config.SetPulseAmplitude("3.5");
            config.SetSimulationID(-1);
            config.SetCustomSpO2(61);
            config.SetCustomBPM(62);
            config.SetCustomPulseAmplitude("0.07");
            if (byName)
                presets.SetSpO2ConfigByPreset(row.name, config);
            else
                presets.SetSpO2ConfigById(row.values.id, config);
            ExpectValues(config, row.values);
        }
    }
}

TEST_F(PresetsTest, ChoosingByNameWritesThePresetValues) {
    CPresets presets;
    CSpO2SimulationConfig config;
    presets.SetSpO2ConfigByPreset("Hypox", config);
    ExpectValues(config, {70, 95, "2", 3});
    presets.SetSpO2ConfigByPreset("Weak Tap #2", config);
    ExpectValues(config, {80, 95, "0.9", 18});
    {
        plat::ScopedDecimalSign comma(',');
        presets.SetSpO2ConfigByPreset("Weak Pulse/Shiver", config);
        ExpectValues(config, {90, 95, "0,65", 11});
    }
    // The caller sets the name.
    EXPECT_EQ(config.PresetName(), "Normal");
}

TEST_F(PresetsTest, CustomizeCopiesTheCustomValues) {
    CPresets presets;
    CSpO2SimulationConfig config;
    config.SetCustomSpO2(77);
    config.SetCustomBPM(123);
    config.SetCustomPulseAmplitude("0,4");
    presets.SetSpO2ConfigByPreset("Customize", config);
    ExpectValues(config, {77, 123, "0,4", 24});
    EXPECT_EQ(config.CustomSpO2(), 77);
    config.SetCustomSpO2(60);
    presets.SetSpO2ConfigById(24, config);
    EXPECT_EQ(config.SpO2(), 60);
}

TEST_F(PresetsTest, UnknownNamesAndIdsChangeNothing) {
    CPresets presets;
    CSpO2SimulationConfig config;
    presets.SetSpO2ConfigByPreset("Hypox", config);
    const Values before = Of(config);
    for (const char* name : {"hypox", "HYPOX", "", "Hypoxie", "20056::Hypox"}) {
        presets.SetSpO2ConfigByPreset(name, config);
        ExpectValues(config, before);
    }
    for (int32_t id : {-1, 25, 100}) {
        presets.SetSpO2ConfigById(id, config);
        ExpectValues(config, before);
    }
}

TEST_F(PresetsTest, NamesAreTranslatedOnceWhenMade) {
    Translate("20048=Normal-DE\n20072=Anpassen\n");
    CPresets presets;
    EXPECT_EQ(presets.DefaultPresetName(), "Normal-DE");
    EXPECT_EQ(presets.Presets()->Item(25), "Anpassen");
    Translate("20048=Changed\n");
    EXPECT_EQ(presets.DefaultPresetName(), "Normal-DE");
    CSpO2SimulationConfig config;
    presets.SetSpO2ConfigById(3, config);
    presets.SetSpO2ConfigByPreset("Normal", config);  // the English name no longer matches
    ExpectValues(config, {70, 95, "2", 3});
}

TEST_F(PresetsTest, PresetsTranslatedAlikeAreToldApartById) {
    // "Hypox" translated like "Normal", and one translation missing (empty).
    Translate("20056=Normal\n20061=\n");
    CPresets presets;
    CSpO2SimulationConfig config;
    presets.SetSpO2ConfigByPreset("Normal", config);
    ExpectValues(config, {98, 55, "5", 0});  // the first of the two by name
    presets.SetSpO2ConfigById(3, config);
    ExpectValues(config, {70, 95, "2", 3});
    presets.SetSpO2ConfigById(5, config);  // Tach, whose name is lost
    ExpectValues(config, {85, 130, "1.2", 5});
}

}  // namespace
