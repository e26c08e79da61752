#pragma once
// A test's own corner of the machine: a temporary folder holding the registry
// file and an empty language folder, so no test touches the user's settings and
// every text comes back as its English default.

#include <gtest/gtest.h>

#include <string>

#include "host/language_service.h"
#include "platform/com/registry.h"
#include "tests/support/temp_dir.h"

namespace test_support {

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.Path().empty());
        root_ = dir_.Path();
        plat::Registry::UseFile(root_ + "/registry.reg");
        host::LanguageService().SetLanguagesRoot(root_ + "/languages");
        host::LanguageService().SetLanguage("English");
        host::LanguageService().Reload();
    }
    TempDir dir_;
    std::string root_;
};

}  // namespace test_support
