#include <gtest/gtest.h>

#include "host/error_service.h"
#include "host/limit_standards.h"
#include "host/xml.h"
#include "platform/values/numfmt.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/measurement.h"
#include "plugin/shell/printed_limit_standards.h"
#include "plugin/results/limit_dialog_maker.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::CLimitData;
using results_test::FakeElement;
using results_test::SetBounds;

// A measurement holding a reading (and a preset value when one is given).
std::shared_ptr<plugin::CMeasurement> Reading(const std::string& key, double value, plat::Variant preset = {}) {
    auto m = std::make_shared<plugin::CMeasurement>();
    m->Init(key, key, key, "", false);
    m->StoreValue(plat::NumberToText(value));
    if (!preset.IsEmpty()) m->SetPresetValue(preset);
    return m;
}

class LimitDataTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        host::ErrorService().SetEcho(false);
        host::ErrorService().ClearLog();
        previousMaker_ = plugin::SetLimitDialogMaker(nullptr);
    }
    void TearDown() override { plugin::SetLimitDialogMaker(previousMaker_); }
    plugin::LimitDialogMaker previousMaker_;

    // Limits owned by an element of that test type.
    std::shared_ptr<CLimitData> LimitsOf(int32_t testId) {
        owner_ = std::make_shared<FakeElement>(testId);
        return results_test::GiveLimits(owner_);
    }
    static std::vector<std::string> Keys(const host::ILimitStandard& standard) {
        std::vector<std::string> keys;
        auto items = standard.LimitItems();
        for (int32_t i = 1; i <= items->Count(); ++i) keys.push_back(items->Item(i)->Key());
        return keys;
    }
    static std::shared_ptr<host::ILimitItem> ItemOf(const host::ILimitData& limits, int32_t standard, int32_t item) {
        return limits.Standards()->Item(standard)->LimitItems()->Item(item);
    }
    std::shared_ptr<FakeElement> owner_;
};

TEST_F(LimitDataTest, NewLimitsHaveNothingAndOfferADialog) {
    CLimitData limits;
    EXPECT_EQ(limits.Standards(), nullptr);
    EXPECT_TRUE(limits.HasDialog());
    EXPECT_EQ(limits.Owner(), nullptr);
    limits.SetDescription("ignored");
    EXPECT_EQ(limits.Description(), "");
    auto doc = host::XmlFactory().NewDocument();
    EXPECT_EQ(limits.Save(*doc), nullptr);
    EXPECT_EQ(limits.FindFailedStandards(Reading("SpO2", 50.0), nullptr), nullptr);
}

TEST_F(LimitDataTest, NewStandardsCarryTheDefaultItemsOfTheOwnersTestType) {
    auto spo2 = LimitsOf(100);
    auto standard = spo2->CreateStandard("ISO", "ISO 80601");
    EXPECT_EQ(Keys(*standard), (std::vector<std::string>{"SpO2", "BPM"}));
    EXPECT_EQ(standard->LimitItems()->Item(1)->Expression(0), "X+Y");
    EXPECT_EQ(standard->LimitItems()->Item(2)->Expression(0), "X+Y");
    EXPECT_EQ(standard->LimitItems()->Item(2)->Unit(), "BPM");
    EXPECT_EQ(standard->Name(), "ISO");
    EXPECT_EQ(spo2->Standards()->Count(), 1);

    EXPECT_EQ(Keys(*LimitsOf(200)->CreateStandard("a", "a")),
              (std::vector<std::string>{"LED-R", "LED-IR", "LED-PHOTO"}));
    EXPECT_EQ(Keys(*LimitsOf(300)->CreateStandard("a", "a")),
              (std::vector<std::string>{"PHOTODIODE-R", "PHOTODIODE-IR"}));
    auto pins = LimitsOf(400)->CreateStandard("a", "a");
    EXPECT_EQ(Keys(*pins), (std::vector<std::string>{"PIN1_TO_PIN2"}));
    EXPECT_EQ(pins->LimitItems()->Item(1)->Unit(), "KOhms");
    EXPECT_TRUE(Keys(*LimitsOf(1)->CreateStandard("a", "a")).empty());

    CLimitData ownerless;  // behaves as test type 0
    EXPECT_TRUE(Keys(*ownerless.CreateStandard("a", "a")).empty());
    EXPECT_EQ(ownerless.Standards()->Count(), 1);
}

