// The real plug-in library, created by ProgID as the host creates it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/host_application.h"
#include "host/registry_key.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "platform/com/com.h"
#include "tests/plugin/shell/shell_fixture.h"

namespace {

using shell_test::ErrorOf;

std::string LibraryPath() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return std::string(bin ? bin : ".") + "/liborvikPelmo2.so";
}


class LibraryTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        plat::RegisterServer(LibraryPath());
        plugIn_ = plat::CreateObjectAs<host::IPlugIn>("OrvikPelmo2.CPelmo2Plugin");
    }
    void TearDown() override {
        host::UnregisterPlugIn("Pelmo2");
        plugIn_.reset();
        plat::UnregisterServer(LibraryPath());
    }
    void UseTemplatePath(const std::string& path) {
        host::CRegistryKey key;
        key.Create(host::HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2");
        key.WriteValue("Configuration", path);
    }
    std::shared_ptr<host::IPlugIn> plugIn_;
};

TEST_F(LibraryTest, AnswersItsIdentityBeforeInitialize) {
    EXPECT_EQ(plugIn_->ID(), "Pelmo2");
    EXPECT_EQ(plugIn_->Name(), "Pelmo Q5 SpO2 Simulator");
    EXPECT_EQ(plugIn_->Version(), "1.0.0");
    EXPECT_EQ(plugIn_->Icon(400, 1, {})->ResourceName(), "RESISTANCE(32x16x1)");
    EXPECT_EQ(plugIn_->Icon(100, 9, {})->ResourceName(), "PELMO2(16x16)");
    EXPECT_EQ(plugIn_->Icon(7, 0, {}), nullptr);
    auto error = ErrorOf([&] { plugIn_->Tests(); });
    EXPECT_EQ(error.Number(), 0x8004A229u);
    EXPECT_EQ(error.Source(), "Pelmo2");
    EXPECT_EQ(error.Severity(), 4);
    EXPECT_EQ(ErrorOf([&] { plugIn_->CreateTest(100); }).Number(), 0x8004A229u);
}

TEST_F(LibraryTest, TheShippedTemplateGivesTheTreeAndIndependentClones) {
    plugIn_->Initialize(nullptr);
    auto root = plugIn_->Tests();
    ASSERT_EQ(root->Count(), 1);
    auto group = std::dynamic_pointer_cast<host::ITestContainer>(root->Item(1));
    ASSERT_TRUE(group);
    EXPECT_EQ(root->Item(1)->ID(), 1);
    const char* names[] = {"SpO2 Simulation Test", "LED Test", "Photodiode Test", "Resistance Test"};
    ASSERT_EQ(group->Count(), 4);
    for (int32_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(group->Item(i)->ID(), i * 100);
        EXPECT_EQ(group->Item(i)->Info()->Name(), names[i - 1]);
    }
    auto a = plugIn_->CreateTest(300);
    auto b = plugIn_->CreateTest(300);
    EXPECT_NE(a, b);
    a->Info()->SetName("changed");
    EXPECT_EQ(b->Info()->Name(), "Photodiode Test");
    EXPECT_EQ(group->Item(3)->Info()->Name(), "Photodiode Test");
    auto unknown = ErrorOf([&] { plugIn_->CreateTest(999); });
    EXPECT_EQ(unknown.Number(), 0x8004A233u);
    EXPECT_EQ(unknown.Severity(), 1);
    EXPECT_TRUE(plugIn_->Setup());
}

