// The plug-in's own elements from its template, run and saved on one computer
// and loaded on another: configuration, limits, results and report rows come
// back the same.

#include <gtest/gtest.h>

#include <cstdlib>

#include "host/report.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/test_group.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/plugin/results/template_plug_in_test.h"

namespace {

class PluginSequenceTest : public results_test::TemplatePlugInTest {
protected:
    void SetUp() override {
        TemplatePlugInTest::SetUp();
        ASSERT_TRUE(plugIn_->Initialized());
    }

    static void LoadXml(host::ITestElement& element, const std::string& xml) {
        auto doc = host::XmlFactory().NewDocument();
        doc->LoadXml(xml);
        element.Load(*doc->DocumentElement(), nullptr);
    }
};

TEST_F(PluginSequenceTest, ARunSequenceReadsBackTheSameOnAnotherMakeFolder) {
    PutMake("Acme", "acme.txt");
    auto group = std::dynamic_pointer_cast<plugin::CTestGroup>(plugIn_->CreateTest(1));
    ASSERT_TRUE(group);
    ASSERT_EQ(group->Count(), 4);
    {
        auto config = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(group->Item(1)->Configuration());
        ASSERT_TRUE(config);
        config->SetOximeterMake(10);
        config->SetOximeterMakeName("Acme");
        config->CopyCloneData(config.get());
        config->SetSimulationID(24);
        config->SetSpO2(95);
        config->SetBPM(60);
    }
    auto setup = std::make_shared<host::CTestSetup>();
    const char* readings[] = {"96::61", "2.0::1.5::0.9", "50::60", "PIN1_TO_PIN2=4,5"};
    for (int32_t i = 1; i <= 4; ++i) {
        auto test = group->Item(i);
        LoadXml(*test, "<ResultItem/>");  // as the element makes its result
        auto result = std::dynamic_pointer_cast<plugin::ITestResult>(test->Result());
        ASSERT_TRUE(result) << i;
        result->StoreResult(readings[i - 1], setup);
    }
    EXPECT_EQ(group->Item(1)->Result()->Status(), 1);
    EXPECT_EQ(group->Item(2)->Result()->Status(), 2);  // the photo LED is above its limit
    EXPECT_EQ(group->Item(4)->Result()->Measurement("PIN1_TO_PIN2")->Value(), plat::Variant(4.5));
    LoadXml(*group, "<ResultItem/>");
    group->StoreGroupResult(setup);
    EXPECT_EQ(group->Result()->Status(), 2);

    const std::string saved = Saved(*group);
    const auto printed = Printed(*group);
    ASSERT_GE(printed.size(), 5u);  // the configuration and four results

    auto loaded = LoadedElsewhere(saved);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(Saved(*loaded), saved);
    EXPECT_EQ(loaded->Result()->Status(), 2);
    ExpectSameTables(Printed(*loaded), printed);
}

}  // namespace
