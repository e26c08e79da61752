#pragma once
// A test's own corner of the machine: a temporary folder holding the registry
// file and an empty language folder, so no test touches the user's settings and
// every text comes back as its English default.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "host/language_service.h"
#include "platform/com/registry.h"

namespace test_support {

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvik-test-XXXXXX";
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

    std::string root_;
};

}  // namespace test_support