TEST_F(LimitDataTest, ASecondStandardOfTheSameTextIsTheFirstOne) {
    auto limits = LimitsOf(100);
    auto first = limits->CreateStandard("ISO", "ISO 80601");
    auto again = limits->CreateStandard("Other name", "ISO 80601");
    EXPECT_EQ(again, first);
    EXPECT_EQ(limits->Standards()->Count(), 1);
    auto otherCase = limits->CreateStandard("ISO", "iso 80601");
    EXPECT_NE(otherCase, first);
    EXPECT_EQ(limits->Standards()->Count(), 2);
}

TEST_F(LimitDataTest, TwoStandardsRoundTripAsExpectedResult) {
    auto limits = LimitsOf(100);
    SetBounds(*limits->CreateStandard("ISO", "ISO 80601")->LimitItems()->Item(1), 2, -2);
    SetBounds(*limits->CreateStandard("Shop", "Workshop")->LimitItems()->Item(2), 5, -5);

    auto doc = host::XmlFactory().NewDocument();
    auto element = limits->Save(*doc);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->Name(), "ExpectedResult");
    doc->AppendChild(element);

    auto reread = host::XmlFactory().NewDocument();
    reread->LoadXml(doc->Xml());
    auto loaded = LimitsOf(100);
    loaded->Load(*reread->DocumentElement(), nullptr);
    ASSERT_NE(loaded->Standards(), nullptr);
    ASSERT_EQ(loaded->Standards()->Count(), 2);
    EXPECT_EQ(loaded->Standards()->Item(2)->Text(), "Workshop");
    auto item = ItemOf(*loaded, 1, 1);
    EXPECT_EQ(item->Key(), "SpO2");
    EXPECT_FLOAT_EQ(item->BoundValue(0), 2);
    EXPECT_FLOAT_EQ(item->BoundValue(1), -2);
    EXPECT_FLOAT_EQ(ItemOf(*loaded, 2, 2)->BoundValue(0), 5);
    EXPECT_EQ(ItemOf(*loaded, 2, 1)->Unit(), "%");
    EXPECT_EQ(ItemOf(*loaded, 2, 2)->Unit(), "BPM");
}

TEST_F(LimitDataTest, LoadingTranslatesUnitsIntoTheCurrentLanguage) {
    dir_.Write("languages/German/Pelmo2.lng", "20041=Volt\n20042=kOhm\n");
    auto limits = LimitsOf(200);
    limits->CreateStandard("a", "a");
    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(limits->Save(*doc));

    host::LanguageService().SetLanguage("German");
    auto loaded = LimitsOf(200);
    loaded->Load(*doc->DocumentElement(), nullptr);
    EXPECT_EQ(ItemOf(*loaded, 1, 3)->Unit(), "Volt");

    // Test types without units of their own keep what was saved.
    auto group = LimitsOf(1);
    group->Load(*doc->DocumentElement(), nullptr);
    EXPECT_EQ(ItemOf(*group, 1, 1)->Unit(), "Volts");
    // The photodiode has no unit.
    auto photo = LimitsOf(300);
    photo->Load(*doc->DocumentElement(), nullptr);
    EXPECT_EQ(ItemOf(*photo, 1, 1)->Unit(), "");
}

TEST_F(LimitDataTest, LoadKeepsThePresentStandardsWhenTheDataIsBad) {
    auto limits = LimitsOf(100);
    limits->CreateStandard("ISO", "ISO 80601");
    auto before = limits->Standards();

    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<ExpectedResult><Standard Name='a' Text='a'><Item Key='SpO2'><Bound Index='7'/></Item>"
                 "</Standard></ExpectedResult>");
    limits->Load(*doc->DocumentElement(), nullptr);
    EXPECT_EQ(limits->Standards(), before);
    EXPECT_EQ(limits->Standards()->Count(), 1);

    doc->LoadXml("<ExpectedResult/>");
    limits->Load(*doc->DocumentElement(), nullptr);
    EXPECT_EQ(limits->Standards(), nullptr);
    auto out = host::XmlFactory().NewDocument();
    EXPECT_EQ(limits->Save(*out), nullptr);
}

