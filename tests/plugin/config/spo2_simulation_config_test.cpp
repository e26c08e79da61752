#include "plugin/config/spo2_simulation_config.h"

#include <gtest/gtest.h>

#include "plugin/config/config_dialog_maker.h"
#include "tests/plugin/config/spo2_config_fixture.h"

namespace {

using plugin::CSpO2SimulationConfig;
using ConfigPtr = std::shared_ptr<CSpO2SimulationConfig>;

class Spo2ConfigCopyTest : public plugin_test::Spo2ConfigTest {
protected:
    void Default(std::string_view name, std::string_view value) {
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, name, value);
    }
    static ConfigPtr CloneOf(const CSpO2SimulationConfig& config) {
        return std::dynamic_pointer_cast<CSpO2SimulationConfig>(config.Clone());
    }
};

TEST_F(Spo2ConfigCopyTest, NewConfigurationHoldsTheDefaults) {
    CSpO2SimulationConfig c;
    EXPECT_EQ(c.OximeterMake(), 0);
    EXPECT_EQ(c.OximeterMakeName(), "");
    EXPECT_FALSE(c.Makes());
    EXPECT_FALSE(c.CurrentMake());
    EXPECT_FALSE(c.UploadRCurve());
    EXPECT_FALSE(c.pReadFromRegStatus());
    EXPECT_EQ(c.EnableBtnFlags(), 3);
    EXPECT_EQ(c.SpO2(), 98);
    EXPECT_EQ(c.BPM(), 55);
    EXPECT_EQ(c.PulseAmplitude(), "5");
    EXPECT_EQ(c.CustomSpO2(), 98);
    EXPECT_EQ(c.CustomBPM(), 75);
    EXPECT_EQ(c.CustomPulseAmplitude(), "5");
    EXPECT_EQ(c.SimulationType(), 1);
    EXPECT_EQ(c.SimulationID(), 0);
    EXPECT_EQ(c.PresetName(), "Normal");
    EXPECT_EQ(c.GetTlc(), 1100);
    EXPECT_TRUE(c.HasDialog());
}

TEST_F(Spo2ConfigCopyTest, SettingThePluginSetupRestoresDefaultsButKeepsTheMake) {
    CSpO2SimulationConfig c;
    c.SetOximeterMake(3);
    c.SetTlc(2000);
    c.SetSpO2(70);
    c.SetSimulationID(3);
    c.SetEnableBtnFlags(1);
    c.SetPluginSetup(nullptr);
    EXPECT_EQ(c.OximeterMake(), 3);
    EXPECT_EQ(c.GetTlc(), 3030);
    EXPECT_EQ(c.SpO2(), 98);
    EXPECT_EQ(c.SimulationID(), 0);
    EXPECT_EQ(c.EnableBtnFlags(), 1);
}

TEST_F(Spo2ConfigCopyTest, TlcFollowsTheSelectedMake) {
    CSpO2SimulationConfig source;
    source.SetOximeterMake(3);
    source.SetTlc(2000);
    source.SetOximeterMake(4);
    EXPECT_EQ(source.GetTlc(), 3500);  // only entry 3 changed
    source.SetOximeterMake(3);

    CSpO2SimulationConfig copy;
    copy.CopyCloneData(&source);
    EXPECT_EQ(copy.GetTlc(), 2000);

    source.SetOximeterMake(5);
    CSpO2SimulationConfig second;
    second.CopyCloneData(&source);
    EXPECT_EQ(second.GetTlc(), 4000);
    second.SetOximeterMake(3);
    EXPECT_EQ(second.GetTlc(), 3030);  // only the selected entry travels

    // A custom index without a make uses entry 0.
    CSpO2SimulationConfig custom;
    custom.SetOximeterMake(12);
    custom.SetTlc(1500);
    EXPECT_EQ(custom.GetTlc(), 1500);
    custom.SetOximeterMake(0);
    EXPECT_EQ(custom.GetTlc(), 1500);
}

