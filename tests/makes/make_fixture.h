#pragma once
// A temporary make folder and registry file for one test, and small helpers
// for building makes and make files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/language_service.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/values/numfmt.h"
#include "tests/support/sandbox.h"

namespace makes_test {

class MakeFolderTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        folder_ = root_ + "/makes/";
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", " " + folder_ + "  ");
    }
    void TearDown() override {
        // A test may leave the folder read-only; give it back so it can be removed.
        std::error_code ec;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        SandboxTest::TearDown();
    }

    std::string Path(const std::string& name) const { return folder_ + name; }
    // Writes a file below the test's folder (making its folders) and checks it holds the bytes.
    void WriteBelowRoot(const std::string& relativePath, const std::string& bytes) {
        std::string written;
        ASSERT_TRUE(plat::fs::ReadFile(dir_.Write(relativePath, bytes), written)) << relativePath;
        ASSERT_EQ(written, bytes) << relativePath;
    }
    // Writes a file into the make folder.
    void WriteFile(const std::string& name, const std::string& bytes) { WriteBelowRoot("makes/" + name, bytes); }
    std::string ReadBytes(const std::string& name) const {
        std::string bytes;
        plat::fs::ReadFile(Path(name), bytes);
        return bytes;
    }

    std::string folder_;
};

// A make of 51 points, SpO2 50..100, with R value (100 - SpO2) / 20.
inline makes::OximeterMakePtr FullMake(const std::string& name) {
    auto make = std::make_shared<makes::COximeterMake>();
    make->SetName(name);
    for (int spo2 = 50; spo2 <= 100; ++spo2) make->AddRValue(spo2, plat::NumberToText((100 - spo2) / 20.0));
    return make;
}

// Make-file text with the given line ending and R-value lines.
inline std::string MakeFileText(const std::string& name, int points, const std::string& eol = "\r\n",
                                const std::string& prefix = "RVALUE") {
    std::string text = "[MANUFACTURER]" + eol + "MAN_NAME=" + name + eol + eol + eol + "[LIGHT]" + eol +
                       "RDC=100" + eol + "IRDC=200" + eol + "IRAC=300" + eol + "LightLevel=2" + eol + "TLC=400" +
                       eol + eol + eol + "[RVALUE]" + eol;
    for (int i = 0; i < points; ++i) text += prefix + std::to_string(50 + i) + "=0.5" + eol;
    return text;
}

}  // namespace makes_test