TEST_F(LibraryTest, TemplateAndFileErrorsReachTheHost) {
    UseTemplatePath(dir_.File("none.mpc"));
    auto missing = ErrorOf([&] { plugIn_->Initialize(nullptr); });
    EXPECT_EQ(missing.Number(), 0x8004A22Au);
    EXPECT_EQ(missing.Source(), "Pelmo2");
    EXPECT_EQ(missing.Severity(), 3);
    UseTemplatePath(dir_.Path());
    EXPECT_EQ(ErrorOf([&] { plugIn_->Initialize(nullptr); }).Number(), 0x8004A28Fu);
    UseTemplatePath(dir_.Write("bad.mpc", "<TemplateData><TestElement ClassName=\"OrvikPelmo2.CTestData\"/></TemplateData>"));
    auto bad = ErrorOf([&] { plugIn_->Initialize(nullptr); });
    EXPECT_EQ(bad.Number(), 0x8004A22Cu);
    EXPECT_EQ(bad.Severity(), 3);
    UseTemplatePath(dir_.Write("limits.mpc", "<TemplateData><TestElement ClassName=\"OrvikPelmo2.CTestData\" ID=\"200\">"
                                             "<ExpectedResult><Standard Name=\"A\"><Bogus/></Standard></ExpectedResult>"
                                             "</TestElement></TemplateData>"));
    EXPECT_EQ(ErrorOf([&] { plugIn_->Initialize(nullptr); }).Number(), 0x8004A22Cu);
    EXPECT_EQ(ErrorOf([&] { plugIn_->Tests(); }).Number(), 0x8004A229u);
}

TEST_F(LibraryTest, SavedElementsLoadBackThroughTheHostTree) {
    plugIn_->Initialize(nullptr);
    host::RegisterPlugIn(plugIn_);
    auto group = plugIn_->CreateTest(1);
    auto spo2 = std::dynamic_pointer_cast<host::ITestContainer>(group)->Item(1);
    spo2->SetID(77);
    spo2->Info()->SetName("Renamed");
    spo2->Filter()->SetSelected(false);
    // A limit bound and a result changed too.
    auto limits = spo2->Limits();
    ASSERT_TRUE(limits);
    ASSERT_GE(limits->Standards()->Count(), 1);
    limits->Standards()->Item(1)->LimitItems()->Item(1)->SetBoundValue(0, 3.5f);
    auto resultDoc = host::XmlFactory().NewDocument();
    resultDoc->LoadXml("<ResultItem MTI=\"3\"><Status>2</Status><Comment>checked</Comment><AllMeasurements>"
                       "<Measurement Key=\"SpO2\"><Value>97</Value><ValueFormat>1</ValueFormat><Status>2</Status>"
                       "</Measurement></AllMeasurements></ResultItem>");
    spo2->Load(*resultDoc->DocumentElement(), nullptr);
    ASSERT_TRUE(spo2->Result());
    EXPECT_EQ(spo2->Result()->Status(), 2);
    const auto trip = shell_test::SaveLoadSave(group);
    EXPECT_EQ(trip.first, trip.second);
    const auto& loaded = trip.loaded;
    auto back = std::dynamic_pointer_cast<host::ITestContainer>(loaded)->FindElement(77);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Info()->Name(), "Renamed");
    EXPECT_FALSE(back->Filter()->Selected());
    EXPECT_EQ(back->Result()->Status(), 2);
    EXPECT_EQ(back->Result()->MeasurementCount(), 1);
    EXPECT_EQ(back->Limits()->Standards()->Item(1)->LimitItems()->Item(1)->BoundValue(0), 3.5f);

    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<Measurement/>");
    auto unknown = ErrorOf([&] { loaded->Load(*doc->DocumentElement(), nullptr); });
    EXPECT_EQ(unknown.Number(), 0x8004A2C8u);
    EXPECT_EQ(unknown.Source(), "Pelmo2");
    EXPECT_EQ(unknown.Severity(), 1);
}

TEST_F(LibraryTest, ServesTheShellClassesByProgId) {
    for (const char* progId : {"OrvikPelmo2.CTestGroup", "OrvikPelmo2.CTestData", "OrvikPelmo2.CMeasurement",
                               "OrvikPelmo2.CMeasurementColl", "OrvikPelmo2.CPluginSetup"})
        EXPECT_TRUE(plat::CreateObject(progId)) << progId;
    EXPECT_TRUE(plat::CreateObjectAs<host::ITestContainer>("OrvikPelmo2.CTestGroup"));
    EXPECT_TRUE(plat::CreateObjectAs<host::ISetup>("OrvikPelmo2.CPluginSetup"));
}

}  // namespace
