#pragma once
// Fakes of the shell's neighbours (configuration, limits, results, setup
// dialog, test run) installed in the plug-in factory, inside a test sandbox.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/error_service.h"
#include "host/limit_standards.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "plugin/results/measurement_coll.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/printed_limit_standards.h"
#include "tests/support/fake_result.h"
#include "tests/support/sandbox.h"

namespace shell_test {

// The host error a call raises; fails the test when it raises none.
inline host::HostError ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const host::HostError& error) {
        return error;
    }
    ADD_FAILURE() << "no host error";
    return host::HostError("", 0, "", 0);
}

// An element saved, loaded back through the host's element tree (its plug-in
// registered with the host) and saved again.
struct RoundTrip {
    std::string first, second;  // the two saved forms
    host::TestElementPtr loaded;
};
inline RoundTrip SaveLoadSave(const host::TestElementPtr& element) {
    auto first = host::XmlFactory().NewDocument();
    first->AppendChild(element->Save(*first, {}));
    RoundTrip trip;
    trip.first = first->Xml();
    trip.loaded = host::LoadTestElement(*first->DocumentElement(), std::make_shared<host::CLoadContext>());
    auto second = host::XmlFactory().NewDocument();
    second->AppendChild(trip.loaded->Save(*second, {}));
    trip.second = second->Xml();
    return trip;
}

// Stands for the SpO2 simulation configuration: saves one attribute.
class FakeConfig : public plat::Object, public host::IConfigData, public plugin::ITestConfiguration {
public:
    std::string setting = "default";
    std::weak_ptr<host::ITestElement> parent;
    std::shared_ptr<plugin::CPluginSetup> setup;
    int32_t changes = 0;

    void SetParentTest(const host::TestElementPtr& element) override { parent = element; }
    void SetPluginSetup(const std::shared_ptr<plugin::CPluginSetup>& s) override {
        setup = s;
        std::weak_ptr<plat::Object> self = weak_from_this();
        s->ConnectConfigChanged(self, [this] { ++changes; });
        setting = "default";
    }
    bool HasDialog() const override { return true; }
    std::shared_ptr<host::IConfigData> Clone() const override {
        auto copy = std::make_shared<FakeConfig>();
        copy->setting = setting;
        copy->setup = setup;
        return copy;
    }
    std::shared_ptr<host::IDialog> CreateDialog() override { return nullptr; }
    void Load(const host::IXmlElement& element, const plat::Variant&) override {
        setting = element.GetAttribute("Setting");
    }
    host::XmlElementPtr Save(host::IXmlDocument& document) const override {
        auto element = document.CreateElement("PlugInData");
        element->SetAttribute("Setting", setting);
        return element;
    }
    void PrintReport(const std::shared_ptr<host::IReport>&) override {}
};

// The host's standards, recording who their references were pointed at (not
// holding them: the element holds its standards).
class RecordingStandards : public host::CLimitStandards {
public:
    std::vector<const host::ITestElement*> owners;
    void UpdateReferences(const host::TestElementPtr& owner) override { owners.push_back(owner.get()); }
};

// Stands for CLimitData: the host's standards under "ExpectedResult".
class FakeLimits : public plat::Object, public host::ILimitData, public plugin::ITestLimits {
public:
    std::weak_ptr<host::ITestElement> owner;
    bool hasDialog = true;
    std::shared_ptr<host::CLimitStandards> standards = std::make_shared<host::CLimitStandards>();

    void SetOwner(const host::TestElementPtr& element) override { owner = element; }
    void SetHasDialog(bool on) override { hasDialog = on; }
    std::string Description() const override { return {}; }
    void SetDescription(const std::string&) override {}
    bool HasDialog() const override { return hasDialog; }
    std::shared_ptr<host::ILimitStandards> Standards() const override { return standards; }
    host::TestElementPtr Owner() const override { return owner.lock(); }
    std::shared_ptr<host::ILimitData> Clone() const override {
        auto copy = std::make_shared<FakeLimits>();
        copy->hasDialog = hasDialog;
        copy->standards = std::dynamic_pointer_cast<host::CLimitStandards>(standards->Copy());
        return copy;
    }
    std::shared_ptr<host::IDialog> CreateDialog() override { return nullptr; }
    std::shared_ptr<host::ILimitStandard> CreateStandard(const std::string&, const std::string&) override {
        return nullptr;
    }
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) override {
        auto fresh = std::make_shared<host::CLimitStandards>();
        fresh->Load(node, context);
        standards = fresh;
    }
    host::XmlElementPtr Save(host::IXmlDocument& document) const override {
        auto element = standards->Save(document);
        if (element) element->SetName("ExpectedResult");
        return element;
    }
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override {}
    void UpdateLimits(const host::TestElementPtr&) override {}
    plat::ObjectPtr FindFailedStandards(const std::shared_ptr<host::IMeasurement>& measurement,
                                        const std::shared_ptr<host::ILimitStandards>& run) const override {
        return standards->FailedStandards(measurement, run);
    }
};

