#include <gtest/gtest.h>

#include "host/error_service.h"
#include "host/limit_standards.h"
#include "host/test_element.h"
#include "platform/values/numfmt.h"

namespace {

using host::CLimitItem;
using host::CLimitStandard;
using host::CLimitStandardList;
using host::CLimitStandards;

std::shared_ptr<CLimitItem> MakeItem(const std::string& key, const std::string& expression, float high, float low,
                                     bool highOn = true, bool lowOn = true) {
    auto item = std::make_shared<CLimitItem>();
    item->Initialize(key, "%", "", "");
    item->SetExpression(0, expression);
    item->SetBoundValue(0, high);
    item->SetBoundValue(1, low);
    item->SetBoundEnabled(0, highOn);
    item->SetBoundEnabled(1, lowOn);
    return item;
}

std::shared_ptr<CLimitStandard> MakeStandard(const std::string& name, const std::string& text,
                                             std::vector<std::shared_ptr<CLimitItem>> items) {
    auto s = std::make_shared<CLimitStandard>();
    s->Initialize(name, text, 1);
    for (auto& i : items) s->AddItem(i);
    return s;
}

class FakeMeasurement : public plat::Object, public host::IMeasurement {
public:
    FakeMeasurement(std::string key, plat::Variant value, plat::Variant preset = {})
        : key_(std::move(key)), value_(std::move(value)), preset_(std::move(preset)) {}
    std::string Description() const override { return ""; }
    std::string Key() const override { return key_; }
    std::string LimitKey() const override { return ""; }
    int32_t Status() const override { return 0; }
    std::string Unit() const override { return ""; }
    plat::Variant Value() const override { return value_; }
    plat::Variant PresetValue() const override { return preset_; }
    int32_t ValueType() const override { return 1; }
    std::string ValueFormat() const override { return ""; }
    std::string Flags() const override { return ""; }
    std::string ToolTipText() const override { return ""; }
    void Load(const host::IXmlElement&, const std::shared_ptr<host::ILoadContext>&) override {}
    host::XmlElementPtr Save(host::IXmlDocument&) const override { return nullptr; }
private:
    std::string key_;
    plat::Variant value_, preset_;
};

TEST(LimitItemTest, BoundsFromExpressions) {
    EXPECT_FLOAT_EQ(MakeItem("SpO2", "X+Y", 2, -2)->Bound(98, 0), 100);
    EXPECT_FLOAT_EQ(MakeItem("SpO2", "X+Y", 2, -2)->Bound(98, 1), 96);
    EXPECT_FLOAT_EQ(MakeItem("SpO2", "Y", 99, 90)->Bound(50, 1), 90);
    EXPECT_FLOAT_EQ(MakeItem("SpO2", "", 99, 90)->Bound(50, 0), 99);
    EXPECT_FLOAT_EQ(MakeItem("BPM", "x + (x*y%)", 10, -10)->Bound(60, 0), 66);
    EXPECT_THROW(MakeItem("BPM", "X*Y", 1, 1)->Bound(60, 0), host::HostError);
    EXPECT_THROW(MakeItem("BPM", "", 1, 1)->BoundValue(2), host::HostError);
    auto item = MakeItem("LED-R", "", 5, 1);
    EXPECT_EQ(item->Text(0), "%");
    EXPECT_EQ(item->Text(7), "");
}

TEST(LimitStandardsTest, FailedStandardsByBoundsAndRunSelection) {
    CLimitStandards standards;
    standards.Add(MakeStandard("A", "strict", {MakeItem("LED-R", "", 100, 90)}));
    standards.Add(MakeStandard("B", "loose", {MakeItem("LED-R", "", 150, 0, false, true)}));
    standards.Add(MakeStandard("C", "other", {MakeItem("BPM", "", 1, 0)}));
    auto failed = [&](plat::Variant value, std::shared_ptr<host::ILimitStandards> run = nullptr) {
        auto list = std::dynamic_pointer_cast<CLimitStandardList>(
            standards.FailedStandards(std::make_shared<FakeMeasurement>("LED-R", value), run));
        std::string names;
        if (list)
            for (auto& s : list->standards) names += s->Name();
        return names;
    };
    EXPECT_EQ(failed(100.0), "");  // a value on a bound passes
    EXPECT_EQ(failed(90.0), "");
    EXPECT_EQ(failed(100.5), "A");
    EXPECT_EQ(failed(200.0), "A");  // B's upper bound is off
    EXPECT_EQ(failed(-1.0), "AB");
    EXPECT_EQ(failed(plat::Variant("n/a")), "");
    EXPECT_EQ(failed(plat::Variant()), "");

    auto run = std::make_shared<CLimitStandards>();
    run->Add(MakeStandard("B", "loose", {}));
    EXPECT_EQ(failed(-1.0, run), "B");
}

TEST(LimitStandardsTest, ToleranceFollowsThePresetValue) {
    CLimitStandards standards;
    standards.Add(MakeStandard("S", "", {MakeItem("SpO2", "X+Y", 2, -2)}));
    auto check = [&](double value, double preset) {
        return standards.FailedStandards(std::make_shared<FakeMeasurement>("SpO2", value, preset), nullptr) != nullptr;
    };
    EXPECT_FALSE(check(97, 98));
    EXPECT_FALSE(check(100, 98));
    EXPECT_TRUE(check(95.5, 98));
    EXPECT_TRUE(check(88, 85));
}

TEST(LimitStandardsTest, SaveLoadCopyAndFind) {
    plat::ScopedDecimalSign comma(',');
    CLimitStandards standards;
    auto item = MakeItem("SpO2", "X+Y", 2.5f, -2.5f, true, false);
    standards.Add(MakeStandard("Default", "x & <y>", {item, MakeItem("BPM", "X+Y", 5, -5)}));

    auto doc = host::XmlFactory().NewDocument();
    auto saved = standards.Save(*doc);
    saved->SetName("ExpectedResult");
    doc->AppendChild(saved);
    std::string xml = doc->Xml();
    EXPECT_NE(xml.find("Value=\"2.5\""), std::string::npos) << xml;

    auto reread = host::XmlFactory().NewDocument();
    reread->LoadXml(xml);
    CLimitStandards loaded;
    loaded.Load(*reread->DocumentElement(), nullptr);
    ASSERT_EQ(loaded.Count(), 1);
    auto s = loaded.Item(0, "Default", "x & <y>");
    ASSERT_TRUE(s);
    EXPECT_EQ(loaded.Item(0, "default", "x & <y>"), nullptr);
    EXPECT_EQ(loaded.Item(2), nullptr);
    auto items = s->LimitItems();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Item(1)->Key(), "SpO2");
    EXPECT_EQ(items->Item(1)->Expression(0), "X+Y");
    EXPECT_FLOAT_EQ(items->Item(1)->BoundValue(0), 2.5f);
    EXPECT_TRUE(items->Item(1)->BoundEnabled(0));
    EXPECT_FALSE(items->Item(1)->BoundEnabled(1));
    EXPECT_EQ(reread->Xml(), xml);

