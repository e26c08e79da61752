// A whole sequence (a group of four tests with their configuration, limits and
// results) saved on one computer and loaded on another, and its report.

#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "host/report.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "plugin/results/result_test_group.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/plugin/results/element_tree_test.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/support/fake_plug_in.h"

namespace {

using plugin::CLimitData;
using plugin::CResultData;
using plugin::CResultTestGroup;

// An element as the plug-in makes it: its limits, a configuration for test
// 100, and a result made when saved data brings one.
class SequenceElement : public results_test::FakeElement {
public:
    using FakeElement::FakeElement;
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& ctx) override {
        if (node.Name() == "ResultItem" && !Result()) MakeResult();
        FakeElement::Load(node, ctx);
        for (const auto& child : NewEnum()) child->SetParent(Self());
    }
    void MakeResult() {
        if (TestID() == 1) {
            base->SetResult(std::make_shared<CResultTestGroup>());
            return;
        }
        auto result = std::make_shared<CResultData>();
        result->InitializeResult(Self());
        base->SetResult(result);
    }
    std::shared_ptr<CResultData> TestResult() const { return std::dynamic_pointer_cast<CResultData>(Result()); }
    std::shared_ptr<CLimitData> TestLimits() const { return std::dynamic_pointer_cast<CLimitData>(Limits()); }
};

class SequencePlugIn : public test_support::FakePlugIn {
public:
    SequencePlugIn() : FakePlugIn("Pelmo2") {}
    host::TestElementPtr CreateTest(int32_t testId) override {
        auto element = std::make_shared<SequenceElement>(testId);
        auto limits = std::make_shared<CLimitData>();
        limits->SetOwner(element);
        limits->SetHasDialog(testId != 1);
        element->base->SetLimits(limits);
        if (testId == 100) {
            auto config = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(templateConfig->Clone());
            config->SetParentTest(element);
            element->base->SetConfiguration(config);
        }
        return element;
    }

    std::shared_ptr<plugin::CSpO2SimulationConfig> templateConfig = std::make_shared<plugin::CSpO2SimulationConfig>();
};

class SequenceTest : public results_test::ElementTreeTest {
protected:
    void SetUp() override {
        Spo2ConfigTest::SetUp();
        host::RegisterPlugIn(plugIn_);
    }
    void TearDown() override {
        host::UnregisterPlugIn("Pelmo2");
        Spo2ConfigTest::TearDown();
    }

    std::shared_ptr<SequenceElement> New(int32_t testId, int32_t id) {
        auto element = std::dynamic_pointer_cast<SequenceElement>(plugIn_->CreateTest(testId));
        element->SetID(id);
        element->Info()->SetName("Test " + std::to_string(id));
        return element;
    }
    // A standard of the element's limits whose items all have these bounds.
    static void Bound(SequenceElement& element, const std::string& text, float high, float low) {
        results_test::AddBoundedStandard(*element.TestLimits(), text, text, high, low);
    }
    // The group of four tests, run: each test's readings stored and the group rolled up.
    std::shared_ptr<SequenceElement> RunSequence() {
        PutMake("Acme", "acme.txt");
        auto group = New(1, 1);
        auto spo2 = New(100, 2), leds = New(200, 3), photo = New(300, 4), pins = New(400, 5);
        {
            auto c = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(spo2->Configuration());
            c->SetOximeterMake(10);
            c->SetOximeterMakeName("Acme");
            c->CopyCloneData(c.get());
            c->SetSimulationID(24);  // the customised values
            c->SetSpO2(95);
            c->SetBPM(60);
        }
        Bound(*spo2, "ISO 80601", 2, -2);
        Bound(*leds, "Probe", 3, 1);
        Bound(*leds, "Workshop", 2.5f, 1.5f);
        Bound(*pins, "Cable", 100, 0);
        for (const auto& test : {spo2, leds, photo, pins}) {
            group->Add(test, nullptr, 1);
            test->MakeResult();
        }
        spo2->TestResult()->StoreResult("96::61", nullptr);
        spo2->TestResult()->SetMTIID(3);
        leds->TestResult()->StoreResult("2::2.75::1.2", nullptr);
        photo->TestResult()->StoreResult("0.5::0.25", nullptr);
        pins->TestResult()->StoreResult("PIN1_TO_PIN2=12.5", nullptr);
        pins->TestResult()->SetComment("cable replaced");
        group->MakeResult();
        std::dynamic_pointer_cast<CResultTestGroup>(group->Result())->UpdateStatus(group, nullptr);
        return group;
    }

    std::shared_ptr<SequencePlugIn> plugIn_ = std::make_shared<SequencePlugIn>();
};

TEST_F(SequenceTest, ASequenceLoadedOnAnotherComputerIsTheSame) {
    auto group = RunSequence();
    EXPECT_EQ(group->Result()->Status(), 2);  // the LEDs failed the workshop standard
    const std::string saved = Saved(*group);
    const auto printed = Printed(*group);

    auto loaded = LoadedElsewhere(saved);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(Saved(*loaded), saved);
    ASSERT_EQ(std::dynamic_pointer_cast<host::ITestContainer>(loaded)->Count(), 4);
    auto pins = std::dynamic_pointer_cast<SequenceElement>(std::dynamic_pointer_cast<host::ITestContainer>(loaded)->Item(4));
    EXPECT_EQ(pins->Result()->Comment(), "cable replaced");
    EXPECT_EQ(pins->Result()->Measurement("PIN1_TO_PIN2")->Value(), plat::Variant(12.5));

    ExpectSameTables(Printed(*loaded), printed);
}

TEST_F(SequenceTest, EachTestPrintsItsOwnLimits) {
    auto group = RunSequence();
    auto report = std::make_shared<host::CReport>("English", 1, 3);
    group->PrintReport(report, {});
    // The tables of results: a configuration table first, then one per test.
    std::vector<std::string> bodies;
    for (const auto& table : report->Tables())
        if (table.header.find("Result:") != std::string::npos) bodies.push_back(table.body);
    ASSERT_EQ(bodies.size(), 4u);
    EXPECT_NE(bodies[0].find("ISO 80601"), std::string::npos);
    EXPECT_EQ(bodies[0].find("Probe"), std::string::npos);
    EXPECT_NE(bodies[1].find("Probe"), std::string::npos);
    EXPECT_NE(bodies[1].find("Workshop"), std::string::npos);
    // The photodiode has no standards: none of the LEDs' appear in its rows.
    EXPECT_EQ(bodies[2].find("Probe"), std::string::npos);
    EXPECT_EQ(bodies[2].find("Workshop"), std::string::npos);
    EXPECT_NE(bodies[3].find("Cable"), std::string::npos);

    // Printed alone, after another test's limits, a result still prints its own.
    auto leds = std::dynamic_pointer_cast<SequenceElement>(group->Item(2));
    auto photo = std::dynamic_pointer_cast<SequenceElement>(group->Item(3));
    auto alone = std::make_shared<host::CReport>("English", 1, 3);
    leds->Limits()->PrintReport(alone, {});
    photo->Result()->PrintReport(alone, {});
    ASSERT_EQ(alone->Tables().size(), 1u);
    EXPECT_EQ(alone->Tables()[0].body, bodies[2]);
}

}  // namespace
