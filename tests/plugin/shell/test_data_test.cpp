#include "plugin/shell/test_data.h"

#include <gtest/gtest.h>

#include "host/run_context.h"
#include "plugin/shell/identity_pane_flag.h"
#include "tests/plugin/shell/shell_fixture.h"

namespace {

using plugin::CTestData;
using shell_test::FakeConfig;
using shell_test::FakeLimits;
using shell_test::FakeResult;

class TestDataTest : public shell_test::ShellTest {
protected:
    std::shared_ptr<CTestData> Made(int32_t testId) {
        auto element = std::make_shared<CTestData>();
        element->Create(testId, setup_);
        return element;
    }
    std::shared_ptr<plugin::CPluginSetup> setup_ = std::make_shared<plugin::CPluginSetup>();
};

TEST_F(TestDataTest, TheSpO2TestHasItsConfigurationTiedToItAndToTheSettings) {
    auto element = Made(100);
    EXPECT_EQ(element->ID(), 100);
    EXPECT_EQ(element->PlugInID(), "Pelmo2");
    EXPECT_EQ(element->Info()->Name(), "SpO2 Simulation Test");
    auto config = std::dynamic_pointer_cast<FakeConfig>(element->Configuration());
    ASSERT_TRUE(config);
    EXPECT_EQ(config->parent.lock(), element);
    EXPECT_EQ(config->setup, setup_);
    EXPECT_EQ(element->SpO2Config(), element->Configuration());
    for (int32_t probe : {200, 300, 400}) EXPECT_EQ(Made(probe)->Configuration(), nullptr);
}

TEST_F(TestDataTest, LimitsAreOwnedByTheElementAlsoAfterCloneAndInitialize) {
    auto element = Made(200);
    EXPECT_EQ(std::dynamic_pointer_cast<FakeLimits>(element->Limits())->owner.lock(), element);
    auto clone = element->Clone();
    EXPECT_EQ(std::dynamic_pointer_cast<FakeLimits>(clone->Limits())->owner.lock(), clone);
    EXPECT_NE(clone->Limits(), element->Limits());

    auto plain = std::make_shared<CTestData>();
    plain->Initialize("Pelmo2", 250, 7);
    EXPECT_EQ(std::dynamic_pointer_cast<FakeLimits>(plain->Limits())->owner.lock(), plain);
    EXPECT_EQ(plain->Info()->Name(), "");  // no name for a kind the class does not know
}

TEST_F(TestDataTest, ACloneIsIndependentAndCarriesNoResult) {
    auto element = Made(100);
    element->Info()->SetName("Mine");
    element->Filter()->SetSelected(false);
    element->Load(*[] {
        static auto doc = host::XmlFactory().NewDocument();
        doc->LoadXml("<ResultItem Status=\"2\" MTIID=\"1\"/>");
        return doc->DocumentElement();
    }(), nullptr);
    ASSERT_TRUE(element->Result());
    auto clone = std::dynamic_pointer_cast<CTestData>(element->Clone());
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->Info()->Name(), "Mine");
    EXPECT_FALSE(clone->Filter()->Selected());
    EXPECT_EQ(clone->Result(), nullptr);
    auto config = std::dynamic_pointer_cast<FakeConfig>(clone->Configuration());
    EXPECT_NE(config, element->Configuration());
    EXPECT_EQ(config->parent.lock(), clone);
    EXPECT_EQ(config->setup, setup_);  // the copy keeps what the configuration's clone gives
    clone->Info()->SetName("Other");
    EXPECT_EQ(element->Info()->Name(), "Mine");
}

TEST_F(TestDataTest, LoadingAResultItemMakesAFreshResultFirst) {
    auto element = Made(300);
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<ResultItem Status=\"1\" MTIID=\"3\"/>");
    element->Load(*doc->DocumentElement(), nullptr);
    auto first = std::dynamic_pointer_cast<FakeResult>(element->Result());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->parent.lock(), element);
    EXPECT_EQ(first->initialized, 1);
    EXPECT_EQ(first->status, 1);
    element->Load(*doc->DocumentElement(), nullptr);
    EXPECT_NE(element->Result(), first);
}

TEST_F(TestDataTest, MembersWithoutMeaningAnswerPlainly) {
    auto element = Made(100);
    EXPECT_TRUE(element->QuerySetParent(nullptr));
    EXPECT_TRUE(element->QuerySetParent(Made(200)));
    EXPECT_TRUE(element->GetMeasurementList().IsEmpty());
}