// Stands for CResultData: status, comment and measurements in "ResultItem".
class FakeResult : public test_support::FakeResult, public plugin::ITestResult {
public:
    int32_t mtiId = 0;
    int32_t initialized = 0;
    std::weak_ptr<host::ITestElement> parent;
    std::shared_ptr<plugin::CMeasurementColl> measurements = std::make_shared<plugin::CMeasurementColl>();

    void InitializeResult(const host::TestElementPtr& p) override {
        parent = p;
        status = 0;
        ++initialized;
        measurements = std::make_shared<plugin::CMeasurementColl>();
    }
    void StoreResult(const std::string&, const std::shared_ptr<host::ITestSetup>&) override {}
    void StoreReadings(const std::vector<std::string>&, const std::shared_ptr<host::ITestSetup>&) override {}
    std::shared_ptr<plugin::CMeasurementColl> Measurements() const override { return measurements; }
    void ClearMeasurements() override {
        if (measurements) measurements->Clear();
    }
    void SetStatus(int32_t s) override { status = s; }
    void SetMTIID(int32_t id) override { mtiId = id; }
    std::shared_ptr<host::IMeasurement> Measurement(const plat::Variant& index) const override {
        return measurements->Item(index);
    }
    int32_t MeasurementCount() const override { return measurements->Count(); }
    int32_t MTIID() const override { return mtiId; }
    void Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context) override {
        status = std::stoi(element.GetAttribute("Status"));
        mtiId = std::stoi(element.GetAttribute("MTIID"));
        if (auto all = element.FindElement("AllMeasurements")) measurements->Load(*all, context);
    }
    host::XmlElementPtr Save(host::IXmlDocument& document) const override {
        auto element = document.CreateElement("ResultItem");
        element->SetAttribute("Status", std::to_string(status));
        element->SetAttribute("MTIID", std::to_string(mtiId));
        element->AppendChild(measurements->Save(document));
        return element;
    }
};

// Stands for CResultTestGroup: the roll-up of the direct children.
class FakeGroupResult : public test_support::FakeResult, public plugin::IGroupResult {
public:
    int32_t updates = 0;
    int32_t printed = 0;
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override { ++printed; }
    void UpdateStatus(const host::TestElementPtr& element, const std::shared_ptr<host::ILimitStandards>&) override {
        ++updates;
        auto container = std::dynamic_pointer_cast<host::ITestContainer>(element);
        bool any = false, allNa = true, failed = false;
        for (const auto& child : container->NewEnum()) {
            auto result = child->Result();
            if (!result) continue;
            const int32_t s = result->Status();
            if (s != 0) any = true;
            if (s != 3) allNa = false;
            if (s == 2 && child->Filter()->Selected()) failed = true;
        }
        status = !any ? 0 : allNa ? 3 : failed ? 2 : 1;
    }
    void Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>&) override {
        status = std::stoi(element.GetAttribute("Status"));
    }
    host::XmlElementPtr Save(host::IXmlDocument& document) const override {
        auto element = document.CreateElement("ResultItem");
        element->SetAttribute("Status", std::to_string(status));
        return element;
    }
};

// Installs the fakes in the factory and puts back its makers afterwards (the
// real setup dialog's among them, which other tests of the binary use).
class ShellTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        savedFactory_ = plugin::Factory();
        plugin::Factory().ResetForTests();
        plugin::Factory().Install(plugin::Part::Configuration, [] { return std::make_shared<FakeConfig>(); });
        plugin::Factory().Install(plugin::Part::Limits, [] {
            plugin::SizePrintedLimitStandards(1);
            return std::make_shared<FakeLimits>();
        });
        plugin::Factory().Install(plugin::Part::TestResult, [] { return std::make_shared<FakeResult>(); });
        plugin::Factory().Install(plugin::Part::GroupResult, [] { return std::make_shared<FakeGroupResult>(); });
        plugin::ResetPrintedLimitStandardsForTests();
    }
    void TearDown() override {
        plugin::Factory() = savedFactory_;
        plugin::ResetPrintedLimitStandardsForTests();
    }

private:
    plugin::PluginFactory savedFactory_;
};

}  // namespace shell_test