TEST_F(Spo2ConfigCopyTest, CopyCarriesEveryFieldButTheFlagAndOwner) {
    CSpO2SimulationConfig source;
    source.SetOximeterMake(7);
    source.SetOximeterMakeName("kept");
    source.SetSpO2(70);
    source.SetBPM(95);
    source.SetPulseAmplitude("2");
    source.SetPresetName("Hypox");
    source.SetSimulationID(3);
    source.SetUploadRCurve(true);
    source.SetCustomSpO2(60);
    source.SetCustomBPM(61);
    source.SetCustomPulseAmplitude("0.5");
    source.SetSimulationType(2);
    source.SetEnableBtnFlags(2);
    source.SetpReadFromRegStatus(true);
    CSpO2SimulationConfig copy;
    copy.CopyCloneData(&source);
    EXPECT_EQ(copy.OximeterMake(), 7);
    EXPECT_EQ(copy.OximeterMakeName(), "kept");
    EXPECT_EQ(copy.SpO2(), 70);
    EXPECT_EQ(copy.BPM(), 95);
    EXPECT_EQ(copy.PulseAmplitude(), "2");
    EXPECT_EQ(copy.PresetName(), "Hypox");
    EXPECT_EQ(copy.SimulationID(), 3);
    EXPECT_TRUE(copy.UploadRCurve());
    EXPECT_EQ(copy.CustomSpO2(), 60);
    EXPECT_EQ(copy.CustomBPM(), 61);
    EXPECT_EQ(copy.CustomPulseAmplitude(), "0.5");
    EXPECT_EQ(copy.SimulationType(), 2);
    EXPECT_EQ(copy.EnableBtnFlags(), 2);
    EXPECT_FALSE(copy.pReadFromRegStatus());
    ASSERT_TRUE(copy.Makes());  // an empty library of its own
    EXPECT_EQ(copy.Makes()->Count(), 0);
    copy.CopyCloneData(nullptr);
    EXPECT_EQ(copy.OximeterMake(), 7);
}

TEST_F(Spo2ConfigCopyTest, TemplateCloneReadsTheDefaultsAndItsOwnLibrary) {
    PutMake("Acme", "acme.txt");
    PutMake("Zeta", "zeta.txt");
    Default("DefaultMakeLocation", "12");
    Default("DefaultCustomMakeName", "ACME");
    Default("DefaultDownloadPref", "1");
    CSpO2SimulationConfig templ;
    ConfigPtr clone = CloneOf(templ);
    ASSERT_TRUE(clone);
    EXPECT_TRUE(clone->pReadFromRegStatus());
    EXPECT_FALSE(templ.pReadFromRegStatus());
    EXPECT_EQ(clone->OximeterMake(), 12);
    EXPECT_EQ(clone->OximeterMakeName(), "ACME");
    EXPECT_TRUE(clone->UploadRCurve());
    ASSERT_TRUE(clone->CurrentMake());
    EXPECT_EQ(clone->CurrentMake()->Name(), "Acme");
    EXPECT_EQ(clone->Makes()->Count(), 2);
    // The clone's make is its own copy: another test's TLC stays.
    ConfigPtr other = CloneOf(templ);
    clone->SetTlc(99);
    EXPECT_EQ(clone->CurrentMake()->TLC(), 99);
    EXPECT_EQ(clone->Makes()->Item("acme")->TLC(), 99);
    EXPECT_EQ(other->GetTlc(), 3500);
    EXPECT_EQ(templ.GetTlc(), 3500);
    EXPECT_NE(other->CurrentMake().get(), templ.CurrentMake().get());
}

TEST_F(Spo2ConfigCopyTest, DefaultCustomMakeMissingFallsBackToMakeZero) {
    Default("DefaultMakeLocation", "12");
    Default("DefaultCustomMakeName", "Acme");
    Default("DefaultDownloadPref", "1");
    for (bool withOtherMake : {false, true}) {
        if (withOtherMake) PutMake("Zeta", "zeta.txt");
        CSpO2SimulationConfig templ;
        ConfigPtr clone = CloneOf(templ);
        EXPECT_EQ(clone->OximeterMake(), 0);
        EXPECT_EQ(clone->OximeterMakeName(), "BCI");
        EXPECT_FALSE(clone->UploadRCurve());
        EXPECT_FALSE(clone->CurrentMake());
    }
}