TEST_F(LimitDataTest, ACloneIsIndependentAndHasNoOwner) {
    auto limits = LimitsOf(100);
    limits->SetHasDialog(false);
    EXPECT_EQ(std::dynamic_pointer_cast<CLimitData>(limits->Clone())->Standards(), nullptr);

    SetBounds(*limits->CreateStandard("ISO", "ISO 80601")->LimitItems()->Item(1), 2, -2);
    auto clone = limits->Clone();
    EXPECT_FALSE(clone->HasDialog());
    EXPECT_EQ(clone->Owner(), nullptr);
    ASSERT_NE(clone->Standards(), nullptr);
    EXPECT_NE(clone->Standards(), limits->Standards());
    SetBounds(*ItemOf(*clone, 1, 1), 9, -9);
    EXPECT_FLOAT_EQ(ItemOf(*limits, 1, 1)->BoundValue(0), 2);
}

TEST_F(LimitDataTest, TheOwnerIsNotKeptAliveByItsLimits) {
    auto limits = LimitsOf(100);
    EXPECT_EQ(limits->Owner(), owner_);
    owner_.reset();
    EXPECT_EQ(limits->Owner(), nullptr);
    EXPECT_EQ(limits->OwnerTestID(), 0);
}

TEST_F(LimitDataTest, PrintingSetsThePrintedStandards) {
    auto limits = LimitsOf(100);
    auto iso = limits->CreateStandard("ISO", "ISO 80601");
    auto shop = limits->CreateStandard("Shop", "Workshop");
    limits->PrintReport(nullptr, {});
    EXPECT_EQ(plugin::PrintedLimitStandards(), (plugin::LimitStandardList{iso, shop}));

    // Limits without standards print no stale columns of the limits before.
    auto none = LimitsOf(200);
    limits->PrintReport(nullptr, {});
    none->PrintReport(nullptr, {});
    EXPECT_EQ(plugin::PrintedLimitStandards(), plugin::LimitStandardList(1));

    limits->PrintReport(nullptr, {});
    CLimitData fresh;
    EXPECT_EQ(plugin::PrintedLimitStandards(), plugin::LimitStandardList(1));
}

TEST_F(LimitDataTest, FailedStandardsComeFromTheHostCheck) {
    auto limits = LimitsOf(200);
    auto standard = limits->CreateStandard("Probe", "Probe");
    SetBounds(*standard->LimitItems()->Item(1), 3.0f, 1.0f);
    EXPECT_EQ(limits->FindFailedStandards(Reading("LED-R", 2.0), nullptr), nullptr);
    auto failed = limits->FindFailedStandards(Reading("LED-R", 3.5), nullptr);
    ASSERT_NE(std::dynamic_pointer_cast<host::CLimitStandardList>(failed), nullptr);

    // A bound that cannot be worked out is no pass.
    standard->LimitItems()->Item(1)->SetExpression(0, "X*Y*Z");
    EXPECT_THROW(limits->FindFailedStandards(Reading("LED-R", 2.0, 1.0), nullptr),
                 host::HostError);
}

TEST_F(LimitDataTest, TheDialogGetsTheLimitsAndTheOwnersTestType) {
    auto limits = LimitsOf(300);
    EXPECT_EQ(limits->CreateDialog(), nullptr);  // no maker installed
    std::shared_ptr<host::ILimitData> shownLimits;
    int32_t shownTestId = -1;
    bool fail = false;
    plugin::SetLimitDialogMaker([&](const std::shared_ptr<host::ILimitData>& l, int32_t testId) {
        if (fail) throw std::runtime_error("no window");
        shownLimits = l;
        shownTestId = testId;
        return std::shared_ptr<host::IDialog>();
    });
    limits->CreateDialog();
    EXPECT_EQ(shownLimits, limits);
    EXPECT_EQ(shownTestId, 300);

    std::make_shared<CLimitData>()->CreateDialog();
    EXPECT_EQ(shownTestId, 0);

    fail = true;
    EXPECT_EQ(limits->CreateDialog(), nullptr);
    ASSERT_EQ(host::ErrorService().Log().size(), 1u);
    EXPECT_EQ(host::ErrorService().Log()[0].reportLocation, "CLimitData");
}

}  // namespace