    auto copy = standards.Copy();
    item->SetBoundValue(0, 9);
    EXPECT_FLOAT_EQ(copy->Item(1)->LimitItems()->Item(1)->BoundValue(0), 2.5f);

    reread->LoadXml("<ExpectedResult><Standard Name='a'><Bogus/></Standard></ExpectedResult>");
    EXPECT_THROW(loaded.Load(*reread->DocumentElement(), nullptr), host::HostError);
    EXPECT_EQ(loaded.Count(), 1);  // a failed load keeps what was there
    reread->LoadXml("<ExpectedResult>\n</ExpectedResult>");
    loaded.Load(*reread->DocumentElement(), nullptr);
    EXPECT_EQ(loaded.Count(), 0);
}

TEST(LimitStandardsTest, KindBeyondWholeNumbersIsRefused) {
    auto doc = host::XmlFactory().NewDocument();
    CLimitStandards loaded;
    doc->LoadXml("<ExpectedResult><Standard Name='a' Kind='2,9'/></ExpectedResult>");
    loaded.Load(*doc->DocumentElement(), nullptr);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(std::dynamic_pointer_cast<host::CLimitStandard>(loaded.Item(1))->Kind(), 2);
    for (const char* kind : {"1E30", "-3E9", "1E999"}) {
        doc->LoadXml(std::string("<ExpectedResult><Standard Name='b' Kind='") + kind + "'/></ExpectedResult>");
        try {
            loaded.Load(*doc->DocumentElement(), nullptr);
            ADD_FAILURE() << "Kind " << kind << " was taken";
        } catch (const host::HostError& e) {
            EXPECT_EQ(e.Number(), host::errors::LimitData) << kind;
        }
        EXPECT_EQ(loaded.Item(1)->Name(), "a") << kind;
    }
}

}  // namespace
