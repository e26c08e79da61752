#include "plugin/shell/pelmo2_plugin.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "host/registry_key.h"
#include "plugin/shell/host_errors.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/test_group.h"
#include "tests/plugin/shell/shell_fixture.h"

namespace {

using shell_test::ErrorOf;

using plugin::CPelmo2Plugin;


class Pelmo2PluginTest : public shell_test::ShellTest {
protected:
    // Points the plug-in at a template of that content.
    void UseTemplate(const std::string& xml) { UseTemplatePath(dir_.Write("template.mpc", xml)); }
    void UseTemplatePath(const std::string& path) {
        host::CRegistryKey key;
        key.Create(host::HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2");
        key.WriteValue("Configuration", path);
    }
    static std::string Element(const std::string& className, const std::string& id, const std::string& inner = "") {
        return "<TestElement ClassName=\"" + className + "\" ID=\"" + id + "\">" + inner + "</TestElement>";
    }
    static std::string Group(const std::string& inner, const std::string& id = "1") {
        return Element("OrvikPelmo2.CTestGroup", id, inner);
    }
    static std::string Test(const std::string& id, const std::string& inner = "") {
        return Element("OrvikPelmo2.CTestData", id, inner);
    }
    static std::string Template(const std::string& inner) { return "<TemplateData>" + inner + "</TemplateData>"; }

    void ExpectTemplateError(const std::string& xml, host::ErrorNumber number = plugin::errors::Template) {
        SCOPED_TRACE(xml);
        UseTemplate(xml);
        CPelmo2Plugin plugIn;
        auto error = ErrorOf([&] { plugIn.Initialize(nullptr); });
        EXPECT_EQ(error.Number(), number);
        EXPECT_EQ(error.Severity(), 3);
        EXPECT_EQ(error.Source(), "Pelmo2");
        EXPECT_FALSE(plugIn.Initialized());
    }
};

// ---- before and after Initialize --------------------------------------------------------

TEST_F(Pelmo2PluginTest, BeforeInitializeTheTreeIsRefusedButConstantsAnswer) {
    CPelmo2Plugin plugIn;
    auto tests = ErrorOf([&] { plugIn.Tests(); });
    EXPECT_EQ(tests.Number(), plugin::errors::NotInitialised);
    EXPECT_EQ(tests.Severity(), 4);
    EXPECT_EQ(tests.Source(), "Pelmo2");
    EXPECT_EQ(ErrorOf([&] { plugIn.CreateTest(100); }).Number(), plugin::errors::NotInitialised);
    EXPECT_EQ(plugIn.Setup(), nullptr);
    EXPECT_EQ(plugIn.ID(), "Pelmo2");
    EXPECT_EQ(plugIn.Name(), "Pelmo Q5 SpO2 Simulator");
    EXPECT_EQ(plugIn.Version(), "1.0.0");
    EXPECT_EQ(plugIn.Flags(), 0);
    EXPECT_EQ(plugIn.IPlugIn_Flags(), 0);
    EXPECT_EQ(plugIn.ControlPanel(), nullptr);
    EXPECT_EQ(plugIn.PlugInMenu(), nullptr);
    EXPECT_EQ(plugIn.CreateDUTData(), nullptr);
}

TEST_F(Pelmo2PluginTest, TheShippedTemplateGivesTheGroupWithItsFourTests) {
    auto plugIn = std::make_shared<CPelmo2Plugin>();
    plugIn->Initialize(nullptr);
    ASSERT_TRUE(plugIn->Initialized());
    ASSERT_TRUE(std::dynamic_pointer_cast<plugin::CPluginSetup>(plugIn->Setup()));
    auto root = plugIn->Tests();
    ASSERT_EQ(root->Count(), 1);
    auto group = std::dynamic_pointer_cast<host::ITestContainer>(root->Item(1));
    ASSERT_TRUE(group);
    EXPECT_EQ(root->Item(1)->Info()->Name(), "Pelmo Q5 SpO2 Simulator");
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {100, "SpO2 Simulation Test"}, {200, "LED Test"}, {300, "Photodiode Test"}, {400, "Resistance Test"}};
    ASSERT_EQ(group->Count(), 4);
    for (int32_t i = 1; i <= 4; ++i) {
        auto test = group->Item(i);
        EXPECT_EQ(test->TestID(), expected[i - 1].first);
        EXPECT_EQ(test->ID(), expected[i - 1].first);
        EXPECT_EQ(test->Info()->Name(), expected[i - 1].second);
        EXPECT_FALSE(test->Info()->Description().empty());
        EXPECT_EQ(test->Parent(), root->Item(1));
        auto limits = std::dynamic_pointer_cast<shell_test::FakeLimits>(test->Limits());
        ASSERT_TRUE(limits);
        EXPECT_EQ(limits->standards->Count(), 1) << "default limits of " << expected[i - 1].first;
    }
    auto spo2 = std::dynamic_pointer_cast<shell_test::FakeConfig>(group->Item(1)->Configuration());
    ASSERT_TRUE(spo2);
    EXPECT_EQ(spo2->setup, plugIn->Setup());
}

TEST_F(Pelmo2PluginTest, CreateTestGivesIndependentClonesAndRefusesUnknownIds) {
    CPelmo2Plugin plugIn;
    plugIn.Initialize(nullptr);
    auto first = plugIn.CreateTest(200);
    auto second = plugIn.CreateTest(200);
    ASSERT_TRUE(first);
    EXPECT_NE(first, second);
    first->Info()->SetName("Changed");
    EXPECT_EQ(plugIn.Tests()->FindElement(200)->Info()->Name(), "LED Test");
    auto group = plugIn.CreateTest(1);
    EXPECT_EQ(std::dynamic_pointer_cast<host::ITestContainer>(group)->Count(), 4);
    auto error = ErrorOf([&] { plugIn.CreateTest(500); });
    EXPECT_EQ(error.Number(), plugin::errors::UnknownTestId);
    EXPECT_EQ(error.Severity(), 1);
}

// ---- icons ----------------------------------------------------------------------------------

TEST_F(Pelmo2PluginTest, IconsFollowTheTableAndAreDistinctPictures) {
    CPelmo2Plugin plugIn;
    EXPECT_EQ(plugIn.Icon(0, 0, {})->ResourceName(), "PELMO2(16x16)");
    EXPECT_EQ(plugIn.Icon(1, 1, {})->ResourceName(), "PROBE(32x16)");
    EXPECT_EQ(plugIn.Icon(100, 2, {})->ResourceName(), "SPO2(32x32)");
    EXPECT_EQ(plugIn.Icon(200, 0, {})->ResourceName(), "LED(16x16x1)");
    EXPECT_EQ(plugIn.Icon(300, 1, {})->ResourceName(), "PHTO(32x16x1)");
    EXPECT_EQ(plugIn.Icon(400, 2, {})->ResourceName(), "RESISTANCE(32x32x1)");
    EXPECT_EQ(plugIn.Icon(100, 7, {})->ResourceName(), "PELMO2(16x16)");
    EXPECT_EQ(plugIn.Icon(500, 7, {})->ResourceName(), "PELMO2(16x16)");  // any other size, whatever the id
    EXPECT_EQ(plugIn.Icon(500, 0, {}), nullptr);
    auto wide = plugIn.Icon(100, 1, {});
    EXPECT_EQ(wide->Width(), 32);
    EXPECT_EQ(wide->Height(), 16);
    EXPECT_EQ(wide->Pixels().size(), 32u * 16u);
    std::set<std::vector<uint32_t>> seen;
    for (int32_t id : {0, 1, 100, 200, 300, 400})
        for (int32_t size : {0, 1, 2}) seen.insert(plugIn.Icon(id, size, {})->Pixels());
    EXPECT_EQ(seen.size(), 18u);
}

// ---- template errors -----------------------------------------------------------------------

TEST_F(Pelmo2PluginTest, FileFaultsHaveTheirOwnNumbers) {
    UseTemplatePath(dir_.File("missing.mpc"));
    CPelmo2Plugin plugIn;
    auto missing = ErrorOf([&] { plugIn.Initialize(nullptr); });
    EXPECT_EQ(missing.Number(), plugin::errors::TemplateFileNotFound);
    EXPECT_EQ(missing.Severity(), 3);
    UseTemplatePath(dir_.File("no-folder/t.mpc"));
    EXPECT_EQ(ErrorOf([&] { plugIn.Initialize(nullptr); }).Number(), plugin::errors::TemplateFile);
    UseTemplatePath(dir_.Path());
    EXPECT_EQ(ErrorOf([&] { plugIn.Initialize(nullptr); }).Number(), plugin::errors::TemplateFile);
    const std::string file = dir_.Write("plain.txt", "x");
    UseTemplatePath(file + "/t.mpc");
    EXPECT_EQ(ErrorOf([&] { plugIn.Initialize(nullptr); }).Number(), plugin::errors::TemplateFile);
    EXPECT_FALSE(plugIn.Initialized());
    EXPECT_TRUE(plugIn.Setup());  // the first settings object stays
}

TEST_F(Pelmo2PluginTest, StructuralFaultsFailTheWholeLoad) {
    ExpectTemplateError("<Other/>");
    ExpectTemplateError("<TemplateData/>");
    ExpectTemplateError("<TemplateData>\r\n\t <!-- none yet -->\n</TemplateData>");
    ExpectTemplateError("not xml at all");
    ExpectTemplateError(Template(Group(Test("100") + Element("", "200"))));
    ExpectTemplateError(Template(Group(Test(""))));
    ExpectTemplateError(Template(Group(Element("OrvikPelmo2.CMeasurement", "200"))));
    ExpectTemplateError(Template(Group(Element("Foreign.Thing", "200"))));
    ExpectTemplateError(Template(Group(Test("abc"))));
    ExpectTemplateError(Template(Group(Test("1E20"))));
    ExpectTemplateError(Template(Test("1")));
    ExpectTemplateError(Template(Group("", "100")));
    ExpectTemplateError(Template(Test("1,0")));  // "1,0" is the group's ID
    ExpectTemplateError(Template(Group(Test("200", "<ExpectedResult><Bogus/></ExpectedResult>"))));
}

TEST_F(Pelmo2PluginTest, NestingDeeperThan64FailsAndUpTo64Loads) {
    auto nested = [](int32_t depth) {
        std::string xml = Test("200");
        for (int32_t i = 1; i < depth; ++i) xml = Group(xml);
        return Template(xml);
    };
    ExpectTemplateError(nested(65));
    UseTemplate(nested(64));
    CPelmo2Plugin plugIn;
    plugIn.Initialize(nullptr);
    EXPECT_TRUE(plugIn.Initialized());
}

TEST_F(Pelmo2PluginTest, AFailedSecondInitializeKeepsTreeSettingsAndFlag) {
    CPelmo2Plugin plugIn;
    plugIn.Initialize(nullptr);
    auto tree = plugIn.Tests();
    auto settings = plugIn.Setup();
    UseTemplate(Template(Group(Test("xyz"))));
    EXPECT_THROW(plugIn.Initialize(nullptr), host::HostError);
    EXPECT_TRUE(plugIn.Initialized());
    EXPECT_EQ(plugIn.Tests(), tree);
    EXPECT_EQ(plugIn.Setup(), settings);

    UseTemplate(Template(Group(Test("300"))));
    plugIn.Initialize(nullptr);
    EXPECT_NE(plugIn.Tests(), tree);
    EXPECT_NE(plugIn.Setup(), settings);
}

// ---- what the loader reads and skips ---------------------------------------------------------

TEST_F(Pelmo2PluginTest, TextsComeOnlyFromLidAndOddNodesAreSkipped) {
    UseTemplate("<Top><!-- note --><TemplateData>text<Other/>" +
                Group(Test("1,0E2",
                           "<Name>Plain text</Name><Description LID=\"Described\"/><Type LID=\"T\"/>"
                           "<Parameter LID=\"P\"/><Unknown/>" +
                               Test("300")) +
                      Test("200.4", "<Name LID=\"20007::LED Test\"/>") + "<Name LID=\"Group name\"/>",
                      "1.0") +
                "</TemplateData></Top>");
    CPelmo2Plugin plugIn;
    plugIn.Initialize(nullptr);
    auto root = plugIn.Tests();
    ASSERT_EQ(root->Count(), 1);
    auto group = std::dynamic_pointer_cast<host::ITestContainer>(root->Item(1));
    ASSERT_EQ(group->Count(), 2);
    auto spo2 = group->Item(1);
    EXPECT_EQ(spo2->TestID(), 100);
    EXPECT_EQ(spo2->Info()->Name(), "");  // text content is never read
    EXPECT_EQ(spo2->Info()->Description(), "Described");
    EXPECT_EQ(spo2->Info()->Type(), "T");
    EXPECT_EQ(spo2->Info()->Parameter(), "P");
    EXPECT_EQ(plugIn.Tests()->FindElement(300), nullptr);  // a test holds no tests
    EXPECT_EQ(group->Item(2)->TestID(), 200);
    EXPECT_EQ(group->Item(2)->Info()->Name(), "LED Test");
    EXPECT_EQ(root->Item(1)->Info()->Name(), "Group name");  // a child after the tests counts too
}

TEST_F(Pelmo2PluginTest, ATemplateWithoutElementsGivesAnEmptyRoot) {
    UseTemplate(Template("<!-- nothing yet --><Other/>"));
    CPelmo2Plugin plugIn;
    plugIn.Initialize(nullptr);
    EXPECT_TRUE(plugIn.Initialized());
    EXPECT_EQ(plugIn.Tests()->Count(), 0);
}

// ---- elements through the host's tree ---------------------------------------------------------

TEST_F(Pelmo2PluginTest, AChangedGroupSurvivesSaveLoadSaveThroughTheHostTree) {
    auto plugIn = std::make_shared<CPelmo2Plugin>();
    plugIn->Initialize(nullptr);
    host::RegisterPlugIn(plugIn);
    auto group = plugIn->CreateTest(1);
    auto container = std::dynamic_pointer_cast<host::ITestContainer>(group);
    auto led = container->Item(2);
    led->SetID(42);
    led->Info()->SetName("My LED");
    led->Filter()->SetSelected(false);
    auto item = std::dynamic_pointer_cast<shell_test::FakeLimits>(led->Limits())->standards->Item(1)->LimitItems()->Item(1);
    item->SetBoundValue(0, 2.75f);
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<ResultItem Status=\"1\" MTIID=\"2\"><AllMeasurements/></ResultItem>");
    led->Load(*doc->DocumentElement(), nullptr);

    const auto trip = shell_test::SaveLoadSave(group);
    EXPECT_EQ(trip.first, trip.second);
    const auto& loaded = trip.loaded;
    auto loadedLed = std::dynamic_pointer_cast<host::ITestContainer>(loaded)->FindElement(42);
    ASSERT_TRUE(loadedLed);
    EXPECT_EQ(loadedLed->Info()->Name(), "My LED");
    EXPECT_FALSE(loadedLed->Filter()->Selected());
    EXPECT_EQ(loadedLed->Result()->Status(), 1);
    EXPECT_EQ(loadedLed->Parent(), loaded);
    EXPECT_NE(trip.second.find("Value=\"2.75\""), std::string::npos);
    host::UnregisterPlugIn("Pelmo2");
}

}  // namespace
