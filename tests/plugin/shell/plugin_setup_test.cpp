#include "plugin/shell/plugin_setup.h"

#include <gtest/gtest.h>

#include "platform/com/registry.h"
#include "tests/plugin/shell/shell_fixture.h"
#include "tests/support/fake_setup_dialog.h"

namespace {

using shell_test::ShellTest;

constexpr std::string_view kKey = "Software\\Velam\\Orvik\\Pelmo2";

std::string Stored(std::string_view name) {
    return plat::Registry::Instance().ReadValue(plat::Hive::LocalMachine, kKey, name);
}

class PluginSetupTest : public ShellTest {};

TEST_F(PluginSetupTest, SettingsAreEmptyAndIgnoreWrites) {
    plugin::CPluginSetup setup;
    EXPECT_TRUE(setup.HasDialog());
    setup.SetSettings(plat::Variant(42));
    EXPECT_TRUE(setup.Settings().IsEmpty());
}

TEST_F(PluginSetupTest, RegSaveWritesTheThreeDefaultsAndRaisesOnce) {
    auto setup = std::make_shared<plugin::CPluginSetup>();
    auto subscriber = std::make_shared<int>(0);
    int raised = 0;
    setup->ConnectConfigChanged(subscriber, [&] { ++raised; });
    setup->SetDefaultOximeterLoc(12);
    setup->SetDefaultCustomMakeName("My make");
    setup->SetDefaultDownloadPref(true);
    setup->RegSave({}, {});
    EXPECT_EQ(Stored("DefaultMakeLocation"), "12");
    EXPECT_EQ(Stored("DefaultCustomMakeName"), "My make");
    EXPECT_EQ(Stored("DefaultDownloadPref"), "1");
    EXPECT_EQ(raised, 1);

    setup->SetDefaultDownloadPref(false);
    setup->RegSave({}, {});
    EXPECT_EQ(Stored("DefaultDownloadPref"), "0");
    EXPECT_EQ(raised, 2);
}

TEST_F(PluginSetupTest, RegLoadReadsBackWhatWasSavedAndDefaultsWhenMissing) {
    auto setup = std::make_shared<plugin::CPluginSetup>();
    setup->SetDefaultOximeterLoc(7);
    setup->SetDefaultCustomMakeName("x");
    setup->SetDefaultDownloadPref(true);
    setup->RegLoad({}, {});  // nothing stored yet
    EXPECT_EQ(setup->DefaultOximeterLoc(), 0);
    EXPECT_EQ(setup->DefaultCustomMakeName(), "");
    EXPECT_FALSE(setup->DefaultDownloadPref());

    auto saved = std::make_shared<plugin::CPluginSetup>();
    saved->SetDefaultOximeterLoc(11);
    saved->SetDefaultCustomMakeName("Custom A");
    saved->SetDefaultDownloadPref(true);
    saved->RegSave({}, {});
    int raised = 0;
    auto subscriber = std::make_shared<int>(0);
    setup->ConnectConfigChanged(subscriber, [&] { ++raised; });
    setup->RegLoad({}, {});
    EXPECT_EQ(setup->DefaultOximeterLoc(), 11);
    EXPECT_EQ(setup->DefaultCustomMakeName(), "Custom A");
    EXPECT_TRUE(setup->DefaultDownloadPref());
    EXPECT_EQ(raised, 1);
}

TEST_F(PluginSetupTest, SubscribersAreNotKeptAliveNorCalledAfterTheyAreGone) {
    auto setup = std::make_shared<plugin::CPluginSetup>();
    int raised = 0;
    auto subscriber = std::make_shared<int>(0);
    std::weak_ptr<int> watch = subscriber;
    setup->ConnectConfigChanged(subscriber, [&] { ++raised; });
    EXPECT_EQ(setup->ConfigChangedSubscribers(), 1);
    subscriber.reset();
    EXPECT_TRUE(watch.expired());
    setup->RegSave({}, {});
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(setup->ConfigChangedSubscribers(), 0);
}

TEST_F(PluginSetupTest, AConfigurationFollowsTheSettingsWithoutAKeepAliveCycle) {
    auto setup = std::make_shared<plugin::CPluginSetup>();
    auto config = std::make_shared<shell_test::FakeConfig>();
    config->SetPluginSetup(setup);
    setup->RegLoad({}, {});
    EXPECT_EQ(config->changes, 1);
    std::weak_ptr<shell_test::FakeConfig> watch = config;
    config.reset();  // the configuration holds the settings; the settings do not hold it
    EXPECT_TRUE(watch.expired());
    setup->RegLoad({}, {});
}

using test_support::FakeSetupDialog;

TEST_F(PluginSetupTest, CreateDialogHostsTheSettingsPageAndHoldsItWeakly) {
    auto setup = std::make_shared<plugin::CPluginSetup>();
    EXPECT_EQ(setup->CreateDialog(), nullptr);  // no dialog host in this process

    plugin::Factory().Install(plugin::Part::SetupDialog, [] { return std::make_shared<FakeSetupDialog>(); });
    auto dialog = setup->CreateDialog();
    auto fake = std::dynamic_pointer_cast<FakeSetupDialog>(dialog);
    ASSERT_TRUE(fake);
    EXPECT_TRUE(fake->loaded);
    EXPECT_EQ(fake->progId, "OrvikPelmo2.XPluginSetup");
    EXPECT_EQ(fake->controlName, "isc");
    EXPECT_EQ(fake->initializedWith.AsObject(), setup);
    EXPECT_EQ(setup->CtrlPanel(), fake->page);

    dialog.reset();
    fake.reset();  // the dialog owned its page
    EXPECT_EQ(setup->CtrlPanel(), nullptr);
}

}  // namespace
