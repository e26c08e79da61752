#include "plugin/config/builtin_makes.h"

#include <gtest/gtest.h>

#include "platform/ui/controls.h"
#include "tests/plugin/config/config_fixture.h"

namespace {

using BuiltInMakesTest = plugin_test::ConfigTest;
using plugin::GetDefaultMakeSettings;

struct Defaults {
    int32_t index = 0;
    std::string name;
    bool download = false;
};

Defaults ReadDefaults() {
    Defaults d;
    GetDefaultMakeSettings(d.index, d.name, d.download);
    return d;
}

TEST_F(BuiltInMakesTest, DefaultsWithoutRegistryValues) {
    Defaults d{7, "stale", true};
    GetDefaultMakeSettings(d.index, d.name, d.download);
    EXPECT_EQ(d.index, 0);
    EXPECT_EQ(d.name, "");
    EXPECT_FALSE(d.download);
}

TEST_F(BuiltInMakesTest, DownloadPreferenceIsTrueOnlyForOne) {
    for (const char* yes : {"1", "1.0", "1,0", " 1 "}) {
        Write(makes::kRegistryKey, "DefaultDownloadPref", yes);
        EXPECT_TRUE(ReadDefaults().download) << yes;
    }
    for (const char* no : {"2", "0", "yes", "", "1.5"}) {
        Write(makes::kRegistryKey, "DefaultDownloadPref", no);
        EXPECT_FALSE(ReadDefaults().download) << no;
    }
}

TEST_F(BuiltInMakesTest, MakeLocationAndCustomName) {
    Write(makes::kRegistryKey, "DefaultMakeLocation", "12");
    Write(makes::kRegistryKey, "DefaultCustomMakeName", " Acme ");
    EXPECT_EQ(ReadDefaults().index, 12);
    EXPECT_EQ(ReadDefaults().name, " Acme ");
    Write(makes::kRegistryKey, "DefaultMakeLocation", "abc");
    EXPECT_EQ(ReadDefaults().index, 0);
    Write(makes::kRegistryKey, "DefaultMakeLocation", "2,5");
    EXPECT_EQ(ReadDefaults().index, 2);
}

TEST_F(BuiltInMakesTest, NumbersBeyond32BitsLeaveTheCallersValue) {
    Write(makes::kRegistryKey, "DefaultMakeLocation", "1E20");
    Write(makes::kRegistryKey, "DefaultDownloadPref", "-1E20");
    Defaults d{5, "", true};
    GetDefaultMakeSettings(d.index, d.name, d.download);
    EXPECT_EQ(d.index, 5);
    EXPECT_TRUE(d.download);
}

TEST_F(BuiltInMakesTest, BuiltInNamesByIndex) {
    EXPECT_EQ(plugin::BuiltInMakeName(4), "PMS M1190");
    EXPECT_EQ(plugin::BuiltInMakeName(0), "BCI");
    EXPECT_EQ(plugin::BuiltInMakeName(9), "Respironics");
    EXPECT_EQ(plugin::BuiltInMakeName(10), "");
    EXPECT_EQ(plugin::BuiltInMakeName(-1), "");

    plat::ui::ComboBox combo;
    plugin::FillBuiltInMakes(combo);
    ASSERT_EQ(combo.ListCount(), 10);
    EXPECT_EQ(combo.List(5), "Masimo");
    EXPECT_EQ(combo.List(8), "Ohmeda & Nova");

    plat::ui::ComboBox withCustom;
    withCustom.AddItem("Custom make");
    plugin::FillBuiltInMakes(withCustom);
    ASSERT_EQ(withCustom.ListCount(), 11);
    EXPECT_EQ(withCustom.List(0), "BCI");
    EXPECT_EQ(withCustom.List(10), "Custom make");
}

TEST_F(BuiltInMakesTest, RegistryHelpersCreateTheKeyAndReadEmptyWhenMissing) {
    EXPECT_EQ(plugin::GetRegistryString("Software\\Velam\\Orvik\\Pelmo2\\Fresh", "Value"), "");
    plugin::SetRegistryValue("Software\\Velam\\Orvik\\Pelmo2\\Fresh", "Value", "42");
    EXPECT_TRUE(Reg().KeyExists(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2\\Fresh"));
    EXPECT_EQ(plugin::GetRegistryString("software\\velam\\orvik\\pelmo2\\fresh", "Value"), "42");
    plugin::SetRegistryValue(makes::kRegistryKey, "DefaultMakeLocation", "3");
    EXPECT_EQ(ReadDefaults().index, 3);
}

}  // namespace
