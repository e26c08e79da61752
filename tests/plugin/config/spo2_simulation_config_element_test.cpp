#include <gtest/gtest.h>

#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"
#include "tests/plugin/config/spo2_config_fixture.h"

namespace {

using plugin::CSpO2SimulationConfig;
using ConfigPtr = std::shared_ptr<CSpO2SimulationConfig>;

class Spo2ConfigElementTest : public plugin_test::Spo2ConfigTest {
protected:
    // Loads "PlugInData" holding the given inner XML into the configuration.
    static void LoadData(CSpO2SimulationConfig& config, const std::string& inner) {
        LoadXml(config, "<PlugInData>" + inner + "</PlugInData>");
    }
    static std::string Setup(const std::string& inner) { return "<PluginSetup>" + inner + "</PluginSetup>"; }
    // A carried make element of a full curve.
    static std::string Carried(const std::string& name, const std::string& file) {
        std::string xml = "<OximeterMake><OximeterMakeName>" + name + "</OximeterMakeName><File>" + file +
                          "</File><RDC>3500</RDC><IRDC>3500</IRDC><IRAC>1000</IRAC><LightLevel>1</LightLevel>"
                          "<TLC>3500</TLC>";
        for (int spo2 = 50; spo2 <= 100; ++spo2)
            xml += "<RCurveElement SpO2Value=\"" + std::to_string(spo2) + "\" RValue=\"" +
                   plat::NumberToText((100 - spo2) / 20.0) + "\"/>";
        return xml + "</OximeterMake>";
    }
};

TEST_F(Spo2ConfigElementTest, BuiltInMakeSavesIndexPresetAndItsTlc) {
    CSpO2SimulationConfig c;
    c.SetOximeterMake(3);
    plugin::CPresets().SetSpO2ConfigById(5, c);
    EXPECT_EQ(SaveXml(c),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<PlugInData><PluginSetup><OximeterIndex>3</OximeterIndex><SimulationType>1</SimulationType>"
              "<UploadRCurve>0</UploadRCurve><SimulationID>5</SimulationID><TLC>3030</TLC></PluginSetup>"
              "<TestGuideSettings><EnableBtn Skip=\"True\" NA=\"True\"/></TestGuideSettings></PlugInData>\n");

    c.SetTlc(2222);
    c.SetSimulationType(2);
    c.SetEnableBtnFlags(1);
    auto back = std::make_shared<CSpO2SimulationConfig>();
    back->SetOximeterMake(7);
    RoundTrip(c, back);
    EXPECT_EQ(back->OximeterMake(), 3);
    EXPECT_EQ(back->GetTlc(), 2222);
    EXPECT_EQ(back->SimulationType(), 2);
    EXPECT_EQ(back->SimulationID(), 5);
    EXPECT_EQ(back->PresetName(), "Tach");
    EXPECT_EQ(back->EnableBtnFlags(), 1);
    EXPECT_FALSE(back->CurrentMake());
    EXPECT_TRUE(back->pReadFromRegStatus());
}

TEST_F(Spo2ConfigElementTest, EveryPresetComesBackWithTheTablesValues) {
    plugin::CPresets presets;
    for (int32_t id = 0; id <= 24; ++id) {
        CSpO2SimulationConfig c;
        c.SetCustomSpO2(61);
        c.SetCustomBPM(62);
        c.SetCustomPulseAmplitude("0,7");
        presets.SetSpO2ConfigById(id, c);
        c.SetPresetName(presets.NameOfId(id));
        // Loaded into a configuration holding other values, as the host's fresh clone does.
        auto back = std::make_shared<CSpO2SimulationConfig>();
        back->SetSpO2(50);
        back->SetBPM(250);
        back->SetPulseAmplitude("9");
        RoundTrip(c, back);
        EXPECT_EQ(back->SimulationID(), id);
        EXPECT_EQ(back->PresetName(), c.PresetName()) << id;
        EXPECT_EQ(back->SpO2(), c.SpO2()) << id;
        EXPECT_EQ(back->BPM(), c.BPM()) << id;
        EXPECT_EQ(back->PulseAmplitude(), plat::NumberToText(makes::ValText(c.PulseAmplitude()))) << id;
        if (id == 24) {
            EXPECT_EQ(back->CustomSpO2(), 61);
            EXPECT_EQ(back->CustomBPM(), 62);
            EXPECT_EQ(back->CustomPulseAmplitude(), "0.7");
        } else {
            EXPECT_EQ(back->CustomSpO2(), 98) << id;
        }
    }
}

TEST_F(Spo2ConfigElementTest, OnlyTheCustomPresetWritesItsValues) {
    CSpO2SimulationConfig c;
    plugin::CPresets().SetSpO2ConfigById(3, c);
    std::string xml = SaveXml(c);
    for (const char* absent : {"OximeterMake>", "BPMSettings", "SpO2Settings", "PulseAmplitudeSettings"})
        EXPECT_EQ(xml.find(absent), std::string::npos) << absent;
    c.SetSimulationID(24);
    c.SetBPM(33);
    c.SetSpO2(66);
    c.SetPulseAmplitude("0,65");
    xml = SaveXml(c);
    EXPECT_NE(xml.find("<SimulationID>24</SimulationID><BPMSettings>33</BPMSettings><SpO2Settings>66</SpO2Settings>"
                       "<PulseAmplitudeSettings>0,65</PulseAmplitudeSettings><TLC>1100</TLC>"),
              std::string::npos)
        << xml;
}

TEST_F(Spo2ConfigElementTest, UploadFlagAndIndexReadAsRoundedNumbers) {
    struct Case {
        const char* text;
        bool upload;
    };
    for (const Case& c : {Case{"1", true}, Case{"1,0", true}, Case{"0", false}, Case{"2", false}, Case{"", false},
                          Case{"yes", true}, Case{"1x", true}}) {
        CSpO2SimulationConfig config;
        config.SetUploadRCurve(true);  // kept when the text is no number
        LoadData(config, Setup(std::string("<UploadRCurve>") + c.text + "</UploadRCurve>"));
        EXPECT_EQ(config.UploadRCurve(), c.upload) << c.text;
    }
    PutMake("Acme", "acme.txt");
    for (auto [text, index] : {std::pair{"12.5", 12}, std::pair{"13.5", 14}, std::pair{"10,4", 10}}) {
        CSpO2SimulationConfig config;
        LoadData(config, Setup(Carried("Acme", "acme.txt") + "<OximeterIndex>" + text + "</OximeterIndex>"));
        EXPECT_EQ(config.OximeterMake(), index) << text;
        ASSERT_TRUE(config.CurrentMake()) << text;
    }
}

TEST_F(Spo2ConfigElementTest, ButtonFlags) {
    CSpO2SimulationConfig c;
    LoadData(c, "<TestGuideSettings><EnableBtn Skip=\"False\" NA=\"True\"/></TestGuideSettings>");
    EXPECT_EQ(c.EnableBtnFlags(), 2);
    LoadData(c, "<PluginSetup/>");
    EXPECT_EQ(c.EnableBtnFlags(), 2);  // no settings element: kept
    LoadData(c, "<TestGuideSettings/>");
    EXPECT_EQ(c.EnableBtnFlags(), 0);
    LoadData(c, "<TestGuideSettings><EnableBtn Skip=\"true\" NA=\"TRUE\"/></TestGuideSettings>");
    EXPECT_EQ(c.EnableBtnFlags(), 0);  // exact "True" only
    // Two elements combine; the same flag twice is still that flag.
    LoadData(c, "<TestGuideSettings><EnableBtn Skip=\"True\" NA=\"False\"/><EnableBtn Skip=\"True\"/>"
                "</TestGuideSettings>");
    EXPECT_EQ(c.EnableBtnFlags(), 1);
    LoadData(c, "<TestGuideSettings><EnableBtn Skip=\"True\"/><EnableBtn NA=\"True\"/></TestGuideSettings>");
    EXPECT_EQ(c.EnableBtnFlags(), 3);
}

TEST_F(Spo2ConfigElementTest, OutOfRangeValuesKeepOrClamp) {
    CSpO2SimulationConfig c;
    c.SetSimulationType(2);
    plugin::CPresets().SetSpO2ConfigById(3, c);
    c.SetOximeterMake(4);
    LoadData(c, Setup("<OximeterIndex>4</OximeterIndex><SimulationType>3</SimulationType>"
                      "<SimulationID>25</SimulationID><TLC>5000</TLC>"));
    EXPECT_EQ(c.SimulationType(), 2);
    EXPECT_EQ(c.SimulationID(), 3);
    EXPECT_EQ(c.SpO2(), 70);
    EXPECT_EQ(c.GetTlc(), 4095);
    LoadData(c, Setup("<SimulationType>0</SimulationType><SimulationID>-1</SimulationID><TLC>-7</TLC>"));
    EXPECT_EQ(c.SimulationType(), 2);
    EXPECT_EQ(c.SimulationID(), 3);
    EXPECT_EQ(c.GetTlc(), 0);
    LoadData(c, Setup("<SimulationType>1</SimulationType><SimulationID>abc</SimulationID><TLC>1e20</TLC>"
                      "<BPMSettings>9999999999</BPMSettings><PulseAmplitudeSettings>x</PulseAmplitudeSettings>"));
    EXPECT_EQ(c.SimulationType(), 1);
    EXPECT_EQ(c.SimulationID(), 3);
    EXPECT_EQ(c.GetTlc(), 0);
    EXPECT_EQ(c.PulseAmplitude(), "2");
    // Names are exact: other letter case is not recognised.
    LoadData(c, "<pluginSetup><OximeterIndex>5</OximeterIndex></pluginSetup>" + Setup("<oximeterIndex>6</oximeterIndex>"));
    EXPECT_EQ(c.OximeterMake(), 4);
}

TEST_F(Spo2ConfigElementTest, CustomIndexWithoutCarriedMakeFallsBack) {
    PutMake("Acme", "acme.txt");
    auto c = std::make_shared<CSpO2SimulationConfig>();
    LoadData(*c, Setup(Carried("Acme", "acme.txt") + "<OximeterIndex>12</OximeterIndex><UploadRCurve>1</UploadRCurve>"));
    ASSERT_TRUE(c->CurrentMake());
    EXPECT_TRUE(c->UploadRCurve());
    LoadData(*c, Setup("<OximeterIndex>12</OximeterIndex><UploadRCurve>1</UploadRCurve>"));
    EXPECT_EQ(c->OximeterMake(), 0);
    EXPECT_EQ(c->OximeterMakeName(), "BCI");
    EXPECT_FALSE(c->UploadRCurve());
    EXPECT_FALSE(c->CurrentMake());
    LoadData(*c, Setup("<OximeterIndex>-2</OximeterIndex>"));
    EXPECT_EQ(c->OximeterMake(), 0);
}

TEST_F(Spo2ConfigElementTest, CarriedMakeUnderBuiltInIndexIsIgnored) {
    auto before = Snapshot();
    CSpO2SimulationConfig c;
    c.SetCurrentMake(makes_test::FullMake("Stale"));
    LoadData(c, Setup(Carried("Newmake", "newmake.txt") + "<OximeterIndex>6</OximeterIndex><TLC>3333</TLC>"));
    EXPECT_EQ(c.OximeterMake(), 6);
    EXPECT_FALSE(c.CurrentMake());
    EXPECT_EQ(c.GetTlc(), 3333);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(dialog_->shown.empty());
}

TEST_F(Spo2ConfigElementTest, TlcAppliesToTheMakeSelectedWhereItStands) {
    CSpO2SimulationConfig c;
    LoadData(c, Setup("<TLC>2000</TLC><OximeterIndex>3</OximeterIndex>"));
    EXPECT_EQ(c.GetTlc(), 3030) << "the final make keeps its own";
    c.SetOximeterMake(0);
    EXPECT_EQ(c.GetTlc(), 2000);

    PutMake("Acme", "acme.txt");
    CSpO2SimulationConfig custom;
    LoadData(custom, Setup("<TLC>2100</TLC>" + Carried("Acme", "acme.txt") + "<OximeterIndex>12</OximeterIndex>"));
    ASSERT_TRUE(custom.CurrentMake());
    EXPECT_EQ(custom.GetTlc(), 3500);
    LoadData(custom, Setup(Carried("Acme", "acme.txt") + "<OximeterIndex>12</OximeterIndex><TLC>2200</TLC>"));
    ASSERT_TRUE(custom.CurrentMake());
    EXPECT_EQ(custom.GetTlc(), 2200);
    custom.SetOximeterMake(0);
    EXPECT_EQ(custom.GetTlc(), 2100);

    // Hand-edited: the custom index, then a TLC, then the make. The TLC came
    // before the make was selected, so the make keeps its own.
    CSpO2SimulationConfig edited;
    LoadData(edited, Setup("<OximeterIndex>12</OximeterIndex><TLC>2300</TLC>" + Carried("Acme", "acme.txt")));
    ASSERT_TRUE(edited.CurrentMake());
    EXPECT_EQ(edited.GetTlc(), 3500);
}

TEST_F(Spo2ConfigElementTest, CustomMakeSavesTheMakeInsteadOfTheTlc) {
    auto acme = PutMake("Acme", "acme.txt");
    CSpO2SimulationConfig c;
    LoadData(c, Setup(Carried("Acme", "acme.txt") + "<OximeterIndex>11</OximeterIndex>"));
    ASSERT_TRUE(c.CurrentMake());
    c.SetTlc(2500);
    std::string xml = SaveXml(c);
    EXPECT_NE(xml.find("<PluginSetup><OximeterMake><OximeterMakeName>Acme</OximeterMakeName><File>acme.txt</File>"
                       "<RDC>3500</RDC><IRDC>3500</IRDC><IRAC>1000</IRAC><LightLevel>1</LightLevel><TLC>2500</TLC>"
                       "<RCurveElement SpO2Value=\"50\" RValue=\"2.5\"/>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("</OximeterMake><OximeterIndex>11</OximeterIndex>"), std::string::npos);
    EXPECT_EQ(xml.find("</SimulationID><TLC>"), std::string::npos);
    // A custom index without its make, and a make under a built-in index,
    // write the TLC and no make.
    c.SetOximeterMake(3);
    xml = SaveXml(c);
    EXPECT_EQ(xml.find("<OximeterMake>"), std::string::npos);
    EXPECT_NE(xml.find("<TLC>3030</TLC>"), std::string::npos);
    c.SetOximeterMake(12);
    c.SetCurrentMake(nullptr);
    xml = SaveXml(c);
    EXPECT_EQ(xml.find("<OximeterMake>"), std::string::npos);
    EXPECT_NE(xml.find("<TLC>1100</TLC>"), std::string::npos);
}

TEST_F(Spo2ConfigElementTest, LoadedDataIsNotReplacedByDefaultsWhenCloned) {
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultMakeLocation", "2");
    CSpO2SimulationConfig c;
    LoadData(c, Setup("<OximeterIndex>5</OximeterIndex>"));
    auto clone = std::dynamic_pointer_cast<CSpO2SimulationConfig>(c.Clone());
    EXPECT_EQ(c.OximeterMake(), 5);
    EXPECT_EQ(clone->OximeterMake(), 5);
}

}  // namespace
