// The SpO2 configuration as the shell's elements make and copy it.

#include <gtest/gtest.h>

#include "plugin/config/spo2_config_part.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/test_data.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/support/fake_setup_dialog.h"

namespace {

using plugin::CSpO2SimulationConfig;

using test_support::FakeSetupDialog;

class Spo2ConfigPartTest : public plugin_test::Spo2ConfigTest {
protected:
    void SetUp() override {
        Spo2ConfigTest::SetUp();
        plugin::RegisterSpO2ConfigurationPart();
    }
    void TearDown() override {
        // The real setup dialog comes back for the tests that run later.
        plugin::Factory() = factory_;
        Spo2ConfigTest::TearDown();
    }
    static std::shared_ptr<CSpO2SimulationConfig> ConfigOf(const host::ITestElement& element) {
        return std::dynamic_pointer_cast<CSpO2SimulationConfig>(element.Configuration());
    }

    const plugin::PluginFactory factory_ = plugin::Factory();
};

TEST_F(Spo2ConfigPartTest, SpO2TestsGetTheRealConfiguration) {
    auto settings = std::make_shared<plugin::CPluginSetup>();
    auto test = std::make_shared<plugin::CTestData>();
    test->Create(100, settings);
    auto config = ConfigOf(*test);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->ParentTest().get(), static_cast<host::ITestElement*>(test.get()));
    EXPECT_EQ(config->GetPluginSetup(), settings);

    config->SetOximeterMake(4);
    config->SetTlc(2500);
    auto copy = test->Clone();
    auto copied = ConfigOf(*copy);
    ASSERT_TRUE(copied);
    EXPECT_NE(copied.get(), config.get());
    EXPECT_EQ(copied->ParentTest().get(), copy.get());
    EXPECT_EQ(copied->GetPluginSetup(), settings);
    EXPECT_TRUE(copied->pReadFromRegStatus());

    auto probe = std::make_shared<plugin::CTestData>();
    probe->Create(200, settings);
    EXPECT_FALSE(probe->Configuration());
}

TEST_F(Spo2ConfigPartTest, DialogHoldsTheViewForTheOwnerTest) {
    auto dialog = std::make_shared<FakeSetupDialog>();
    plugin::Factory().Install(plugin::Part::SetupDialog, [dialog] { return plat::ObjectPtr(dialog); });
    auto test = std::make_shared<plugin::CTestData>();
    test->Create(100, std::make_shared<plugin::CPluginSetup>());
    auto made = ConfigOf(*test)->CreateDialog();
    EXPECT_EQ(made.get(), static_cast<host::IDialog*>(dialog.get()));
    EXPECT_EQ(dialog->progId, "OrvikPelmo2.XSpO2SimulationConfigView");
    EXPECT_EQ(dialog->controlName, "xvbSetupControl");
    EXPECT_EQ(dialog->initializedWith.AsObject().get(), static_cast<plat::Object*>(test.get()));
    // A configuration without an owner test opens nothing.
    dialog->progId.clear();
    EXPECT_FALSE(CSpO2SimulationConfig().CreateDialog());
    EXPECT_EQ(dialog->progId, "");
    EXPECT_FALSE(dialog->unloaded);

    // Without its view the dialog would edit nothing: it is unloaded and none is given.
    dialog->hasPage = false;
    EXPECT_FALSE(ConfigOf(*test)->CreateDialog());
    EXPECT_TRUE(dialog->unloaded);
}

}  // namespace