TEST_F(TestDataTest, UpdateReferencesReachesTheStandardsAndIsSafeWithoutLimits) {
    auto withLimits = Made(100);
    auto standards = std::make_shared<shell_test::RecordingStandards>();
    std::dynamic_pointer_cast<FakeLimits>(withLimits->Limits())->standards = standards;
    withLimits->UpdateReferences();
    EXPECT_EQ(standards->owners, (std::vector<const host::ITestElement*>{withLimits.get()}));

    plugin::Factory().Install(plugin::Part::Limits, nullptr);
    auto element = Made(200);
    EXPECT_EQ(element->Limits(), nullptr);
    element->UpdateReferences();
    element->Terminate();
    element->UpdateReferences();
}

TEST_F(TestDataTest, ConstructionClearsTheIdentityPaneFlag) {
    plugin::SetIdentityPaneShown(true);
    auto element = std::make_shared<CTestData>();
    EXPECT_FALSE(plugin::IdentityPaneShown());
    plugin::SetIdentityPaneShown(true);
    element->Clone();
    EXPECT_FALSE(plugin::IdentityPaneShown());
}

TEST_F(TestDataTest, SaveLoadSaveThroughTheHostTreeKeepsEveryChange) {
    struct PlugIn : plat::Object, host::IPlugIn {
        std::shared_ptr<plugin::CPluginSetup> setup;
        std::string ID() const override { return "Pelmo2"; }
        std::shared_ptr<host::CPicture> Icon(int32_t, int32_t, const plat::Variant&) const override { return nullptr; }
        std::string Name() const override { return {}; }
        int32_t Flags() const override { return 0; }
        std::shared_ptr<host::ISetup> Setup() const override { return nullptr; }
        std::shared_ptr<host::ISetup> ControlPanel() const override { return nullptr; }
        std::shared_ptr<host::ITestContainer> Tests() const override { return nullptr; }
        std::string Version() const override { return {}; }
        plat::ObjectPtr PlugInMenu() const override { return nullptr; }
        void Initialize(const plat::ObjectPtr&) override {}
        host::TestElementPtr CreateTest(int32_t id) override {
            auto element = std::make_shared<CTestData>();
            element->Create(id, setup);
            return element;
        }
        std::shared_ptr<host::IConfigData> CreateDUTData() override { return nullptr; }
    };
    auto plugIn = std::make_shared<PlugIn>();
    plugIn->setup = setup_;
    host::RegisterPlugIn(plugIn);

    auto element = Made(100);
    element->SetID(17);
    element->Info()->SetName("Renamed");
    element->Filter()->SetSelected(false);
    std::dynamic_pointer_cast<FakeConfig>(element->Configuration())->setting = "changed";
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize("Std", "Text", 1);
    auto item = std::make_shared<host::CLimitItem>();
    item->Initialize("SpO2", "%", "", "");
    item->SetBoundEnabled(0, true);
    item->SetBoundValue(0, 4.5f);
    standard->AddItem(item);
    std::dynamic_pointer_cast<FakeLimits>(element->Limits())->standards->Add(standard);
    auto result = std::make_shared<FakeResult>();
    result->status = 2;
    auto measurement = std::make_shared<plugin::CMeasurement>();
    measurement->Init("SpO2", "", "SpO2", "%", true);
    measurement->StoreValue("97");
    result->measurements->Add(measurement);
    element->Load(*[&] {
        auto doc = host::XmlFactory().NewDocument();
        doc->AppendChild(result->Save(*doc));
        static host::XmlDocumentPtr keep;
        keep = doc;
        return doc->DocumentElement();
    }(), nullptr);

    const auto trip = shell_test::SaveLoadSave(element);
    EXPECT_EQ(trip.first, trip.second);
    const auto& loaded = trip.loaded;
    EXPECT_EQ(loaded->ID(), 17);
    EXPECT_EQ(loaded->Info()->Name(), "Renamed");
    EXPECT_FALSE(loaded->Filter()->Selected());
    EXPECT_EQ(std::dynamic_pointer_cast<FakeConfig>(loaded->Configuration())->setting, "changed");
    EXPECT_EQ(loaded->Result()->Status(), 2);
    EXPECT_EQ(loaded->Result()->MeasurementCount(), 1);
    EXPECT_NE(trip.second.find("Value=\"4.5\""), std::string::npos);
    host::UnregisterPlugIn("Pelmo2");
}

}  // namespace
