// The configuration inside the host's test element: saved, copied and loaded
// with it, and hostile saved data.

#include <gtest/gtest.h>

#include "plugin/config/config_dialog_maker.h"
#include "plugin/config/spo2_simulation_config.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/plugin/results/fake_element.h"

namespace {

using plugin::CSpO2SimulationConfig;
using ConfigPtr = std::shared_ptr<CSpO2SimulationConfig>;
using Element = results_test::FakeElement;

class Spo2ConfigTreeTest : public plugin_test::Spo2ConfigTest {
protected:
    // A test element as one made from the template: a clone of the template's configuration.
    std::shared_ptr<Element> NewTest() {
        auto element = std::make_shared<Element>(100);
        auto config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(template_->Clone());
        config->SetParentTest(element);
        element->base->SetConfiguration(config);
        return element;
    }
    static ConfigPtr ConfigOf(const host::ITestElement& element) {
        return std::dynamic_pointer_cast<CSpO2SimulationConfig>(element.Configuration());
    }
    static std::string SaveElement(host::ITestElement& element) {
        auto doc = host::XmlFactory().NewDocument();
        doc->AppendChild(element.Save(*doc, {}));
        return doc->Xml();
    }
    static void LoadElement(host::ITestElement& element, const std::string& xml) {
        auto doc = host::XmlFactory().NewDocument();
        doc->LoadXml(xml);
        element.Load(*doc->DocumentElement(), nullptr);
    }

    ConfigPtr template_ = std::make_shared<CSpO2SimulationConfig>();
};

TEST_F(Spo2ConfigTreeTest, BuiltInAndCustomMakesTravelWithTheirElements) {
    PutMake("Acme", "acme.txt");
    auto builtIn = NewTest();
    ConfigOf(*builtIn)->SetOximeterMake(8);
    ConfigOf(*builtIn)->SetTlc(3600);
    auto custom = NewTest();
    {
        auto c = ConfigOf(*custom);
        c->SetOximeterMake(10);
        c->SetOximeterMakeName("acme");
        c->CopyCloneData(c.get());  // selects the library's make
        ASSERT_TRUE(c->CurrentMake());
        c->SetTlc(3700);
        c->SetUploadRCurve(true);
    }
    const std::string savedBuiltIn = SaveElement(*builtIn);
    const std::string savedCustom = SaveElement(*custom);

    // Another computer: another make folder, empty.
    const std::string otherFolder = root_ + "/other-makes/";
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", otherFolder);
    auto builtInBack = NewTest();
    auto customBack = NewTest();
    LoadElement(*builtInBack, savedBuiltIn);
    LoadElement(*customBack, savedCustom);
    EXPECT_EQ(ConfigOf(*builtInBack)->OximeterMake(), 8);
    EXPECT_EQ(ConfigOf(*builtInBack)->GetTlc(), 3600);
    auto c = ConfigOf(*customBack);
    ASSERT_TRUE(c->CurrentMake());
    EXPECT_EQ(c->OximeterMakeName(), "Acme");
    EXPECT_EQ(c->GetTlc(), 3700);
    EXPECT_TRUE(c->UploadRCurve());
    ASSERT_TRUE(makes::ReadMakesFile(otherFolder + "acme.txt"));
    EXPECT_EQ(makes::ReadMakesFile(otherFolder + "acme.txt")->TLC(), 3700);
    EXPECT_EQ(SaveElement(*builtInBack), savedBuiltIn);
    EXPECT_EQ(SaveElement(*customBack), savedCustom);
}

TEST_F(Spo2ConfigTreeTest, CopiesOfElementsKeepTheirSettings) {
    auto test = NewTest();
    ConfigOf(*test)->SetOximeterMake(2);
    ConfigOf(*test)->SetTlc(1000);
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultMakeLocation", "5");
    auto copy = test->base->Copy();
    auto copyOfCopy = copy->Copy();
    for (const auto& base : {copy, copyOfCopy}) {
        auto c = std::dynamic_pointer_cast<CSpO2SimulationConfig>(base->Configuration());
        ASSERT_TRUE(c);
        EXPECT_NE(c.get(), ConfigOf(*test).get());
        EXPECT_EQ(c->OximeterMake(), 2);
        EXPECT_EQ(c->GetTlc(), 1000);
    }
    EXPECT_EQ(ConfigOf(*NewTest())->OximeterMake(), 5);
}

TEST_F(Spo2ConfigTreeTest, DialogIsMadeForTheOwnerTest) {
    auto test = NewTest();
    host::TestElementPtr seen;
    auto previous = plugin::SetConfigDialogMaker([&](const host::TestElementPtr& owner) {
        seen = owner;
        return std::shared_ptr<host::IDialog>();
    });
    ConfigOf(*test)->CreateDialog();
    EXPECT_EQ(seen.get(), static_cast<host::ITestElement*>(test.get()));
    // A copy has no owner until its element sets one.
    seen.reset();
    auto copy = std::dynamic_pointer_cast<CSpO2SimulationConfig>(ConfigOf(*test)->Clone());
    copy->CreateDialog();
    EXPECT_FALSE(seen);
    plugin::SetConfigDialogMaker(previous);
}

TEST_F(Spo2ConfigTreeTest, HostileSavedDataLoadsCleanly) {
    PutMake("Acme", "acme.txt");
    auto before = Snapshot();
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "<OximeterMake>";
    for (int i = 0; i < 200; ++i) deep += "</OximeterMake>";
    std::string manyPoints = "<OximeterMake><OximeterMakeName>Acme</OximeterMakeName><File>acme.txt</File>";
    for (int i = 0; i < 5000; ++i) manyPoints += "<RCurveElement SpO2Value=\"50\" RValue=\"1e308\"/>";
    manyPoints += "</OximeterMake>";
    for (const std::string& inner :
         {std::string("text<!--c--><?pi x?>"), "<PluginSetup>" + deep + "<OximeterIndex>11</OximeterIndex></PluginSetup>",
          "<PluginSetup>" + manyPoints + "<OximeterIndex>12</OximeterIndex></PluginSetup>",
          std::string("<PluginSetup><OximeterIndex>2147483648</OximeterIndex><TLC>nan</TLC><SimulationID>&#x9;7</SimulationID>"
                      "<PulseAmplitudeSettings>1e999</PulseAmplitudeSettings><SpO2Settings>-1e9</SpO2Settings>"
                      "</PluginSetup><TestGuideSettings><EnableBtn/><Other/></TestGuideSettings>"),
          std::string("<PluginSetup><OximeterMake/><OximeterMake><RCurveElement/></OximeterMake>"
                      "<OximeterIndex>15</OximeterIndex></PluginSetup>")}) {
        SCOPED_TRACE(inner.substr(0, 60));
        auto c = std::make_shared<CSpO2SimulationConfig>();
        EXPECT_NO_THROW(LoadXml(*c, "<PlugInData>" + inner + "</PlugInData>"));
        EXPECT_LT(c->OximeterMake(), 10);
        EXPECT_GE(c->OximeterMake(), 0);
        EXPECT_GE(c->GetTlc(), 0);
        EXPECT_LE(c->GetTlc(), 4095);
        EXPECT_NO_THROW(SaveXml(*c));
    }
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
