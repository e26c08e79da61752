#pragma once
// A host test element for tests of windows and controls that only read an
// element: its IDs, name, result, limits and configuration are plain fields.
// FakeLimits holds the limit standards and answers nothing else.

#include <memory>
#include <string>

#include "host/limit_standards.h"
#include "host/test_element.h"

namespace test_support {

class FakeLimits : public plat::Object, public host::ILimitData {
public:
    std::shared_ptr<host::ILimitStandards> standards = std::make_shared<host::CLimitStandards>();
    std::string Description() const override { return {}; }
    void SetDescription(const std::string&) override {}
    bool HasDialog() const override { return false; }
    std::shared_ptr<host::ILimitStandards> Standards() const override { return standards; }
    host::TestElementPtr Owner() const override { return nullptr; }
    std::shared_ptr<host::ILimitData> Clone() const override { return nullptr; }
    std::shared_ptr<host::IDialog> CreateDialog() override { return nullptr; }
    std::shared_ptr<host::ILimitStandard> CreateStandard(const std::string&, const std::string&) override {
        return nullptr;
    }
    void Load(const host::IXmlElement&, const std::shared_ptr<host::ILoadContext>&) override {}
    host::XmlElementPtr Save(host::IXmlDocument&) const override { return nullptr; }
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override {}
    void UpdateLimits(const host::TestElementPtr&) override {}
    plat::ObjectPtr FindFailedStandards(const std::shared_ptr<host::IMeasurement>&,
                                        const std::shared_ptr<host::ILimitStandards>&) const override {
        return nullptr;
    }
};

class FakeElement : public plat::Object, public host::ITestElement {
public:
    int32_t testId = 100;
    std::string plugInId = "Pelmo2";
    std::shared_ptr<host::IResultData> result;
    std::shared_ptr<host::ILimitData> limits;
    std::shared_ptr<host::IConfigData> config;

    std::string PlugInID() const override { return plugInId; }
    int32_t TestID() const override { return testId; }
    int32_t ID() const override { return 7; }
    void SetID(int32_t) override {}
    host::TestElementPtr Parent() const override { return nullptr; }
    void SetParent(const host::TestElementPtr&) override {}
    std::shared_ptr<host::ITestInfo> Info() const override { return nullptr; }
    std::shared_ptr<host::ITestFilter> Filter() const override { return nullptr; }
    std::shared_ptr<host::IResultData> Result() const override { return result; }
    std::shared_ptr<host::ILimitData> Limits() const override { return limits; }
    std::shared_ptr<host::IConfigData> Configuration() const override { return config; }
    void Initialize(const std::string&, int32_t, int32_t) override {}
    host::TestElementPtr Clone() override { return nullptr; }
    void Perform(const std::shared_ptr<host::ITestSetup>&) override {}
    void Load(const host::IXmlElement&, const std::shared_ptr<host::ILoadContext>&) override {}
    host::XmlElementPtr Save(host::IXmlDocument&, const plat::Variant&) override { return nullptr; }
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override {}
    bool QuerySetParent(const host::TestElementPtr&) override { return true; }
    void Terminate() override {}
    void UpdateReferences() override {}
    plat::Variant GetMeasurementList() override { return {}; }
};

// Standards of the given (name, text) pairs, without items.
inline std::shared_ptr<host::CLimitStandards> MakeStandards(
    std::initializer_list<std::pair<std::string, std::string>> list) {
    auto standards = std::make_shared<host::CLimitStandards>();
    for (const auto& [name, text] : list) {
        auto standard = std::make_shared<host::CLimitStandard>();
        standard->Initialize(name, text, 1);
        standards->Add(standard);
    }
    return standards;
}

}  // namespace test_support
