#include <gtest/gtest.h>

#include "host/error_service.h"
#include "host/test_element_base.h"
#include "host/ui_interfaces.h"
#include "tests/support/fake_container_element.h"
#include "tests/support/fake_plug_in.h"
#include "tests/support/fake_result.h"

namespace {

using host::CTestContainerBase;
using host::CTestElementBase;
using host::TestElementPtr;

// A result that remembers the "ResultItem" it was given and writes one back.
class FakeResult : public test_support::FakeResult {
public:
    std::string Comment() const override { return comment; }
    void SetComment(const std::string& c) override { comment = c; }
    void Load(const host::IXmlElement& e, const std::shared_ptr<host::ILoadContext>&) override {
        status = host::XmlFactory().ReadStatusElement(*e.FindElement("Status"));
    }
    host::XmlElementPtr Save(host::IXmlDocument& doc) const override {
        auto e = doc.CreateElement("ResultItem");
        e->AppendChild(host::XmlFactory().CreateStatusElement(doc, status));
        return e;
    }
    std::string comment;
};

class FakeConfig : public plat::Object, public host::IConfigData {
public:
    bool HasDialog() const override { return false; }
    std::shared_ptr<host::IConfigData> Clone() const override {
        auto c = std::make_shared<FakeConfig>();
        c->value = value;
        return c;
    }
    std::shared_ptr<host::IDialog> CreateDialog() override { return nullptr; }
    void Load(const host::IXmlElement& e, const plat::Variant&) override { value = e.GetAttribute("Value"); }
    host::XmlElementPtr Save(host::IXmlDocument& doc) const override {
        auto e = doc.CreateElement("PlugInData");
        e->SetAttribute("Value", value);
        return e;
    }
    void PrintReport(const std::shared_ptr<host::IReport>&) override {}
    std::string value;
};

// A plug-in element over the host base, as the plug-in's elements wrap it.
class FakeElement : public test_support::FakeContainerElement {
public:
    using FakeContainerElement::FakeContainerElement;

    TestElementPtr Clone() override {
        auto copy = std::make_shared<FakeElement>(Box() != nullptr);
        copy->base = base->Copy();
        for (const auto& child : NewEnum()) copy->Add(child->Clone(), nullptr, 1);
        return copy;
    }
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& ctx) override {
        if (node.Name() == "ResultItem") base->SetResult(std::make_shared<FakeResult>());
        base->Load(node, ctx);
        for (const auto& child : NewEnum()) child->SetParent(Self());
    }
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override {}
    void UpdateReferences() override { ++updates; if (Box()) Box()->UpdateReferences(); }

    int updates = 0;
};

std::shared_ptr<FakeElement> MakeElement(int32_t testId, int32_t id) {
    auto e = std::make_shared<FakeElement>(testId == 1);
    e->Initialize("Fake", testId, id);
    return e;
}

// Makes elements by test ID, as the plug-in's CreateTest does from its template.
class FakePlugIn : public test_support::FakePlugIn {
public:
    FakePlugIn() : test_support::FakePlugIn("Fake") {}
    TestElementPtr CreateTest(int32_t testId) override {
        if (testId == 999) return nullptr;
        auto e = MakeElement(testId, testId);
        if (testId == 100) e->base->SetConfiguration(std::make_shared<FakeConfig>());
        if (testId == 1) e->Add(MakeElement(200, 200), nullptr, 1);  // a template child
        return e;
    }
};

TEST(TestContainerBaseTest, ChildrenByPositionAndId) {
    auto group = MakeElement(1, 1);
    auto a = MakeElement(100, 10), b = MakeElement(200, 20), c = MakeElement(300, 30);
    auto inner = MakeElement(1, 5);
    auto deep = MakeElement(400, 40);
    group->Add(a, nullptr, 1);
    group->Add(c, nullptr, 1);
    group->Add(b, c, 2);       // before c
    group->Add(inner, a, 3);   // after a
    inner->Add(deep, nullptr, 1);
    ASSERT_EQ(group->Count(), 4);
    EXPECT_EQ(group->Item(1), a);
    EXPECT_EQ(group->Item(2), inner);
    EXPECT_EQ(group->Item(3), b);
    EXPECT_EQ(group->Item(4), c);
    EXPECT_EQ(group->Item(0), nullptr);
    EXPECT_EQ(group->Item(5), nullptr);
    EXPECT_EQ(group->FindElement(40), deep);
    EXPECT_EQ(group->FindElement(30), c);
    EXPECT_EQ(group->FindElement(77), nullptr);
    EXPECT_EQ(deep->Parent(), inner);

    group->UpdateReferences();
    EXPECT_EQ(deep->updates, 1);

    auto expectNumber = [](auto&& call, host::ErrorNumber number) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const host::HostError& e) {
            EXPECT_EQ(e.Number(), number);
        }
    };
    expectNumber([&] { group->Add(a, nullptr, 1); }, host::errors::AlreadyAChild);
    expectNumber([&] { group->Add(nullptr, nullptr, 1); }, host::errors::NoElement);
    group->Remove(b);
    EXPECT_EQ(group->Count(), 3);
    expectNumber([&] { group->Remove(b); }, host::errors::NotAChild);
}

