#pragma once
// A temporary registry file and an empty language folder for one test.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "host/language_service.h"
#include "platform/com/registry.h"

namespace plugin_test {

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvik-config-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        plat::Registry::UseFile(root_ + "/registry.reg");
        host::LanguageService().SetLanguagesRoot(root_ + "/languages");
        host::LanguageService().SetLanguage("English");
        host::LanguageService().Reload();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    static plat::Registry& Reg() { return plat::Registry::Instance(); }
    static std::string Read(std::string_view key, std::string_view name) {
        return Reg().ReadValue(plat::Hive::LocalMachine, key, name);
    }
    static void Write(std::string_view key, std::string_view name, std::string_view value) {
        Reg().WriteValue(plat::Hive::LocalMachine, key, name, value);
    }

    std::string root_;
};

}  // namespace plugin_test
