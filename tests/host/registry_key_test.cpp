#include <gtest/gtest.h>

#include <sys/stat.h>

#include "host/error_service.h"
#include "host/host_application.h"
#include "host/language_service.h"
#include "host/registry_key.h"
#include "platform/com/registry.h"
#include "tests/support/sandbox.h"

namespace {

using host::CRegistryKey;
using host::HKey;

using RegistryKeyTest = test_support::SandboxTest;

TEST_F(RegistryKeyTest, WrittenValueReadsBackThroughAFreshKey) {
    {
        CRegistryKey key;
        key.Create(HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2\\MtiData\\");
        key.WriteValue("Type", "Pelmo Q5 FE");
    }
    CRegistryKey key;
    key.Open(HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2\\MtiData");
    EXPECT_EQ(key.ReadValue("Type"), "Pelmo Q5 FE");
    // Separators at either end or doubled name the same key; letter case does not matter.
    CRegistryKey other;
    other.Open(HKey::LocalMachine, "\\software\\velam\\\\orvik\\pelmo2\\mtidata\\");
    EXPECT_EQ(other.ReadValue("Type"), "Pelmo Q5 FE");
    EXPECT_EQ(plat::Registry::Instance().ReadValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2\\MtiData",
                                                   "Type"),
              "Pelmo Q5 FE");
}

TEST_F(RegistryKeyTest, MissingKeyValueOrUnopenedKeyReadsEmpty) {
    CRegistryKey unopened;
    EXPECT_EQ(unopened.ReadValue("Path"), "");
    CRegistryKey key;
    key.Open(HKey::LocalMachine, "Software\\Velam\\Nothing");
    EXPECT_EQ(key.ReadValue("Path"), "");
    key.Create(HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2");
    EXPECT_EQ(key.ReadValue("Path"), "");
}

TEST_F(RegistryKeyTest, HivesAreSeparate) {
    CRegistryKey machine;
    machine.Create(HKey::LocalMachine, "Software\\Velam");
    machine.WriteValue("X", "machine");
    CRegistryKey user;
    user.Open(HKey::CurrentUser, "Software\\Velam");
    EXPECT_EQ(user.ReadValue("X"), "");
}

TEST_F(RegistryKeyTest, UnreadableRegistryReadsEmptyAndWriteFails) {
    dir_.Write("registry.reg", "this is no registry file\n[broken\n");
    CRegistryKey key;
    key.Open(HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2");
    EXPECT_EQ(key.ReadValue("Path"), "");
    try {
        key.WriteValue("Path", "/tmp");
        FAIL() << "write into a broken registry file succeeded";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::errors::RegistryFailed);
        EXPECT_NE(e.Description().find("Path"), std::string::npos);
    }
    CRegistryKey unopened;
    EXPECT_THROW(unopened.WriteValue("Path", "/tmp"), host::HostError);
}

TEST_F(RegistryKeyTest, GuiSettingSelectsTheLanguage) {
    auto settings = host::HostApplication().Settings();
    EXPECT_EQ(settings->Value("GUI").AsString(), "English");
    EXPECT_EQ(settings->Value("Other").AsString(), "");

    CRegistryKey key;
    key.Create(HKey::LocalMachine, host::HostResources().Text(host::CHostResources::LanguageKeyText));
    key.WriteValue("GUI", "German");
    EXPECT_EQ(settings->Value("GUI").AsString(), "German");

    host::CLanguageService service;
    service.SetLanguagesRoot(dir_.Path());
    dir_.Write("German/Pelmo2.lng", "20021=Eigenes Oximeter\n");
    EXPECT_EQ(service.Translate("Pelmo2", "20021::Custom oximeter"), "Eigenes Oximeter");
}

}  // namespace