TEST(TestElementBaseTest, CopyTakesOwnDataButNoResultOrChildren) {
    auto group = MakeElement(1, 1);
    group->Info()->SetName("Group");
    group->Info()->SetTypeAndParameter("type", "param");
    group->Filter()->SetSelected(false);
    auto config = std::make_shared<FakeConfig>();
    config->value = "v";
    group->base->SetConfiguration(config);
    group->base->SetResult(std::make_shared<FakeResult>());
    group->Add(MakeElement(100, 100), nullptr, 1);

    auto copy = group->base->Copy();
    EXPECT_EQ(copy->TestID(), 1);
    EXPECT_EQ(copy->Info()->Name(), "Group");
    EXPECT_EQ(copy->Info()->Parameter(), "param");
    EXPECT_FALSE(copy->Filter()->Selected());
    ASSERT_TRUE(copy->Configuration());
    EXPECT_NE(copy->Configuration(), config);  // a clone, not shared
    EXPECT_EQ(std::dynamic_pointer_cast<FakeConfig>(copy->Configuration())->value, "v");
    EXPECT_EQ(copy->Result(), nullptr);
    ASSERT_TRUE(std::dynamic_pointer_cast<CTestContainerBase>(copy));
    EXPECT_EQ(std::dynamic_pointer_cast<CTestContainerBase>(copy)->Count(), 0);
    copy->Info()->SetName("Changed");
    EXPECT_EQ(group->Info()->Name(), "Group");
}

TEST(TestElementBaseTest, SavedTreeLoadsBackThroughThePlugIn) {
    host::RegisterPlugIn(std::make_shared<FakePlugIn>());
    auto plugIn = std::make_shared<FakePlugIn>();
    auto group = std::dynamic_pointer_cast<FakeElement>(plugIn->CreateTest(1));
    group->SetID(7);
    group->Info()->SetName("Probe & SpO2");
    auto spo2 = std::dynamic_pointer_cast<FakeElement>(plugIn->CreateTest(100));
    spo2->SetID(8);
    std::dynamic_pointer_cast<FakeConfig>(spo2->Configuration())->value = "make 12";
    auto result = std::make_shared<FakeResult>();
    result->status = 2;
    spo2->base->SetResult(result);
    spo2->Filter()->SetSelected(false);
    group->Add(spo2, nullptr, 1);

    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(group->Save(*doc, plat::Variant()));
    auto reread = host::XmlFactory().NewDocument();
    reread->LoadXml(doc->Xml());

    auto loaded = std::dynamic_pointer_cast<FakeElement>(host::LoadTestElement(*reread->DocumentElement(), nullptr));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->ID(), 7);
    EXPECT_EQ(loaded->Info()->Name(), "Probe & SpO2");
    ASSERT_EQ(loaded->Count(), 2);  // the saved children replace the template's
    EXPECT_EQ(loaded->Item(1)->TestID(), 200);
    auto test = std::dynamic_pointer_cast<FakeElement>(loaded->Item(2));
    EXPECT_EQ(test->ID(), 8);
    EXPECT_EQ(test->Parent(), loaded);
    EXPECT_FALSE(test->Filter()->Selected());
    EXPECT_EQ(std::dynamic_pointer_cast<FakeConfig>(test->Configuration())->value, "make 12");
    ASSERT_TRUE(test->Result());
    EXPECT_EQ(test->Result()->Status(), 2);
    EXPECT_EQ(loaded->Result(), nullptr);
    host::UnregisterPlugIn("Fake");
}

TEST(TestElementBaseTest, UnknownSavedDataIsRefused) {
    auto doc = host::XmlFactory().NewDocument();
    auto expectNumber = [&](const std::string& xml, host::ErrorNumber number) {
        doc->LoadXml(xml);
        try {
            host::LoadTestElement(*doc->DocumentElement(), nullptr);
            ADD_FAILURE() << xml;
        } catch (const host::HostError& e) {
            EXPECT_EQ(e.Number(), number) << xml;
        }
    };
    expectNumber("<Other/>", host::errors::ElementUnknown);
    expectNumber("<TestElement PlugInID=\"Nobody\" TestID=\"1\" ID=\"1\"/>", host::errors::PlugInUnknown);
    host::RegisterPlugIn(std::make_shared<FakePlugIn>());
    expectNumber("<TestElement PlugInID=\"Fake\" TestID=\"abc\" ID=\"1\"/>", host::errors::ElementUnknown);
    expectNumber("<TestElement PlugInID=\"Fake\" TestID=\"999\" ID=\"1\"/>", host::errors::ElementNotCreated);
    host::UnregisterPlugIn("Fake");

    CTestElementBase base;
    doc->LoadXml("<Strange/>");
    EXPECT_THROW(base.Load(*doc->DocumentElement(), nullptr), host::HostError);
}

}  // namespace
