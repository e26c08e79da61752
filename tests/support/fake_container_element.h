#pragma once
// A test element or group over the host's base element, standing in for a
// plug-in's own elements: it holds the data objects it is given and hands
// "ResultItem" nodes to its result, as the host's loader expects.

#include <memory>

#include "host/test_element_base.h"

namespace test_support {

class FakeContainerElement : public plat::Object, public host::ITestElement, public host::ITestContainer {
public:
    // A group holds its children; a test has none.
    explicit FakeContainerElement(bool group)
        : base(group ? std::make_shared<host::CTestContainerBase>() : std::make_shared<host::CTestElementBase>()) {}
    host::CTestContainerBase* Box() const { return dynamic_cast<host::CTestContainerBase*>(base.get()); }
    host::TestElementPtr Self() { return std::dynamic_pointer_cast<host::ITestElement>(shared_from_this()); }

    std::string PlugInID() const override { return base->PlugInID(); }
    int32_t TestID() const override { return base->TestID(); }
    int32_t ID() const override { return base->ID(); }
    void SetID(int32_t id) override { base->SetID(id); }
    host::TestElementPtr Parent() const override { return base->Parent(); }
    void SetParent(const host::TestElementPtr& p) override { base->SetParent(p); }
    std::shared_ptr<host::ITestInfo> Info() const override { return base->Info(); }
    std::shared_ptr<host::ITestFilter> Filter() const override { return base->Filter(); }
    std::shared_ptr<host::IResultData> Result() const override { return base->Result(); }
    std::shared_ptr<host::ILimitData> Limits() const override { return base->Limits(); }
    std::shared_ptr<host::IConfigData> Configuration() const override { return base->Configuration(); }
    void Initialize(const std::string& p, int32_t t, int32_t i) override { base->Initialize(p, t, i); }
    host::TestElementPtr Clone() override { return nullptr; }
    void Perform(const std::shared_ptr<host::ITestSetup>&) override {}
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& ctx) override {
        base->Load(node, ctx);
    }
    host::XmlElementPtr Save(host::IXmlDocument& doc, const plat::Variant& option) override {
        return base->Save(doc, option);
    }
    void PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& option) override {
        base->PrintReport(report, option);
    }
    bool QuerySetParent(const host::TestElementPtr&) override { return true; }
    void Terminate() override { base->Terminate(); }
    void UpdateReferences() override {}
    plat::Variant GetMeasurementList() override { return {}; }

    int32_t Count() const override { return Box() ? Box()->Count() : 0; }
    host::TestElementPtr Item(int32_t i) const override { return Box() ? Box()->Item(i) : nullptr; }
    void Add(const host::TestElementPtr& e, const host::TestElementPtr& r, int32_t p) override {
        Box()->Add(e, r, p);
        e->SetParent(Self());
    }
    host::TestElementPtr FindElement(int32_t id) const override { return Box() ? Box()->FindElement(id) : nullptr; }
    void Remove(const host::TestElementPtr& e) override { Box()->Remove(e); }
    std::vector<host::TestElementPtr> NewEnum() const override {
        return Box() ? Box()->NewEnum() : std::vector<host::TestElementPtr>{};
    }

    std::shared_ptr<host::CTestElementBase> base;
};

}  // namespace test_support