TEST_F(Spo2ConfigCopyTest, DefaultBuiltInMakeKeepsTheName) {
    PutMake("Acme", "acme.txt");
    Default("DefaultMakeLocation", "4");
    Default("DefaultCustomMakeName", "Acme");
    CSpO2SimulationConfig templ;
    ConfigPtr clone = CloneOf(templ);
    EXPECT_EQ(clone->OximeterMake(), 4);
    EXPECT_EQ(clone->OximeterMakeName(), "Acme");
    EXPECT_FALSE(clone->CurrentMake());
    EXPECT_EQ(clone->GetTlc(), 3500);
}

TEST_F(Spo2ConfigCopyTest, RegistryNumbersAreChecked) {
    struct Case {
        const char* location;
        const char* pref;
        int32_t make;
        bool upload;
    };
    // Missing or empty: 0 and no upload; not a number or too large: the
    // field keeps what the template had; a negative index: make 0.
    for (const Case& c : {Case{nullptr, nullptr, 0, false}, Case{"", "", 0, false}, Case{"3", "1.0", 3, true},
                          Case{"3,4", "1,0", 3, true}, Case{"abc", "yes", 6, true}, Case{"5abc", "2", 6, false},
                          Case{"1E+12", "0", 6, false}, Case{"-3", "1", 0, false}, Case{"12.5", "1", 0, false}}) {
        plat::Registry::Instance().DeleteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultMakeLocation");
        plat::Registry::Instance().DeleteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultDownloadPref");
        if (c.location) Default("DefaultMakeLocation", c.location);
        if (c.pref) Default("DefaultDownloadPref", c.pref);
        CSpO2SimulationConfig templ;
        templ.SetOximeterMake(6);
        templ.SetUploadRCurve(true);
        ConfigPtr clone = CloneOf(templ);
        EXPECT_EQ(clone->OximeterMake(), c.make) << (c.location ? c.location : "(none)");
        EXPECT_EQ(clone->UploadRCurve(), c.upload) << (c.pref ? c.pref : "(none)");
    }
}

TEST_F(Spo2ConfigCopyTest, CloneOfACloneReadsNothing) {
    PutMake("Acme", "acme.txt");
    Default("DefaultMakeLocation", "12");
    Default("DefaultCustomMakeName", "Acme");
    CSpO2SimulationConfig templ;
    ConfigPtr test = CloneOf(templ);
    test->SetOximeterMake(5);
    test->SetTlc(4001);
    test->SetSimulationType(2);
    // Changed defaults and make folder reach neither the test nor its copies.
    Default("DefaultMakeLocation", "2");
    PutMake("Beta", "beta.txt");
    ConfigPtr copy = CloneOf(*test);
    ConfigPtr copyOfCopy = CloneOf(*copy);
    for (const ConfigPtr& c : {test, copy, copyOfCopy}) {
        EXPECT_EQ(c->OximeterMake(), 5);
        EXPECT_EQ(c->GetTlc(), 4001);
        EXPECT_EQ(c->SimulationType(), 2);
        EXPECT_EQ(c->Makes()->Count(), 1);
        EXPECT_TRUE(c->pReadFromRegStatus());
    }
    // Only the template reads them again.
    ConfigPtr fresh = CloneOf(templ);
    EXPECT_EQ(fresh->OximeterMake(), 2);
    EXPECT_EQ(fresh->Makes()->Count(), 2);
}

TEST_F(Spo2ConfigCopyTest, DialogNeedsAnOwnerTest) {
    int made = 0;
    auto previous = plugin::SetConfigDialogMaker([&](const host::TestElementPtr& owner) {
        ++made;
        EXPECT_TRUE(owner);
        return std::shared_ptr<host::IDialog>();
    });
    CSpO2SimulationConfig c;
    EXPECT_FALSE(c.CreateDialog());
    EXPECT_EQ(made, 0);
    plugin::SetConfigDialogMaker(previous);
}

}  // namespace
